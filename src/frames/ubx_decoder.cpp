#include "frames/ubx_decoder.h"

#include <algorithm>

#include "frames/ubx_decode.h"
#include "frames/ubx_frame.h"

namespace orlimo {

TUBXDecoded TUBXDecoder::Decode(std::string_view frame) {
  if (!IsValidUBXFrame(frame)) return {};
  return DecodePayload(UBXClass(frame), UBXId(frame), UBXPayload(frame));
}

TUBXDecoded TUBXDecoder::DecodePayload(std::uint8_t msgClass, std::uint8_t msgId, std::string_view payload) {
  TUBXDecoded d{TFrameStatus::Unknown, TUBXMessage::None, msgClass, msgId,
                static_cast<std::uint16_t>(std::min<std::size_t>(payload.size(), 0xFFFF))};
  bool ok = false;
  const auto read = [&](TUBXMessage message, bool decoded) {
    d.Message = message;
    ok = decoded;
  };
  switch (msgClass << 8 | msgId) {
    case 0x0101: read(TUBXMessage::NavPosECEF, DecodeUBXNavPosECEF(payload, NavPosECEF)); break;
    case 0x0102: read(TUBXMessage::NavPosLLH, DecodeUBXNavPosLLH(payload, NavPosLLH)); break;
    case 0x0103: read(TUBXMessage::NavStatus, DecodeUBXNavStatus(payload, NavStatus)); break;
    case 0x0104: read(TUBXMessage::NavDOP, DecodeUBXNavDOP(payload, NavDOP)); break;
    case 0x0106: read(TUBXMessage::NavSol, DecodeUBXNavSol(payload, NavSol)); break;
    case 0x0107: read(TUBXMessage::NavPVT, DecodeUBXNavPVT(payload, NavPVT)); break;
    case 0x0112: read(TUBXMessage::NavVelNED, DecodeUBXNavVelNED(payload, NavVelNED)); break;
    case 0x0121: read(TUBXMessage::NavTimeUTC, DecodeUBXNavTimeUTC(payload, NavTimeUTC)); break;
    case 0x0130: read(TUBXMessage::NavSVInfo, DecodeUBXNavSVInfo(payload, NavSVInfo)); break;
    case 0x0135: read(TUBXMessage::NavSat, DecodeUBXNavSat(payload, NavSat)); break;
    case 0x0143: read(TUBXMessage::NavSig, DecodeUBXNavSig(payload, NavSig)); break;
    case 0x0A04: read(TUBXMessage::MonVer, DecodeUBXMonVer(payload, MonVer)); break;
    case 0x0500: read(TUBXMessage::Ack, DecodeUBXAck(payload, false, Ack)); break;
    case 0x0501: read(TUBXMessage::Ack, DecodeUBXAck(payload, true, Ack)); break;
    default: return d;
  }
  d.Status = ok ? TFrameStatus::Decoded : TFrameStatus::Malformed;
  return d;
}

}  // namespace orlimo
