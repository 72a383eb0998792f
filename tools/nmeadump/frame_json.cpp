#include "nmeadump/frame_json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>
#include <string_view>

#include "frames/ubx_names.h"
#include "nmeadump/sentence_json.h"

namespace orlimo {
namespace {

// The members of one object, appended to a string; numbers as the sentences'
// objects print them ("%.10g" through to_chars).
class FrameObject {
 public:
  explicit FrameObject(std::string& out) : out_(out) { out_.assign(1, '{'); }
  void Close() { out_ += '}'; }

  FrameObject& Raw(std::string_view key, std::string_view json) {
    Key(key);
    out_ += json;
    return *this;
  }
  FrameObject& Str(std::string_view key, std::string_view s) { return Raw(key, JsonString(s)); }
  FrameObject& Bool(std::string_view key, bool b) { return Raw(key, b ? "true" : "false"); }
  FrameObject& Num(std::string_view key, double v) {
    Key(key);
    PutNum(v);
    return *this;
  }
  FrameObject& Num(std::string_view key, double v, bool present) {
    return present ? Num(key, v) : Raw(key, "null");
  }
  // A float kept to a tenth, so 38.7f prints as 38.7 rather than 38.70000076.
  FrameObject& Tenths(std::string_view key, float v) { return Num(key, std::round(v * 10.0) / 10.0); }
  // "hh:mm:ss.sss" like a sentence's time, and "yyyy-mm-dd" with the year whole.
  FrameObject& Time(int hour, int minute, double seconds, bool present) {
    if (!present) return Raw("time", "null");
    char text[64];
    char* p = Put2(text, hour);
    *p++ = ':';
    p = Put2(p, minute);
    *p++ = ':';
    // "%06.3f"; nanoseconds may take a second a little below zero
    char digits[32];
    const char* end = std::to_chars(digits, digits + sizeof digits, std::clamp(seconds, 0.0, 61.0),
                                    std::chars_format::fixed, 3).ptr;
    for (auto width = end - digits; width < 6; ++width) *p++ = '0';
    p = std::copy(static_cast<const char*>(digits), end, p);
    return Str("time", std::string_view(text, static_cast<std::size_t>(p - text)));
  }
  FrameObject& Date(int year, int month, int day, bool present) {
    if (!present) return Raw("date", "null");
    char text[64];
    char* p = std::to_chars(text, text + 16, year).ptr;
    *p++ = '-';
    p = Put2(p, month);
    *p++ = '-';
    p = Put2(p, day);
    return Str("date", std::string_view(text, static_cast<std::size_t>(p - text)));
  }
  FrameObject& Geodetic(const TGeodetic& g) {
    return Num("lat", g.Latitude, g.Valid).Num("lon", g.Longitude, g.Valid).Num("height", g.Height, g.Valid);
  }
  // The satellites as GSV's "sats", each named by system and number ("G05", "R07").
  FrameObject& Satellites(std::span<const TFrameSat> sats) {
    Key("sats");
    out_ += '[';
    for (std::size_t i = 0; i < sats.size(); ++i) {
      const TFrameSat& s = sats[i];
      if (i > 0) out_ += ',';
      FrameObject sat(out_, true);
      sat.Str("sat", TSatName(s.System, s.Number).View());
      sat.Num("el", std::round(s.Elevation * 10.0) / 10.0, s.HasPosition);
      sat.Num("az", std::round(s.Azimuth * 10.0) / 10.0, s.HasPosition);
      sat.Tenths("snr", s.Cn0).Bool("used", s.Used).Close();
    }
    out_ += ']';
    return *this;
  }
  FrameObject& Signals(std::span<const TFrameSignal> signals) {
    Key("signals");
    out_ += '[';
    for (std::size_t i = 0; i < signals.size(); ++i) {
      const TFrameSignal& s = signals[i];
      if (i > 0) out_ += ',';
      FrameObject sig(out_, true);
      sig.Str("sat", TSatName(s.System, s.Number).View()).Num("signal_id", s.SignalId);
      sig.Num("snr", s.Cn0).Num("quality", s.Quality).Bool("used", s.Used).Close();
    }
    out_ += ']';
    return *this;
  }
  template <std::size_t N>
  FrameObject& Texts(std::string_view key, std::span<const TFixedText<N>> texts) {
    Key(key);
    out_ += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (i > 0) out_ += ',';
      out_ += JsonString(texts[i].View());
    }
    out_ += ']';
    return *this;
  }

 private:
  // An object nested in its parent's text.
  FrameObject(std::string& out, bool /*nested*/) : out_(out) { out_ += '{'; }

  void Key(std::string_view key) {
    if (out_.back() != '{') out_ += ',';
    out_ += '"';
    out_ += key;
    out_ += "\":";
  }
  // Two digits at least; callers give 0-99.
  static char* Put2(char* p, int v) {
    if (v >= 0 && v < 10) *p++ = '0';
    return std::to_chars(p, p + 16, v).ptr;
  }
  void PutNum(double v) {
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 10).ptr;
    out_.append(text, static_cast<std::size_t>(end - text));
  }

