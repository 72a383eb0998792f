#include "sim/gps_time.h"

#include <cmath>

namespace orlimo {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr std::int64_t kMsPerWeek = 7 * 86400 * 1000LL;

}  // namespace

SimGpsTime GpsTimeOf(const SimUtc& utc) {
  const std::int64_t days = DaysFromCivil(utc.year, utc.month, utc.day) - DaysFromCivil(1980, 1, 6);
  const std::int64_t ms = days * 86400000LL + (utc.hour * 3600LL + utc.minute * 60LL + kSimLeapSeconds) * 1000LL +
                          std::llround(utc.seconds * 1000.0);
  SimGpsTime t;
  if (ms <= 0) return t;  // before the GPS epoch: week 0, the week's start
  t.week = static_cast<std::uint32_t>(ms / kMsPerWeek);
  t.towMs = static_cast<std::uint32_t>(ms % kMsPerWeek);
  return t;
}

}  // namespace orlimo
