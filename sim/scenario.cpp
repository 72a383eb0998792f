#include "sim/scenario.h"

#include <algorithm>
#include <cmath>

namespace orlimo {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct SkyTrack {
  int prn;
  double elevation;  // at t = 0
  double azimuth;
  double elevationRate;  // degrees a minute
};

// A plausible sky: PRNs 1..32, spread over the compass, some low on the horizon.
constexpr std::array<SkyTrack, 12> kSky = {{
    {4, 65, 54, 0.20},  {2, 60, 325, -0.15}, {13, 40, 63, 0.25},  {10, 36, 245, -0.10},
    {24, 31, 87, 0.30}, {17, 25, 155, -0.20}, {5, 14, 276, 0.15}, {23, 13, 39, -0.25},
    {30, 9, 305, 0.10}, {27, 4, 115, 0.20},   {8, 52, 189, -0.05}, {29, 19, 213, 0.12},
}};

// Civil date from days since 1970-01-01 (proleptic Gregorian).
void DateFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

int SimSnapshot::UsedCount() const {
  return static_cast<int>(std::count_if(satellites.begin(), satellites.end(),
                                        [](const SimSatellite& s) { return s.used; }));
}

SimUtc UtcFromSeconds(double secondsSince1970) {
  SimUtc u;
  // To the nearest millisecond, the resolution of the sentences: near 1.7e9 a double
  // holds a time to a few 1e-7 s, so 0.3 s past a second may read 0.29999995.
  const auto ms = static_cast<std::int64_t>(std::llround(secondsSince1970 * 1000.0));
  std::int64_t s = ms / 1000;
  std::int64_t milli = ms % 1000;
  if (milli < 0) {
    milli += 1000;
    --s;
  }
  std::int64_t days = s / 86400;
  std::int64_t rem = s % 86400;
  if (rem < 0) {
    rem += 86400;
    --days;
  }
  DateFromDays(days, u.year, u.month, u.day);
  u.hour = static_cast<int>(rem / 3600);
  u.minute = static_cast<int>(rem / 60 % 60);
  u.seconds = static_cast<double>(rem % 60) + static_cast<double>(milli) / 1000.0;
  return u;
}

SimWorld::SimWorld(const SimScenario& scenario, std::int64_t utcStartSeconds)
    : scenario_(scenario), utcStart_(utcStartSeconds) {
  scenario_.satellites = std::clamp(scenario_.satellites, 0, 12);
  scenario_.latitude = std::clamp(scenario_.latitude, -89.0, 89.0);
  scenario_.longitude = std::remainder(scenario_.longitude, 360.0);
  if (!std::isfinite(scenario_.speedKnots) || scenario_.speedKnots < 0) scenario_.speedKnots = 0;
  if (!std::isfinite(scenario_.courseDeg)) scenario_.courseDeg = 0;
  scenario_.courseDeg = std::fmod(std::fmod(scenario_.courseDeg, 360.0) + 360.0, 360.0);
}

SimSnapshot SimWorld::At(double t, bool fix) const {
  SimSnapshot s;
  t = std::max(t, 0.0);
  s.utc = UtcFromSeconds(static_cast<double>(utcStart_) + t);
  s.fix = fix && !scenario_.noFix;

  // Straight line at constant speed and course; one nautical mile is one minute of latitude.
  const double miles = scenario_.speedKnots * t / 3600.0;
  const double c = scenario_.courseDeg * kPi / 180.0;
  s.latitude = std::clamp(scenario_.latitude + miles * std::cos(c) / 60.0, -89.9, 89.9);
  const double cosLat = std::max(std::cos(scenario_.latitude * kPi / 180.0), 0.01);
  s.longitude = std::remainder(scenario_.longitude + miles * std::sin(c) / (60.0 * cosLat), 360.0);
  s.altitude = scenario_.altitude + 0.4 * std::sin(t / 17.0);
  s.speedKnots = scenario_.speedKnots;
  s.courseDeg = scenario_.courseDeg;

  for (int i = 0; i < scenario_.satellites; ++i) {
    const SkyTrack& k = kSky[static_cast<std::size_t>(i)];
    SimSatellite sat;
    sat.prn = k.prn;
    const double el = k.elevation + k.elevationRate * t / 60.0;
    sat.elevation = std::clamp(static_cast<int>(std::lround(el)), 0, 90);
    sat.azimuth = static_cast<int>(std::lround(std::fmod(k.azimuth + t / 240.0, 360.0))) % 360;
    // C/N0 grows with elevation and wanders a little; low satellites are not tracked.
    const double cn0 = 22.0 + sat.elevation / 3.0 + 2.0 * std::sin(t / 7.0 + i);
    const bool tracked = sat.elevation >= 8 && (s.fix || i % 2 == 0);
    sat.cn0 = tracked ? std::clamp(static_cast<int>(std::lround(cn0)), 0, 99) : -1;
    sat.used = s.fix && tracked && sat.cn0 >= 28;
    s.satellites.push_back(sat);
  }
  const int used = s.UsedCount();
  if (s.fix) {
    s.hdop = used >= 6 ? 1.2 : used >= 4 ? 2.1 : 4.8;
    s.vdop = s.hdop * 1.5;
    s.pdop = std::sqrt(s.hdop * s.hdop + s.vdop * s.vdop);
  }
  return s;
}

}  // namespace orlimo
