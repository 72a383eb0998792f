// GPS time (week and time of week) of the scenario's UTC, for the binary messages
// that carry both.
#pragma once

#include <cstdint>

#include "sim/scenario.h"

namespace orlimo {

// GPS time has run this many seconds ahead of UTC since the start of 2017; the
// simulated receiver knows no earlier table.
inline constexpr int kSimLeapSeconds = 18;

struct SimGpsTime {
  std::uint32_t week = 0;        // full weeks since 1980-01-06, not rolled over at 1024
  std::uint32_t towMs = 0;       // milliseconds into the week
};

SimGpsTime GpsTimeOf(const SimUtc& utc);

}  // namespace orlimo
