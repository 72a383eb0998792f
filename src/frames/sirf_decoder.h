// The SiRF binary decoder object: reads whole frames into the record of their
// message, keeps the latest of each and says in one line what a frame held. The
// program keeps one for the whole run; decoding never allocates.
#pragma once

#include <cstdint>
#include <string_view>

#include "frames/frame_records.h"
#include "frames/sirf_records.h"

namespace orlimo {

enum class TSiRFMessage : std::uint8_t {
  None,             // a message the decoder does not read
  NavData,          // 2
  TrackerData,      // 4
  SoftwareVersion,  // 6
  GeodeticNav,      // 41
};

struct TSiRFDecoded {
  TFrameStatus Status = TFrameStatus::Invalid;
  TSiRFMessage Message = TSiRFMessage::None;  // the record filled (or, Malformed, not filled)
  std::uint8_t Id = 0;
  std::uint16_t Length = 0;  // payload bytes, the message ID included
};

class TSiRFDecoder {
 public:
  TSiRFNavData NavData;
  TSiRFTrackerData Tracker;
  TSiRFVersion Version;
  TSiRFGeodeticNav GeodeticNav;

  // One whole frame, A0 A2 to B0 B3; Invalid unless IsValidSiRFFrame.
  TSiRFDecoded Decode(std::string_view frame);
  // A payload (message ID first) whose frame was checked elsewhere.
  TSiRFDecoded DecodePayload(std::string_view payload);

  // "SiRF 41 3D 8 SV 45.87759 S 170.50012 E"; a message not read: "SiRF 255 (12 bytes)".
  TFrameText Describe(const TSiRFDecoded& d) const;

 private:
  // Tracker data names no satellite as used: message 2 lists them. Whichever of
  // the two comes later in an epoch (the same time of week) marks the tracker's
  // satellites; until then none is used.
  void MarkUsed();
};

// "SIRF-41".
TFrameKey SiRFMessageKey(std::uint8_t id);

}  // namespace orlimo
