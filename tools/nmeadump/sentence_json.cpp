#include "nmeadump/sentence_json.h"

#include <cstdio>

#include "nmea/satellite_system.h"

namespace orlimo {
namespace {

class JsonObject {
 public:
  explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
  ~JsonObject() { out_ += '}'; }

  JsonObject& Raw(const char* key, const std::string& json) {
    Key(key);
    out_ += json;
    return *this;
  }
  JsonObject& Str(const char* key, std::string_view s) { return Raw(key, JsonString(s)); }
  JsonObject& Num(const char* key, double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return Raw(key, buf);
  }
  JsonObject& Char(const char* key, char c) {
    return c == 0 ? Raw(key, "null") : Str(key, std::string_view(&c, 1));
  }

 private:
  void Key(const char* key) {
    if (out_.back() != '{') out_ += ',';
    out_ += '"';
    out_ += key;
    out_ += "\":";
  }
  std::string& out_;
};

std::string Time(const TNMEATime& t) {
  // The seconds are printed as received, so their width has no bound ("1e100" takes
  // 105 characters): measure first.
  constexpr const char* kFormat = "\"%02u:%02u:%06.3f\"";
  const int n = std::snprintf(nullptr, 0, kFormat, t.Hour, t.Minute, t.Seconds);
  if (n < 0) return "null";
  std::string out(static_cast<std::size_t>(n), '\0');
  std::snprintf(out.data(), out.size() + 1, kFormat, t.Hour, t.Minute, t.Seconds);
  return out;
}

std::string Date(const TNMEADate& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "\"%02u-%02u-%02d\"", d.Day, d.Month, d.Year);
  return buf;
}

std::string Satellites(const TGSVRecord& v) {
  std::string out = "[";
  for (const TSatInView& s : v.Sats) {
    if (s.PRN == 0) continue;
    if (out.size() > 1) out += ',';
    char buf[96];
    std::snprintf(buf, sizeof buf, "{\"prn\":%d,\"el\":%d,\"az\":%d,\"snr\":%d}", s.PRN,
                  s.Elevation, s.Azimuth, s.SNR);
    out += buf;
  }
  return out + "]";
}

std::string UsedPRNs(const TGSARecord& a) {
  std::string out = "[";
  for (std::uint8_t prn : a.UsedPRN) {
    if (out.size() > 1) out += ',';
    out += std::to_string(prn);
  }
  return out + "]";
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + '"';
}

std::string SentenceToJson(const TqvNMEA& n, TSentenceType type, std::string_view line) {
  std::string out;
  {
    JsonObject o(out);
    o.Str("type", SentenceTags[type]);
    switch (type) {
      case stRMC:
        o.Raw("time", Time(n.RMC.UTCTime)).Char("status", n.RMC.Status);
        o.Num("lat", n.RMC.Latitude).Num("lon", n.RMC.Longitude);
        o.Num("speed_knots", n.RMC.SpeedKnots).Num("course", n.RMC.Course);
        o.Raw("date", Date(n.RMC.Date)).Num("magvar", n.RMC.MagVar).Char("mode", n.RMC.Mode);
        o.Char("nav_status", n.RMC.NavStatus);
        break;
      case stGGA:
        o.Raw("time", Time(n.GGA.UTCTime)).Num("lat", n.GGA.Latitude).Num("lon", n.GGA.Longitude);
        o.Num("quality", n.GGA.Quality).Num("sats_used", n.GGA.SatsUsed).Num("hdop", n.GGA.HDOP);
        o.Num("alt", n.GGA.Altitude).Num("geoid_sep", n.GGA.GeoidSep);
        o.Num("dgps_age", n.GGA.DGPSAge).Num("dgps_station", n.GGA.DGPSStation);
        break;
      case stGLL:
        o.Raw("time", Time(n.GLL.UTCTime)).Num("lat", n.GLL.Latitude).Num("lon", n.GLL.Longitude);
        o.Char("status", n.GLL.Status);
        break;
      case stGSA:
        o.Char("sel_mode", n.GSA.SelMode).Num("fix_mode", n.GSA.FixMode);
        o.Num("used_count", n.GSA.UsedCount).Raw("used", UsedPRNs(n.GSA));
        o.Num("pdop", n.GSA.PDOP).Num("hdop", n.GSA.HDOP).Num("vdop", n.GSA.VDOP);
        o.Str("system", SatSystemName(n.GSA.System));
        if (n.GSA.SystemId != 0) {
          o.Num("system_id", n.GSA.SystemId);
        } else {
          o.Raw("system_id", "null");
        }
        break;
      case stGSV:
        o.Num("total", n.GSV.TotalMsgs).Num("msg", n.GSV.MsgNum).Num("in_view", n.GSV.SatsInView);
        o.Raw("sats", Satellites(n.GSV)).Str("system", SatSystemName(n.GSV.System));
        if (n.GSV.HasSignalId) {
          o.Num("signal_id", n.GSV.SignalId);
        } else {
          o.Raw("signal_id", "null");
        }
        break;
      case stVTG:
        o.Num("course_true", n.VTG.CourseTrue).Num("course_mag", n.VTG.CourseMag);
        o.Num("speed_knots", n.VTG.SpeedKnots).Num("speed_kmh", n.VTG.SpeedKmh);
        o.Char("mode", n.VTG.Mode);
        break;
      default:
        break;
    }
    o.Raw("fix", n.FixValid ? "true" : "false").Str("raw", line);
  }
  return out;
}

}  // namespace orlimo
