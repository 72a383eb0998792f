// The UBX decoder object: reads whole frames into the record of their message and
// keeps the latest record of each, as the sentence decoder does for NMEA, and says
// in one line what a frame held. The program keeps one for the whole run; decoding
// never allocates.
#pragma once

#include <cstdint>
#include <string_view>

#include "frames/frame_records.h"
#include "frames/ubx_records.h"

namespace orlimo {

enum class TUBXMessage : std::uint8_t {
  None,  // a message the decoder does not read
  NavPosECEF,
  NavPosLLH,
  NavStatus,
  NavDOP,
  NavSol,
  NavPVT,
  NavVelNED,
  NavTimeUTC,
  NavSVInfo,
  NavSat,
  NavSig,
  MonVer,
  Ack,  // ACK-ACK and ACK-NAK
};

// What one frame was and how its decoding went.
struct TUBXDecoded {
  TFrameStatus Status = TFrameStatus::Invalid;
  TUBXMessage Message = TUBXMessage::None;  // the record filled (or, Malformed, not filled)
  std::uint8_t Class = 0;
  std::uint8_t Id = 0;
  std::uint16_t Length = 0;  // payload bytes
};

class TUBXDecoder {
 public:
  TUBXNavPosECEF NavPosECEF;
  TUBXNavPosLLH NavPosLLH;
  TUBXNavStatus NavStatus;
  TUBXNavDOP NavDOP;
  TUBXNavSol NavSol;
  TUBXNavPVT NavPVT;
  TUBXNavVelNED NavVelNED;
  TUBXNavTimeUTC NavTimeUTC;
  TFrameSatList NavSVInfo;
  TFrameSatList NavSat;
  TFrameSignalList NavSig;
  TUBXMonVer MonVer;
  TUBXAck Ack;

  // One whole frame, sync bytes to checksum; Invalid unless IsValidUBXFrame.
  TUBXDecoded Decode(std::string_view frame);
  // A payload whose frame was checked elsewhere.
  TUBXDecoded DecodePayload(std::uint8_t msgClass, std::uint8_t msgId, std::string_view payload);

  // The monitor's line for a frame just decoded, from the record it filled:
  // "UBX NAV-PVT 3D 12 SV 45.877592 S 170.500125 E"; a message not read gives its
  // name or numbers and size: "UBX NAV-EOE (4 bytes)", "UBX 0x01 0x3B (40 bytes)".
  TFrameText Describe(const TUBXDecoded& d) const;
};

}  // namespace orlimo