  std::string& out_;
};

void NavPVTMembers(FrameObject& o, const TUBXNavPVT& r) {
  o.Num("itow", r.TimeOfWeek).Date(r.Year, r.Month, r.Day, r.DateValid());
  o.Time(r.Hour, r.Minute, r.Second + r.Nanoseconds * 1e-9, r.TimeValid());
  o.Str("fix_type", FrameFixName(r.Fix)).Num("lat", r.Latitude).Num("lon", r.Longitude);
  o.Num("height", r.Height).Num("alt", r.HeightMSL);
  o.Num("h_acc", r.HorizontalAccuracy).Num("v_acc", r.VerticalAccuracy);
  o.Num("speed", r.GroundSpeed).Num("course", r.Heading).Num("sats_used", r.SatsUsed);
  o.Num("pdop", r.PDOP).Bool("fix", r.FixOK());
}

void NavPosLLHMembers(FrameObject& o, const TUBXNavPosLLH& r) {
  o.Num("itow", r.TimeOfWeek).Num("lat", r.Latitude).Num("lon", r.Longitude);
  o.Num("height", r.Height).Num("alt", r.HeightMSL);
  o.Num("h_acc", r.HorizontalAccuracy).Num("v_acc", r.VerticalAccuracy);
}

void NavSolMembers(FrameObject& o, const TUBXNavSol& r) {
  o.Num("itow", r.TimeOfWeek).Num("week", r.Week).Str("fix_type", FrameFixName(r.Fix));
  o.Geodetic(r.Geodetic).Num("x", r.X).Num("y", r.Y).Num("z", r.Z);
  o.Num("p_acc", r.PositionAccuracy).Num("speed", std::hypot(r.VX, r.VY, r.VZ));
  o.Num("sats_used", r.SatsUsed).Num("pdop", r.PDOP).Bool("fix", r.FixOK());
}

void NavPosECEFMembers(FrameObject& o, const TUBXNavPosECEF& r) {
  o.Num("itow", r.TimeOfWeek).Geodetic(r.Geodetic);
  o.Num("x", r.X).Num("y", r.Y).Num("z", r.Z).Num("p_acc", r.PositionAccuracy);
}

void NavVelNEDMembers(FrameObject& o, const TUBXNavVelNED& r) {
  o.Num("itow", r.TimeOfWeek).Num("vel_n", r.VelN).Num("vel_e", r.VelE).Num("vel_d", r.VelD);
  o.Num("speed", r.GroundSpeed).Num("speed_3d", r.Speed).Num("course", r.Heading);
  o.Num("s_acc", r.SpeedAccuracy).Num("c_acc", r.HeadingAccuracy);
}

void NavDOPMembers(FrameObject& o, const TUBXNavDOP& r) {
  o.Num("itow", r.TimeOfWeek).Num("gdop", r.GDOP).Num("pdop", r.PDOP).Num("tdop", r.TDOP);
  o.Num("vdop", r.VDOP).Num("hdop", r.HDOP).Num("ndop", r.NDOP).Num("edop", r.EDOP);
}

void NavTimeUTCMembers(FrameObject& o, const TUBXNavTimeUTC& r) {
  o.Num("itow", r.TimeOfWeek).Date(r.Year, r.Month, r.Day, r.UTCValid());
  o.Time(r.Hour, r.Minute, r.Second + r.Nanoseconds * 1e-9, r.UTCValid());
  o.Num("t_acc", r.TimeAccuracy * 1e-9);
}

void NavStatusMembers(FrameObject& o, const TUBXNavStatus& r) {
  o.Num("itow", r.TimeOfWeek).Str("fix_type", FrameFixName(r.Fix));
  o.Num("ttff", r.TimeToFirstFix * 1e-3, r.TimeToFirstFix != 0).Num("since_startup", r.SinceStartup * 1e-3);
  o.Bool("fix", r.FixOK());
}

void SatListMembers(FrameObject& o, const TFrameSatList& r) {
  o.Num("itow", r.TimeOfWeek).Num("in_view", static_cast<double>(r.Count)).Num("sats_used", r.UsedCount());
  o.Satellites(r.View());
}

void MonVerMembers(FrameObject& o, const TUBXMonVer& r) {
  o.Str("software", r.Software.View()).Str("hardware", r.Hardware.View());
  o.Texts("extensions", std::span(r.Extensions.data(), std::min(r.ExtensionCount, r.Extensions.size())));
}

void AckMembers(FrameObject& o, const TUBXAck& r) {
  o.Str("message", UBXMessageKey(r.Class, r.Id).View()).Num("class", r.Class).Num("id", r.Id);
  o.Bool("acknowledged", r.Acknowledged);
}

