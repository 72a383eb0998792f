#include "sim/sirf_binary_output.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "frames/sirf_frame.h"

namespace orlimo {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Put8(std::string& p, unsigned v) { p.push_back(static_cast<char>(v & 0xFF)); }
void Put16(std::string& p, unsigned v) {
  Put8(p, v >> 8);
  Put8(p, v);
}
void Put32(std::string& p, std::uint32_t v) {
  Put16(p, v >> 16);
  Put16(p, v & 0xFFFF);
}

// GPS week and time of week (1/100 s) for a UTC snapshot, leap seconds ignored.
void WeekAndTow(const SimUtc& u, unsigned& week, std::uint32_t& tow100) {
  // Days from 1980-01-06 (GPS epoch) by counting from a civil date.
  auto days = [](int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
  };
  const long gpsDays = days(u.year, u.month, u.day) - days(1980, 1, 6);
  week = static_cast<unsigned>(std::max(0L, gpsDays / 7));
  const double tow = static_cast<double>(std::max(0L, gpsDays % 7)) * 86400.0 + u.hour * 3600.0 +
                     u.minute * 60.0 + u.seconds;
  tow100 = static_cast<std::uint32_t>(std::llround(tow * 100.0));
}

}  // namespace

std::string SiRFMeasuredNavigation(const SimSnapshot& s, double /*t*/) {
  // WGS84 ECEF of the position.
  const double a = 6378137.0, e2 = 6.69437999014e-3;
  const double lat = s.latitude * kPi / 180.0, lon = s.longitude * kPi / 180.0;
  const double n = a / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
  const double x = (n + s.altitude) * std::cos(lat) * std::cos(lon);
  const double y = (n + s.altitude) * std::cos(lat) * std::sin(lon);
  const double z = (n * (1 - e2) + s.altitude) * std::sin(lat);
  std::string p;
  Put8(p, 0x02);
  Put32(p, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(x))));
  Put32(p, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(y))));
  Put32(p, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(z))));
  Put16(p, 0);
  Put16(p, 0);
  Put16(p, 0);
  Put8(p, s.fix ? 0x04 : 0x00);  // mode 1: 3-D fix or none
  Put8(p, static_cast<unsigned>(std::lround(s.hdop * 5)));
  Put8(p, 0);
  unsigned week = 0;
  std::uint32_t tow = 0;
  WeekAndTow(s.utc, week, tow);
  Put16(p, week);
  Put32(p, tow);
  std::vector<int> used;
  for (const SimSatellite& sat : s.satellites)
    if (sat.used) used.push_back(sat.prn);
  Put8(p, static_cast<unsigned>(used.size()));
  for (std::size_t i = 0; i < 12; ++i) Put8(p, i < used.size() ? static_cast<unsigned>(used[i]) : 0);
  return p;
}

std::string SiRFMeasuredTracker(const SimSnapshot& s, double /*t*/) {
  std::string p;
  Put8(p, 0x04);
  unsigned week = 0;
  std::uint32_t tow = 0;
  WeekAndTow(s.utc, week, tow);
  Put16(p, week);
  Put32(p, tow);
  Put8(p, 12);
  for (std::size_t i = 0; i < 12; ++i) {
    if (i < s.satellites.size()) {
      const SimSatellite& sat = s.satellites[i];
      Put8(p, static_cast<unsigned>(sat.prn));
      Put8(p, static_cast<unsigned>(sat.azimuth * 2 / 3));
      Put8(p, static_cast<unsigned>(sat.elevation * 2));
      Put16(p, sat.cn0 >= 0 ? 0xBF : 0);
      for (int k = 0; k < 10; ++k) Put8(p, static_cast<unsigned>(std::max(sat.cn0, 0)));
    } else {
      p.append(15, '\0');
    }
  }
  return p;
}

std::string SiRFThroughput(double t) {
  std::string p;
  Put8(p, 0x09);
  Put16(p, 0);                                          // segment statistics maximum
  Put16(p, 0);                                          // segment statistics latency
  Put16(p, 0xBA);                                       // average tracking time
  Put16(p, static_cast<unsigned>(std::fmod(t, 1.0) * 1000) & 0xFFFF);  // last millisecond
  return p;
}

std::vector<std::string> SiRFBinaryCycle(const SimSnapshot& s, double t) {
  return {BuildSiRFFrame(SiRFMeasuredNavigation(s, t)), BuildSiRFFrame(SiRFThroughput(t)),
          BuildSiRFFrame(SiRFMeasuredTracker(s, t))};
}

}  // namespace orlimo
