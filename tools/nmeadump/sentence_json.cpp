#include "nmeadump/sentence_json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "nmea/satellite_system.h"

namespace orlimo {
namespace {

// Room for one number: "%.10g" of a double takes at most 17 characters ("-1.234567891e-308").
constexpr std::size_t kNumberRoom = 32;
// Room for "%06.3f" of finite seconds: 309 integer digits, a sign, ".ddd".
constexpr std::size_t kSecondsRoom = 320;
// Every member but the raw text: keys, a time, doubles, twelve satellites (about 60 each).
constexpr std::size_t kFixedRoom = 2048;
// An escaped byte takes at most six ("\u00b0").
constexpr std::size_t kEscapedRoom = 6;

char* Put(char* p, std::string_view s) {
  std::memcpy(p, s.data(), s.size());
  return p + s.size();
}

char* PutInt(char* p, int v) { return std::to_chars(p, p + kNumberRoom, v).ptr; }

// Two digits at least, as "%02d" writes them (negative numbers are not padded).
char* PutInt2(char* p, int v) {
  if (v >= 0 && v < 10) *p++ = '0';
  return PutInt(p, v);
}

// to_chars with a precision writes what printf writes for the same conversion.
char* PutGeneral10(char* p, double v) {
  return std::to_chars(p, p + kNumberRoom, v, std::chars_format::general, 10).ptr;
}

// "%06.3f": the zeros of the width go after a sign.
char* PutSeconds(char* p, double seconds) {
  if (!std::isfinite(seconds)) {  // the decoder never stores these; printf pads them with blanks
    return p + std::snprintf(p, kNumberRoom, "%06.3f", seconds);
  }
  char digits[kSecondsRoom];
  const char* end = std::to_chars(digits, digits + sizeof digits, seconds, std::chars_format::fixed, 3).ptr;
  std::string_view text(digits, static_cast<std::size_t>(end - digits));
  const bool negative = text[0] == '-';
  if (negative) {
    *p++ = '-';
    text.remove_prefix(1);
  }
  for (std::size_t width = text.size() + (negative ? 1 : 0); width < 6; ++width) *p++ = '0';
  return Put(p, text);
}

// A JSON string literal; runs that need no escape are copied whole.
char* PutString(char* p, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  *p++ = '"';
  std::size_t run = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const bool plain = c >= 0x20 && c < 0x7F && c != '"' && c != '\\';
    if (plain) continue;
    p = Put(p, bytes.substr(run, i - run));
    run = i + 1;
    if (c == '"' || c == '\\') {
      *p++ = '\\';
      *p++ = static_cast<char>(c);
    } else {
      p = Put(p, "\\u00");
      *p++ = kHex[c >> 4];
      *p++ = kHex[c & 0x0F];
    }
  }
  p = Put(p, bytes.substr(run));
  *p++ = '"';
  return p;
}

// One object's members, written straight into room the caller made.
class JsonObject {
 public:
  explicit JsonObject(char* p) : p_(p) { *p_++ = '{'; }
  char* Close() {
    *p_++ = '}';
    return p_;
  }

