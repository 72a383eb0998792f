// The last ten minutes of the sky, for plots: the C/N0 of each satellite (and whether
// the fix used it), the number of satellites used and the HDOP. Fed one sample a
// second with its time; the samples sit in a ring, so memory stays fixed however
// long the run. A satellite not seen for ten minutes leaves the history.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "nmea/sky_picture.h"

namespace orlimo {

struct TSignalPoint {
  double time = 0;       // seconds, the caller's clock
  int cn0 = 0;           // dB-Hz; 0 in view but not tracked
  bool used = false;     // in the fix
};

// One satellite's samples, oldest first; a sample it was missing from has no point.
struct TSignalTrace {
  TSatSystem system = TSatSystem::Unknown;
  int number = 0;        // within its system
  std::string name;      // as people read it: G05, R07, E11
  std::vector<TSignalPoint> points;
};

struct TSolutionPoint {
  double time = 0;
  int used = 0;                 // satellites used in the fix
  std::optional<double> hdop;   // none without a fix
};

class TSignalHistory {
 public:
  static constexpr double kWindowSeconds = 600;
  static constexpr std::size_t kSamples = 600;       // ten minutes at one a second
  static constexpr std::size_t kMaxSatellites = 160; // every system's, with room

  // One sample: the satellites in view (TSkyPicture::Satellites()), how many the fix
  // used, and the HDOP. A time before the last sample's (a new clock) starts afresh.
  void Add(double time, std::span<const TSkySat> sats, int used, std::optional<double> hdop);

  // Every satellite with a point in the last ten minutes, by system then number.
  std::vector<TSignalTrace> Satellites() const;
  // The satellites used and the HDOP of each sample of the last ten minutes, oldest first.
  std::vector<TSolutionPoint> Solution() const;
  void Reset();

 private:
  struct TEntry {
    std::int8_t cn0 = -1;  // -1: not in that sample
    bool used = false;
  };
  struct TSatRing {
    TSatSystem system = TSatSystem::Unknown;
    std::int16_t number = 0;
    double lastSeen = 0;
    std::array<TEntry, kSamples> entries{};  // by sample slot
  };
  struct TSample {
    double time = 0;
    int used = 0;
    std::optional<double> hdop;
  };

  // Slots of the samples within the window, oldest first.
  std::vector<std::size_t> WindowSlots() const;

  std::array<TSample, kSamples> samples_{};
  std::size_t next_ = 0;   // the slot the next sample takes
  std::size_t count_ = 0;
  std::vector<TSatRing> sats_;
};

}  // namespace orlimo