void GeodeticNavMembers(FrameObject& o, const TSiRFGeodeticNav& r) {
  const bool valid = r.NavValid == 0;
  o.Num("week", r.Week).Num("tow", r.TimeOfWeek).Date(r.Year, r.Month, r.Day, r.Year != 0);
  o.Time(r.Hour, r.Minute, r.Second, r.Year != 0).Str("fix_type", FrameFixName(r.Fix)).Num("nav_valid", r.NavValid);
  o.Num("lat", r.Latitude).Num("lon", r.Longitude).Num("height", r.AltitudeEllipsoid).Num("alt", r.AltitudeMSL);
  o.Num("speed", r.Speed).Num("course", r.Course).Num("climb", r.ClimbRate);
  o.Num("h_err", r.HorizontalError).Num("v_err", r.VerticalError);
  o.Num("sats_used", r.SatsUsed).Num("hdop", r.HDOP).Bool("fix", valid && r.Fix != TFrameFix::None);
}

void NavDataMembers(FrameObject& o, const TSiRFNavData& r) {
  o.Num("week", r.Week).Num("tow", r.TimeOfWeek).Str("fix_type", FrameFixName(r.Fix));
  o.Geodetic(r.Geodetic).Num("x", r.X).Num("y", r.Y).Num("z", r.Z);
  o.Num("speed", std::hypot(r.VX, r.VY, r.VZ)).Num("hdop", r.HDOP).Num("sats_used", r.SatsUsed);
  o.Bool("fix", r.Fix != TFrameFix::None);
}

void TrackerMembers(FrameObject& o, const TSiRFTrackerData& r) {
  o.Num("week", r.Week).Num("tow", r.TimeOfWeek).Num("channels", r.Channels);
  o.Num("sats_used", r.Sats.UsedCount()).Satellites(r.Sats.View());
}

void VersionMembers(FrameObject& o, const TSiRFVersion& r) {
  o.Str("software", r.Software.View()).Str("customer", r.Customer.View());
}

// A frame not decoded (unknown, or too short for its message) shows its length, and a
// malformed one says so; false for a decoded frame, whose members follow.
bool UndecodedMembers(FrameObject& o, TFrameStatus status, std::size_t length) {
  if (status == TFrameStatus::Decoded) return false;
  o.Num("length", static_cast<double>(length));
  if (status == TFrameStatus::Malformed) o.Bool("malformed", true);
  return true;
}

}  // namespace

std::string UBXFrameJson(const TUBXDecoder& ubx, const TUBXDecoded& d) {
  std::string out;
  FrameObject o(out);
  o.Str("type", UBXMessageKey(d.Class, d.Id).View());
  if (!UndecodedMembers(o, d.Status, d.Length)) {
    switch (d.Message) {
      case TUBXMessage::NavPVT: NavPVTMembers(o, ubx.NavPVT); break;
      case TUBXMessage::NavPosLLH: NavPosLLHMembers(o, ubx.NavPosLLH); break;
      case TUBXMessage::NavSol: NavSolMembers(o, ubx.NavSol); break;
      case TUBXMessage::NavPosECEF: NavPosECEFMembers(o, ubx.NavPosECEF); break;
      case TUBXMessage::NavVelNED: NavVelNEDMembers(o, ubx.NavVelNED); break;
      case TUBXMessage::NavDOP: NavDOPMembers(o, ubx.NavDOP); break;
      case TUBXMessage::NavTimeUTC: NavTimeUTCMembers(o, ubx.NavTimeUTC); break;
      case TUBXMessage::NavStatus: NavStatusMembers(o, ubx.NavStatus); break;
      case TUBXMessage::NavSat: SatListMembers(o, ubx.NavSat); break;
      case TUBXMessage::NavSVInfo: SatListMembers(o, ubx.NavSVInfo); break;
      case TUBXMessage::NavSig:
        o.Num("itow", ubx.NavSig.TimeOfWeek).Signals(ubx.NavSig.View());
        break;
      case TUBXMessage::MonVer: MonVerMembers(o, ubx.MonVer); break;
      case TUBXMessage::Ack: AckMembers(o, ubx.Ack); break;
      case TUBXMessage::None: o.Num("length", d.Length); break;
    }
  }
  o.Close();
  return out;
}

std::string SiRFFrameJson(const TSiRFDecoder& sirf, const TSiRFDecoded& d) {
  std::string out;
  FrameObject o(out);
  o.Str("type", SiRFMessageKey(d.Id).View());
  if (!UndecodedMembers(o, d.Status, d.Length)) {
    switch (d.Message) {
      case TSiRFMessage::GeodeticNav: GeodeticNavMembers(o, sirf.GeodeticNav); break;
      case TSiRFMessage::NavData: NavDataMembers(o, sirf.NavData); break;
      case TSiRFMessage::TrackerData: TrackerMembers(o, sirf.Tracker); break;
      case TSiRFMessage::SoftwareVersion: VersionMembers(o, sirf.Version); break;
      case TSiRFMessage::None: o.Num("length", d.Length); break;
    }
  }
  o.Close();
  return out;
}

}  // namespace orlimo