  JsonObject& Raw(std::string_view key, std::string_view json) {
    Key(key);
    p_ = Put(p_, json);
    return *this;
  }
  JsonObject& Str(std::string_view key, std::string_view s) {
    Key(key);
    p_ = PutString(p_, s);
    return *this;
  }
  // "%.10g", as the numbers have always been printed.
  JsonObject& Num(std::string_view key, double v) {
    Key(key);
    p_ = PutGeneral10(p_, v);
    return *this;
  }
  // Small whole numbers: "%.10g" prints them as plain integers.
  JsonObject& Int(std::string_view key, int v) {
    Key(key);
    p_ = PutInt(p_, v);
    return *this;
  }
  JsonObject& Char(std::string_view key, char c) {
    return c == 0 ? Raw(key, "null") : Str(key, std::string_view(&c, 1));
  }
  // A value its record may lack: null when its field was empty or unreadable.
  JsonObject& Num(std::string_view key, double v, bool present) {
    return present ? Num(key, v) : Raw(key, "null");
  }
  JsonObject& Int(std::string_view key, int v, bool present) {
    return present ? Int(key, v) : Raw(key, "null");
  }
  JsonObject& Time(const TNMEATime& t, bool present) { return present ? Time(t) : Raw("time", "null"); }
  JsonObject& Date(const TNMEADate& d, bool present) { return present ? Date(d) : Raw("date", "null"); }
  // "hh:mm:ss.sss" as "%02u:%02u:%06.3f" writes it.
  JsonObject& Time(const TNMEATime& t) {
    Key("time");
    *p_++ = '"';
    p_ = PutInt2(p_, t.Hour);
    *p_++ = ':';
    p_ = PutInt2(p_, t.Minute);
    *p_++ = ':';
    p_ = PutSeconds(p_, t.Seconds);
    *p_++ = '"';
    return *this;
  }
  // "dd-mm-yy" as "%02u-%02u-%02d" writes it.
  JsonObject& Date(const TNMEADate& d) {
    Key("date");
    *p_++ = '"';
    p_ = PutInt2(p_, d.Day);
    *p_++ = '-';
    p_ = PutInt2(p_, d.Month);
    *p_++ = '-';
    p_ = PutInt2(p_, d.Year);
    *p_++ = '"';
    return *this;
  }
  JsonObject& Satellites(const TGSVRecord& v) {
    Key("sats");
    *p_++ = '[';
    bool first = true;
    for (const TSatInView& s : v.Sats) {
      if (s.PRN == 0) continue;
      if (!first) *p_++ = ',';
      first = false;
      p_ = PutInt(Put(p_, "{\"prn\":"), s.PRN);
      p_ = PutInt(Put(p_, ",\"el\":"), s.Elevation);
      p_ = PutInt(Put(p_, ",\"az\":"), s.Azimuth);
      p_ = PutInt(Put(p_, ",\"snr\":"), s.SNR);
      *p_++ = '}';
    }
    *p_++ = ']';
    return *this;
  }
  JsonObject& UsedPRNs(const TGSARecord& a) {
    Key("used");
    *p_++ = '[';
    for (std::size_t i = 0; i < a.UsedPRN.size(); ++i) {
      if (i > 0) *p_++ = ',';
      p_ = PutInt(p_, a.UsedPRN[i]);
    }
    *p_++ = ']';
    return *this;
  }

