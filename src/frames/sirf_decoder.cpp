#include "frames/sirf_decoder.h"

#include <algorithm>
#include <cmath>

#include "frames/frame_text.h"
#include "frames/sat_numbering.h"
#include "frames/sirf_decode.h"
#include "frames/sirf_frame.h"

namespace orlimo {

TSiRFDecoded TSiRFDecoder::Decode(std::string_view frame) {
  if (!IsValidSiRFFrame(frame)) return {};
  return DecodePayload(SiRFPayload(frame));
}

TSiRFDecoded TSiRFDecoder::DecodePayload(std::string_view payload) {
  if (payload.empty()) return {};
  const auto id = static_cast<std::uint8_t>(payload[0]);
  TSiRFDecoded d{TFrameStatus::Unknown, TSiRFMessage::None, id,
                 static_cast<std::uint16_t>(std::min<std::size_t>(payload.size(), 0xFFFF))};
  bool ok = false;
  switch (id) {
    case 2:
      d.Message = TSiRFMessage::NavData;
      ok = DecodeSiRFNavData(payload, NavData);
      break;
    case 4:
      d.Message = TSiRFMessage::TrackerData;
      ok = DecodeSiRFTrackerData(payload, Tracker);
      break;
    case 6:
      d.Message = TSiRFMessage::SoftwareVersion;
      ok = DecodeSiRFVersion(payload, Version);
      break;
    case 41:
      d.Message = TSiRFMessage::GeodeticNav;
      ok = DecodeSiRFGeodeticNav(payload, GeodeticNav);
      break;
    default:
      return d;
  }
  if (ok && (id == 2 || id == 4)) MarkUsed();
  d.Status = ok ? TFrameStatus::Decoded : TFrameStatus::Malformed;
  return d;
}

void TSiRFDecoder::MarkUsed() {
  const bool sameEpoch = std::abs(NavData.TimeOfWeek - Tracker.TimeOfWeek) < 0.005;
  for (std::size_t i = 0; i < Tracker.Sats.Count; ++i) {
    TFrameSat& s = Tracker.Sats.Sats[i];
    const int prn = s.Number;
    s.Used = sameEpoch && s.System != TSatSystem::Unknown &&
             std::find(NavData.UsedPRN.begin(), NavData.UsedPRN.end(), prn) != NavData.UsedPRN.end();
  }
}

TFrameText TSiRFDecoder::Describe(const TSiRFDecoded& d) const {
  TFrameText t;
  t.Assign("SiRF ");
  if (d.Status == TFrameStatus::Invalid) {
    t.Append("(not a valid frame)");
    return t;
  }
  AppendFormat(t, "%u", unsigned{d.Id});
  if (d.Status != TFrameStatus::Decoded) {
    AppendFormat(t, " (%u bytes%s)", unsigned{d.Length}, d.Status == TFrameStatus::Malformed ? ", not decoded" : "");
    return t;
  }
  const auto fixAndSats = [&t](TFrameFix fix, int sats) {
    t.Append(" ");
    t.Append(FrameFixName(fix));
    AppendFormat(t, " %d SV", sats);
  };
  switch (d.Message) {
    case TSiRFMessage::NavData:
      fixAndSats(NavData.Fix, NavData.SatsUsed);
      if (NavData.Geodetic.Valid) {
        AppendLatLon(t, NavData.Geodetic.Latitude, NavData.Geodetic.Longitude, 5);
      } else {
        t.Append(" no position");
      }
      break;
    case TSiRFMessage::GeodeticNav:
      fixAndSats(GeodeticNav.Fix, GeodeticNav.SatsUsed);
      AppendLatLon(t, GeodeticNav.Latitude, GeodeticNav.Longitude, 5);
      break;
    case TSiRFMessage::TrackerData: {
      const auto tracked = std::count_if(Tracker.Sats.Sats.begin(), Tracker.Sats.Sats.begin() + Tracker.Sats.Count,
                                         [](const TFrameSat& s) { return s.Cn0 > 0; });
      AppendFormat(t, " %zu SV %d tracked", Tracker.Sats.Count, static_cast<int>(tracked));
      break;
    }
    case TSiRFMessage::SoftwareVersion:
      t.Append(" ");
      t.Append(Version.Software.View());
      if (!Version.Customer.View().empty()) {
        t.Append(" ");
        t.Append(Version.Customer.View());
      }
      break;
    case TSiRFMessage::None:
      break;
  }
  return t;
}

TFrameKey SiRFMessageKey(std::uint8_t id) {
  TFrameKey key;
  AppendFormat(key, "SIRF-%u", unsigned{id});
  return key;
}

}  // namespace orlimo
