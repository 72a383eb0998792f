// The receiver's world as a pure function of time: where it is, where the satellites
// are and how well it hears them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_options.h"

namespace orlimo {

// The geoid's height above the WGS-84 ellipsoid where the receiver is: GGA's
// separation field, and what binary messages add to the altitude for the ellipsoid.
inline constexpr double kSimGeoidSeparation = 19.6;
inline constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;

struct SimSatellite {
  int prn = 0;
  int elevation = 0;  // degrees
  int azimuth = 0;    // degrees
  int cn0 = -1;       // dB-Hz; -1 when not tracked (empty field)
  bool used = false;  // in the fix
};

struct SimUtc {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0;
  double seconds = 0;
};

struct SimSnapshot {
  SimUtc utc;
  bool fix = false;
  double latitude = 0, longitude = 0, altitude = 0;
  double speedKnots = 0, courseDeg = 0;
  double hdop = 0, vdop = 0, pdop = 0;
  std::vector<SimSatellite> satellites;  // at most 12
  int UsedCount() const;
};

class SimWorld {
 public:
  // `utcStartSeconds`: UTC at t = 0 as seconds since 1970.
  SimWorld(const SimScenario& scenario, std::int64_t utcStartSeconds);

  // The world `t` seconds after start; `fix` says whether the receiver has one.
  SimSnapshot At(double t, bool fix) const;

 private:
  SimScenario scenario_;
  std::int64_t utcStart_;
};

// UTC of a time in seconds since 1970, rounded to the millisecond.
SimUtc UtcFromSeconds(double secondsSince1970);

}  // namespace orlimo
