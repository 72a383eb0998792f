#include "app/views/speed_math.h"

#include <cmath>
#include <limits>

namespace orlimo {

namespace {

// Rounded needle angle to a heading; the scale's end holds anything above it.
TNeedlePosition NeedleAt(double angle) {
  const double a = RoundHalfEven(angle);
  if (a > kScaleEndHeading) return {kScaleStopHeading, true};
  return {static_cast<int>(a), false};
}

double SpeedOrZero(double knots) { return knots > 0 ? knots : 0.0; }  // also catches NaN

}  // namespace

double RoundHalfEven(double x) {
  const double r = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5) return 2.0 * std::round(x / 2.0);
  return r;
}

std::uint32_t SpeedCounterValue(double knots, double factor) {
  const double v = RoundHalfEven(SpeedOrZero(knots) * 10 * factor);
  if (!(v > 0)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
    return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(v);
}

TNeedlePosition SpeedNeedle(double knots, double factor, int fullScale) {
  if (fullScale <= 0) return {};
  return NeedleAt(SpeedOrZero(knots) * factor * 90 / fullScale + kScaleZeroHeading);
}

TNeedlePosition SliderNeedle(int position) { return NeedleAt(position * 90.0 / 60 + kScaleZeroHeading); }

int CourseHeading(double course) {
  if (!std::isfinite(course)) return 0;
  // Whole turns do not change the heading; taking them off keeps the value in
  // range of an int. fmod is exact, and 360 is even, so the rounding is unchanged.
  if (std::fabs(course) >= 360.0 * 1000) course = std::fmod(course, 360.0);
  return static_cast<int>(RoundHalfEven(course));
}

}  // namespace orlimo
