// Speed and course to instrument positions: the counter value, the needle
// heading on the 270-degree speed dial and the course pointer heading.
// Rounding is to the nearest integer with halves to even.
#pragma once

#include <cstdint>

namespace orlimo {

// Knots to the shown unit.
inline constexpr double kKmSpeedFactor = 1.852;
inline constexpr double kMileSpeedFactor = 1.15151515;
// The dial spans three times this: 0..360 km/h or 0..240 mile/h.
inline constexpr int kKmFullScale = 120;
inline constexpr int kMileFullScale = 80;
// Needle headings: the scale's zero, its end, and the end as drawn.
inline constexpr int kScaleZeroHeading = 225;
inline constexpr int kScaleEndHeading = 495;
inline constexpr int kScaleStopHeading = 135;

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4), as a double.
double RoundHalfEven(double x);

struct TNeedlePosition {
  int heading = kScaleZeroHeading;
  bool overRange = false;  // beyond the scale end: held at its end
};

// Counter value in tenths of the unit. Speeds that are negative or not a
// number read as 0; values past the counter's 32 bits are held at its top.
std::uint32_t SpeedCounterValue(double knots, double factor);
// Needle for a speed, with `fullScale` 120 (km/h) or 80 (mile/h).
TNeedlePosition SpeedNeedle(double knots, double factor, int fullScale);
// Needle for the test slider at `position` (0..360): 1.5 degrees per step.
TNeedlePosition SliderNeedle(int position);
// Course pointer heading; a value that is not a number points north.
int CourseHeading(double course);

}  // namespace orlimo
