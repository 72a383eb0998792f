#include "sim/ubx_replies.h"

#include "frames/ubx_frame.h"

namespace orlimo {

std::string UbxAck(std::uint8_t cls, std::uint8_t id, bool ok) {
  return BuildUBXFrame(0x05, ok ? 0x01 : 0x00, std::string{static_cast<char>(cls), static_cast<char>(id)});
}

std::string UbxCfgMsgReply(std::string_view payload, SimUbxRates& rates) {
  if (payload.size() == 2) {
    const auto msg = static_cast<std::uint8_t>(payload[1]);
    const std::uint8_t r = msg < rates.size() && static_cast<std::uint8_t>(payload[0]) == 0xF0 ? rates[msg] : 0;
    // Class, ID, then the rate on each of the four I/O targets.
    const std::string reply{payload[0], payload[1], static_cast<char>(r), static_cast<char>(r),
                            static_cast<char>(r), static_cast<char>(r)};
    return BuildUBXFrame(0x06, 0x01, reply);
  }
  if (payload.size() >= 3 && static_cast<std::uint8_t>(payload[0]) == 0xF0) {
    const auto msg = static_cast<std::uint8_t>(payload[1]);
    const bool ok = msg < rates.size();
    if (ok) rates[msg] = static_cast<std::uint8_t>(payload[payload.size() >= 4 ? 3 : 2]);
    return UbxAck(0x06, 0x01, ok);
  }
  return UbxAck(0x06, 0x01, false);
}

}  // namespace orlimo
