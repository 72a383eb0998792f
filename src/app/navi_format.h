// The texts of the navigation read-outs, computed from the decoder's records.
// Kept apart from the widgets so every rule can be checked without painting.
// Texts are 8-bit: the degree sign is the single byte B0.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/views/speed_math.h"

namespace orlimo {

class TqvNMEA;

// The unit switch as the read-outs need it: item 0 kilometres, 1 miles; the
// factor from knots and the caption of the speed unit. A value read from the
// speed instrument at each refresh, which is where the unit is kept.
struct TUnitSelection {
  int ItemIndex = 0;
  double SpeedFactor = kKmSpeedFactor;
  std::string SpeedCaption = "Km/H";

  static TUnitSelection Km() { return {0, kKmSpeedFactor, "Km/H"}; }
  static TUnitSelection Mile() { return {1, kMileSpeedFactor, "Mile/H"}; }
};

enum TNaviLabel : int {
  nlLat, nlLon, nlAlt, nlFix, nlSOG, nlCOG, nlSVCNT, nlGPSTime, nlLocalTime
};
inline constexpr int kNaviLabelCount = 9;

struct TNaviTexts {
  bool Clear = false;  // no valid fix: every read-out empty
  // A label whose entry is empty keeps its text.
  std::array<std::optional<std::string>, kNaviLabelCount> Text;
  // The values behind the altitude and speed texts, when those were written, so
  // that a later change of unit can write them again.
  std::optional<double> AltitudeMetres;
  std::optional<double> SpeedKnots;
};

// lbAlt and lbSOG in a unit: "78.3 m " or "256.9 ft ", "41.0 Km/H ". A value that
// no receiver sends (see app/views/readings.h) gives the empty text of no value.
std::string AltitudeText(double metres, const TUnitSelection& unit);
std::string SpeedText(double knots, const TUnitSelection& unit);

// One refresh of the panel. Positions, course and times that no receiver sends
// are written as empty texts. `utcOffsetSeconds` is the local zone's offset from UTC
// (east positive) at the moment of the refresh.
TNaviTexts ComputeNaviTexts(const TqvNMEA& nmea, const TUnitSelection& unit, int utcOffsetSeconds);

// The offset of the system's time zone from UTC right now, in seconds.
int CurrentUtcOffsetSeconds();

}  // namespace orlimo
