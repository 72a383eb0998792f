// Received numbers on their way to a read-out, a counter, a needle or a pixel.
// The decoder keeps what the receiver sent, whatever it is; the views show only
// what a receiver can mean. A value outside the range of its kind (a speed of
// 1e308 knots, the 61st second of a minute) is shown as no value, and a double
// becomes an int only after its range is checked: the conversion of a value the
// int cannot hold is undefined.
#pragma once

#include <cmath>
#include <optional>

namespace orlimo {

// `v` truncated toward zero, when that lies in [lo, hi]; nothing otherwise,
// nor for NaN or an infinity.
inline std::optional<int> CheckedInt(double v, int lo, int hi) {
  const double t = std::trunc(v);
  if (!(t >= lo && t <= hi)) return std::nullopt;
  return static_cast<int>(t);
}

// `v` when it lies in [lo, hi]; nothing otherwise, nor for NaN.
inline std::optional<double> InRange(double v, double lo, double hi) {
  if (!(v >= lo && v <= hi)) return std::nullopt;
  return v;
}

// What receivers report: no speed beyond that of an orbit, no course outside
// the circle, no altitude below the deepest sea floor or above the GPS orbits.
inline constexpr double kMaxSpeedKnots = 20000;
inline constexpr double kMinAltitudeMetres = -11000;
inline constexpr double kMaxAltitudeMetres = 20200e3;

inline std::optional<double> SpeedReading(double knots) { return InRange(knots, 0, kMaxSpeedKnots); }
inline std::optional<double> CourseReading(double degrees) { return InRange(degrees, 0, 360); }
inline std::optional<double> AltitudeReading(double metres) {
  return InRange(metres, kMinAltitudeMetres, kMaxAltitudeMetres);
}

}  // namespace orlimo
