// UBX replies that both u-blox personalities send.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/sim_options.h"

namespace orlimo {

// ACK-ACK (ok) or ACK-NAK for the message of class `cls`, ID `id`.
std::string UbxAck(std::uint8_t cls, std::uint8_t id, bool ok);

// The answer to a CFG-MSG with this payload. A poll (class, ID) gets the message's rate
// on each of the four I/O targets (0 for anything but an NMEA message in `rates`); a
// setting of an NMEA message (class F0: one rate, or one per target, the second of which
// counts) changes `rates` and is acked; anything else is NAKed.
std::string UbxCfgMsgReply(std::string_view payload, SimUbxRates& rates);

}  // namespace orlimo
