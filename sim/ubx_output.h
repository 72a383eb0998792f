// UBX navigation messages of one output cycle, built from the scenario: what a u-blox
// receiver set to UBX output only sends each solution (little-endian, offsets as
// frames/ubx_records.h and frames/ubx_decode.h draw them):
//   NAV-STATUS 01 03  (16 bytes)  fix, flags, time to first fix, time since start
//   NAV-DOP    01 04  (18 bytes)  geometric, position, time, vertical, horizontal,
//                                 north and east DOP; 99.99 without a fix
//   NAV-PVT    01 07  (92 bytes)  UTC, fix, satellites used, latitude, longitude,
//                                 both heights, velocity, speed, heading of motion
//   NAV-SAT    01 35  (8 + 12n)   every satellite in view: GPS, number, C/N0,
//                                 elevation, azimuth, used
// All carry the same GPS time of week (sim/gps_time.h). Without a fix the position
// and motion are zero and the accuracies the largest the fields hold.
#pragma once

#include <string>
#include <vector>

#include "sim/scenario.h"

namespace orlimo {

// Where the receiver's run stands: seconds since power-on or the last restart, and
// the time it took to its first fix since then (0 while it has none).
struct SimUbxRun {
  double sinceStart = 0;
  double timeToFirstFix = 0;
};

std::string UbxNavStatus(const SimSnapshot& s, const SimUbxRun& run);
std::string UbxNavDop(const SimSnapshot& s);
std::string UbxNavPvt(const SimSnapshot& s);
std::string UbxNavSat(const SimSnapshot& s);

// Whole frames, in the order a receiver sends them (by message ID).
std::vector<std::string> UbxNavCycle(const SimSnapshot& s, const SimUbxRun& run);

}  // namespace orlimo
