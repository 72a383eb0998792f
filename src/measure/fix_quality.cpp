#include "measure/fix_quality.h"

#include <array>
#include <cstdio>

#include "nmea/decoder.h"

namespace orlimo {
namespace {

std::optional<double> Present(bool has, double value) { return has ? std::optional<double>(value) : std::nullopt; }

void AppendKey(std::string& out, std::string_view key, const std::optional<double>& value, const char* format) {
  if (!out.empty()) out += ' ';
  out.append(key).append("=");
  if (!value) {
    out += '-';
    return;
  }
  char number[32];
  std::snprintf(number, sizeof number, format, *value);
  out += number;
}

}  // namespace

TFixQuality FixQualityOf(const TqvNMEA& nmea) {
  TFixQuality q;
  if (nmea.GGA.Has.Quality) q.quality = nmea.GGA.Quality;
  q.hdop = nmea.GGA.Has.HDOP ? Present(true, nmea.GGA.HDOP) : Present(nmea.GSA.Has.HDOP, nmea.GSA.HDOP);
  q.vdop = Present(nmea.GSA.Has.VDOP, nmea.GSA.VDOP);
  q.pdop = Present(nmea.GSA.Has.PDOP, nmea.GSA.PDOP);
  q.gstLat = Present(nmea.GST.Has.LatError, nmea.GST.LatError);
  q.gstLon = Present(nmea.GST.Has.LonError, nmea.GST.LonError);
  q.gstAlt = Present(nmea.GST.Has.AltError, nmea.GST.AltError);
  return q;
}

std::string_view QualityName(int quality) {
  static constexpr std::array<std::string_view, 7> kNames = {"none",      "GPS",       "DGPS",          "PPS",
                                                             "RTK fixed", "RTK float", "dead reckoning"};
  return quality >= 0 && quality < static_cast<int>(kNames.size()) ? kNames[static_cast<std::size_t>(quality)] : "?";
}

std::string FixQualityKeys(const TFixQuality& q) {
  std::string out;
  AppendKey(out, "quality", q.quality ? std::optional<double>(*q.quality) : std::nullopt, "%.0f");
  AppendKey(out, "hdop", q.hdop, "%.2f");
  AppendKey(out, "vdop", q.vdop, "%.2f");
  AppendKey(out, "pdop", q.pdop, "%.2f");
  AppendKey(out, "gst_lat_m", q.gstLat, "%.3f");
  AppendKey(out, "gst_lon_m", q.gstLon, "%.3f");
  AppendKey(out, "gst_alt_m", q.gstAlt, "%.3f");
  return out;
}

}  // namespace orlimo
