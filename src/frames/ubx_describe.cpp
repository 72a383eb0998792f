// The monitor's one-line texts of UBX frames.
#include "frames/frame_text.h"
#include "frames/ubx_decoder.h"
#include "frames/ubx_names.h"

namespace orlimo {
namespace {

void AppendName(TFrameText& t, std::uint8_t msgClass, std::uint8_t msgId) {
  const std::string_view name = UBXMessageName(msgClass, msgId);
  if (name.empty()) {
    AppendFormat(t, "0x%02X 0x%02X", msgClass, msgId);
  } else {
    t.Append(name);
  }
}

void AppendFixAndSats(TFrameText& t, TFrameFix fix, int sats) {
  t.Append(" ");
  t.Append(FrameFixName(fix));
  AppendFormat(t, " %d SV", sats);
}

void AppendGeodetic(TFrameText& t, const TGeodetic& g) {
  if (g.Valid) {
    AppendLatLon(t, g.Latitude, g.Longitude, 6);
    AppendFormat(t, " %.2f m", g.Height);
  } else {
    t.Append(" no position");
  }
}

}  // namespace

TFrameText TUBXDecoder::Describe(const TUBXDecoded& d) const {
  TFrameText t;
  t.Assign("UBX ");
  if (d.Status == TFrameStatus::Invalid) {
    t.Append("(not a valid frame)");
    return t;
  }
  AppendName(t, d.Class, d.Id);
  if (d.Status != TFrameStatus::Decoded) {
    AppendFormat(t, " (%u bytes%s)", unsigned{d.Length}, d.Status == TFrameStatus::Malformed ? ", not decoded" : "");
    return t;
  }
  switch (d.Message) {
    case TUBXMessage::NavPVT:
      AppendFixAndSats(t, NavPVT.Fix, NavPVT.SatsUsed);
      AppendLatLon(t, NavPVT.Latitude, NavPVT.Longitude, 6);
      break;
    case TUBXMessage::NavPosLLH:
      AppendLatLon(t, NavPosLLH.Latitude, NavPosLLH.Longitude, 6);
      AppendFormat(t, " %.2f m", NavPosLLH.Height);
      break;
    case TUBXMessage::NavPosECEF:
      AppendGeodetic(t, NavPosECEF.Geodetic);
      break;
    case TUBXMessage::NavSol:
      AppendFixAndSats(t, NavSol.Fix, NavSol.SatsUsed);
      AppendGeodetic(t, NavSol.Geodetic);
      break;
    case TUBXMessage::NavVelNED:
      AppendFormat(t, " %.2f m/s course %.1f", NavVelNED.GroundSpeed, NavVelNED.Heading);
      break;
    case TUBXMessage::NavDOP:
      AppendFormat(t, " PDOP %.2f HDOP %.2f VDOP %.2f", NavDOP.PDOP, NavDOP.HDOP, NavDOP.VDOP);
      break;
    case TUBXMessage::NavTimeUTC: {
      const TUBXNavTimeUTC& u = NavTimeUTC;
      AppendFormat(t, " %04u-%02u-%02u %02u:%02u:%02u%s", unsigned{u.Year}, unsigned{u.Month}, unsigned{u.Day},
                   unsigned{u.Hour}, unsigned{u.Minute}, unsigned{u.Second}, u.UTCValid() ? "" : " not valid");
      break;
    }
    case TUBXMessage::NavStatus:
      t.Append(" ");
      t.Append(FrameFixName(NavStatus.Fix));
      if (NavStatus.TimeToFirstFix == 0) {
        t.Append(" TTFF none yet");
      } else {
        AppendFormat(t, " TTFF %.1f s", NavStatus.TimeToFirstFix / 1000.0);
      }
      break;
    case TUBXMessage::NavSat:
      AppendFormat(t, " %zu SV %d used", NavSat.Count, NavSat.UsedCount());
      break;
    case TUBXMessage::NavSVInfo:
      AppendFormat(t, " %zu SV %d used", NavSVInfo.Count, NavSVInfo.UsedCount());
      break;
    case TUBXMessage::NavSig: {
      int used = 0;
      for (const TFrameSignal& s : NavSig.View()) used += s.Used ? 1 : 0;
      AppendFormat(t, " %zu signals %d used", NavSig.Count, used);
      break;
    }
    case TUBXMessage::MonVer:
      t.Append(" ");
      t.Append(MonVer.Software.View());
      t.Append(" HW ");
      t.Append(MonVer.Hardware.View());
      for (std::size_t i = 0; i < MonVer.ExtensionCount; ++i) {
        t.Append(i == 0 ? " " : ", ");
        t.Append(MonVer.Extensions[i].View());
      }
      break;
    case TUBXMessage::Ack:
      t.Append(" ");
      AppendName(t, Ack.Class, Ack.Id);
      break;
    case TUBXMessage::None:
      break;
  }
  return t;
}

}  // namespace orlimo
