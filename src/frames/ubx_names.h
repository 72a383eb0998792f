// Names of UBX messages, for the monitor and as statistics keys.
#pragma once

#include <cstdint>
#include <string_view>

#include "frames/frame_records.h"

namespace orlimo {

// "NAV-PVT", "CFG-PRT", ... for the messages u-blox receivers commonly send or
// answer (read by the decoder or not); empty for any other class and ID.
std::string_view UBXMessageName(std::uint8_t msgClass, std::uint8_t msgId);

// "UBX-NAV-PVT"; "UBX-01-3B" for a message without a name.
TFrameKey UBXMessageKey(std::uint8_t msgClass, std::uint8_t msgId);

}  // namespace orlimo