 private:
  void Key(std::string_view key) {
    if (p_[-1] != '{') *p_++ = ',';
    *p_++ = '"';
    p_ = Put(p_, key);
    *p_++ = '"';
    *p_++ = ':';
  }
  char* p_;
};

void RMCMembers(JsonObject& o, const TRMCRecord& r) {
  const TRMCRecord::Present& has = r.Has;
  o.Time(r.UTCTime, has.UTCTime).Char("status", r.Status);
  o.Num("lat", r.Latitude, has.Latitude).Num("lon", r.Longitude, has.Longitude);
  o.Num("speed_knots", r.SpeedKnots, has.SpeedKnots).Num("course", r.Course, has.Course);
  o.Date(r.Date, has.Date).Num("magvar", r.MagVar, has.MagVar).Char("mode", r.Mode);
  o.Char("nav_status", r.NavStatus);
}

void GGAMembers(JsonObject& o, const TGGARecord& r) {
  const TGGARecord::Present& has = r.Has;
  o.Time(r.UTCTime, has.UTCTime);
  o.Num("lat", r.Latitude, has.Latitude).Num("lon", r.Longitude, has.Longitude);
  o.Int("quality", r.Quality, has.Quality).Int("sats_used", r.SatsUsed, has.SatsUsed);
  o.Num("hdop", r.HDOP, has.HDOP);
  o.Num("alt", r.Altitude, has.Altitude).Num("geoid_sep", r.GeoidSep, has.GeoidSep);
  o.Num("dgps_age", r.DGPSAge, has.DGPSAge).Int("dgps_station", r.DGPSStation, has.DGPSStation);
}

void GLLMembers(JsonObject& o, const TGLLRecord& r) {
  o.Time(r.UTCTime, r.Has.UTCTime);
  o.Num("lat", r.Latitude, r.Has.Latitude).Num("lon", r.Longitude, r.Has.Longitude);
  o.Char("status", r.Status);
}

void GSAMembers(JsonObject& o, const TGSARecord& r) {
  o.Char("sel_mode", r.SelMode).Int("fix_mode", r.FixMode, r.Has.FixMode);
  o.Int("used_count", r.UsedCount).UsedPRNs(r);
  o.Num("pdop", r.PDOP, r.Has.PDOP).Num("hdop", r.HDOP, r.Has.HDOP).Num("vdop", r.VDOP, r.Has.VDOP);
  o.Str("system", SatSystemName(r.System));
  if (r.SystemId != 0) {
    o.Int("system_id", r.SystemId);
  } else {
    o.Raw("system_id", "null");
  }
}

void GSVMembers(JsonObject& o, const TGSVRecord& r) {
  o.Int("total", r.TotalMsgs).Int("msg", r.MsgNum).Int("in_view", r.SatsInView);
  o.Satellites(r).Str("system", SatSystemName(r.System));
  if (r.HasSignalId) {
    o.Int("signal_id", r.SignalId);
  } else {
    o.Raw("signal_id", "null");
  }
}

void VTGMembers(JsonObject& o, const TVTGRecord& r) {
  const TVTGRecord::Present& has = r.Has;
  o.Num("course_true", r.CourseTrue, has.CourseTrue).Num("course_mag", r.CourseMag, has.CourseMag);
  o.Num("speed_knots", r.SpeedKnots, has.SpeedKnots).Num("speed_kmh", r.SpeedKmh, has.SpeedKmh);
  o.Char("mode", r.Mode);
}

void ZDAMembers(JsonObject& o, const TZDARecord& r) {
  const TZDARecord::Present& has = r.Has;
  o.Time(r.UTCTime, has.UTCTime);
  o.Int("day", r.Day, has.Day).Int("month", r.Month, has.Month).Int("year", r.Year, has.Year);
  o.Int("zone_hours", r.ZoneHours, has.ZoneHours).Int("zone_minutes", r.ZoneMinutes, has.ZoneMinutes);
}

void GSTMembers(JsonObject& o, const TGSTRecord& r) {
  const TGSTRecord::Present& has = r.Has;
  o.Time(r.UTCTime, has.UTCTime).Num("range_rms", r.RangeRMS, has.RangeRMS);
  o.Num("semi_major", r.SemiMajor, has.SemiMajor).Num("semi_minor", r.SemiMinor, has.SemiMinor);
  o.Num("orientation", r.Orientation, has.Orientation);
  o.Num("lat_error", r.LatError, has.LatError).Num("lon_error", r.LonError, has.LonError);
  o.Num("alt_error", r.AltError, has.AltError);
}

void GBSMembers(JsonObject& o, const TGBSRecord& r) {
  const TGBSRecord::Present& has = r.Has;
  o.Time(r.UTCTime, has.UTCTime);
  o.Num("lat_error", r.LatError, has.LatError).Num("lon_error", r.LonError, has.LonError);
  o.Num("alt_error", r.AltError, has.AltError).Int("failed_prn", r.FailedPRN, has.FailedPRN);
  o.Num("failed_probability", r.FailedProbability, has.FailedProbability);
  o.Num("bias", r.Bias, has.Bias).Num("bias_stddev", r.BiasStdDev, has.BiasStdDev);
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out(2 + kEscapedRoom * bytes.size(), '\0');
  out.resize(static_cast<std::size_t>(PutString(out.data(), bytes) - out.data()));
  return out;
}

std::size_t SentenceJsonRoom(std::string_view line) {
  return kFixedRoom + kEscapedRoom * line.size();
}

char* WriteSentenceJson(char* out, const TqvNMEA& n, TSentenceType type, std::string_view line) {
  JsonObject o(out);
  o.Str("type", SentenceTags[type]);
  switch (type) {
    case stRMC: RMCMembers(o, n.RMC); break;
    case stGGA: GGAMembers(o, n.GGA); break;
    case stGLL: GLLMembers(o, n.GLL); break;
    case stGSA: GSAMembers(o, n.GSA); break;
    case stGSV: GSVMembers(o, n.GSV); break;
    case stVTG: VTGMembers(o, n.VTG); break;
    case stZDA: ZDAMembers(o, n.ZDA); break;
    case stGST: GSTMembers(o, n.GST); break;
    case stGBS: GBSMembers(o, n.GBS); break;
    default:
      break;
  }
  o.Raw("fix", n.FixValid ? "true" : "false").Str("raw", line);
  return o.Close();
}

std::string SentenceToJson(const TqvNMEA& nmea, TSentenceType type, std::string_view line) {
  std::string out(SentenceJsonRoom(line), '\0');
  out.resize(static_cast<std::size_t>(WriteSentenceJson(out.data(), nmea, type, line) - out.data()));
  return out;
}

}  // namespace orlimo
