// SiRF binary messages of one output cycle, built from the scenario:
//   MID 2  measured navigation data (41-byte payload)
//   MID 4  measured tracker data (188 bytes)
//   MID 9  CPU throughput (9 bytes; its frame starts A0 A2 00 09 09)
#pragma once

#include <string>
#include <vector>

#include "sim/scenario.h"

namespace orlimo {

std::string SiRFMeasuredNavigation(const SimSnapshot& s, double t);
std::string SiRFMeasuredTracker(const SimSnapshot& s, double t);
std::string SiRFThroughput(double t);

// Whole frames, in sending order.
std::vector<std::string> SiRFBinaryCycle(const SimSnapshot& s, double t);

}  // namespace orlimo
