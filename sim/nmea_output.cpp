#include "sim/nmea_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "nmea/sentence.h"

namespace orlimo {
namespace {

template <typename... Args>
std::string Format(const char* fmt, Args... args) {
  char buf[160];
  const int n = std::snprintf(buf, sizeof buf, fmt, args...);
  return std::string(buf, n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buf - 1));
}

std::string Time(const SimUtc& u) {
  // The seconds hold whole milliseconds (UtcFromSeconds), below 60: rounding only
  // undoes the binary fraction (41.3 is stored as 41.29999...).
  const int ms = static_cast<int>(std::lround(u.seconds * 1000.0));
  return Format("%02d%02d%02d.%03d", u.hour, u.minute, ms / 1000, ms % 1000);
}

std::string Date(const SimUtc& u) { return Format("%02d%02d%02d", u.day, u.month, u.year % 100); }

// ddmm.mmmm / dddmm.mmmm and the hemisphere letter.
std::string Coord(double deg, int degDigits, char pos, char neg) {
  const char hemi = deg < 0 ? neg : pos;
  const double a = std::fabs(deg);
  int d = static_cast<int>(a);
  long tenThousandths = std::lround((a - d) * 60.0 * 10000.0);
  if (tenThousandths >= 600000) {
    tenThousandths -= 600000;
    ++d;
  }
  return Format(degDigits == 2 ? "%02d%02ld.%04ld,%c" : "%03d%02ld.%04ld,%c", d,
                tenThousandths / 10000, tenThousandths % 10000, hemi);
}

}  // namespace

std::string NmeaLine(std::string_view text) {
  std::string line(text);
  line += NMEAChecksumSuffix(text);
  line += "\r\n";
  return line;
}

std::string NmeaRMC(const SimSnapshot& s) {
  if (!s.fix) return NmeaLine("$GPRMC," + Time(s.utc) + ",V,,,,,,," + Date(s.utc) + ",,,N");
  return NmeaLine("$GPRMC," + Time(s.utc) + ",A," + Coord(s.latitude, 2, 'N', 'S') + "," +
                  Coord(s.longitude, 3, 'E', 'W') + Format(",%.2f,%.2f,", s.speedKnots, s.courseDeg) +
                  Date(s.utc) + ",,,A");
}

std::string NmeaGGA(const SimSnapshot& s) {
  if (!s.fix) return NmeaLine("$GPGGA," + Time(s.utc) + ",,,,,0,00,,,M,0.0,M,,0000");
  return NmeaLine("$GPGGA," + Time(s.utc) + "," + Coord(s.latitude, 2, 'N', 'S') + "," +
                  Coord(s.longitude, 3, 'E', 'W') +
                  Format(",1,%02d,%.1f,%.1f,M,%.1f,M,,0000", s.UsedCount(), s.hdop, s.altitude, kSimGeoidSeparation));
}

std::string NmeaGLL(const SimSnapshot& s) {
  if (!s.fix) return NmeaLine("$GPGLL,,,,," + Time(s.utc) + ",V,N");
  return NmeaLine("$GPGLL," + Coord(s.latitude, 2, 'N', 'S') + "," + Coord(s.longitude, 3, 'E', 'W') +
                  "," + Time(s.utc) + ",A,A");
}

std::string NmeaGSA(const SimSnapshot& s) {
  std::string text = s.fix ? "$GPGSA,A,3" : "$GPGSA,A,1";
  int slots = 0;
  for (const SimSatellite& sat : s.satellites) {
    if (sat.used && slots < 12) {
      text += Format(",%02d", sat.prn);
      ++slots;
    }
  }
  for (; slots < 12; ++slots) text += ",";
  text += s.fix ? Format(",%.1f,%.1f,%.1f", s.pdop, s.hdop, s.vdop) : std::string(",,,");
  return NmeaLine(text);
}

std::vector<std::string> NmeaGSV(const SimSnapshot& s) {
  const int n = static_cast<int>(std::min<std::size_t>(s.satellites.size(), 12));
  const int total = n == 0 ? 1 : (n + 3) / 4;
  std::vector<std::string> out;
  for (int m = 1; m <= total; ++m) {
    std::string text = Format("$GPGSV,%d,%d,%02d", total, m, n);
    for (int i = 4 * (m - 1); i < std::min(n, 4 * m); ++i) {
      const SimSatellite& sat = s.satellites[static_cast<std::size_t>(i)];
      text += Format(",%02d,%02d,%03d,", sat.prn, sat.elevation, sat.azimuth);
      if (sat.cn0 >= 0) text += Format("%02d", sat.cn0);
    }
    out.push_back(NmeaLine(text));
  }
  return out;
}

std::string NmeaVTG(const SimSnapshot& s) {
  if (!s.fix) return NmeaLine("$GPVTG,,T,,M,,N,,K,N");
  return NmeaLine(Format("$GPVTG,%.2f,T,,M,%.2f,N,%.2f,K,A", s.courseDeg, s.speedKnots,
                         s.speedKnots * 1.852));
}

std::string NmeaZDA(const SimSnapshot& s) {
  return NmeaLine("$GPZDA," + Time(s.utc) + Format(",%02d,%02d,%04d,00,00", s.utc.day, s.utc.month, s.utc.year));
}

std::vector<std::string> NmeaCycle(const SimSnapshot& s, bool withZda) {
  std::vector<std::string> out;
  if (withZda) out.push_back(NmeaZDA(s));
  out.push_back(NmeaGGA(s));
  out.push_back(NmeaRMC(s));
  out.push_back(NmeaGSA(s));
  for (std::string& g : NmeaGSV(s)) out.push_back(std::move(g));
  out.push_back(NmeaGLL(s));
  out.push_back(NmeaVTG(s));
  return out;
}

}  // namespace orlimo
