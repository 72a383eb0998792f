// SiRF binary messages of one output cycle, built from the scenario (big-endian,
// offsets from the message ID as frames/sirf_records.h draws them):
//   MID 2   measured navigation data (41-byte payload): ECEF position and velocity
//   MID 9   CPU throughput (9 bytes; its frame starts A0 A2 00 09 09)
//   MID 4   measured tracker data (188 bytes): twelve channels
//   MID 41  geodetic navigation data (91 bytes): UTC, latitude, longitude, both
//           altitudes, speed, course, satellites used and HDOP
// Times are GPS times (sim/gps_time.h). Without a fix the positions are zero.
#pragma once

#include <string>
#include <vector>

#include "sim/scenario.h"

namespace orlimo {

std::string SiRFMeasuredNavigation(const SimSnapshot& s);
std::string SiRFMeasuredTracker(const SimSnapshot& s);
std::string SiRFThroughput(double t);
std::string SiRFGeodeticNavigation(const SimSnapshot& s);

// Whole frames, in sending order; `t` is the receiver's clock.
std::vector<std::string> SiRFBinaryCycle(const SimSnapshot& s, double t);

}  // namespace orlimo
