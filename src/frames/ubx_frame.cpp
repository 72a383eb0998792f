#include "frames/ubx_frame.h"

namespace orlimo {
namespace {

std::uint8_t At(std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

}  // namespace

std::array<std::uint8_t, 2> UBXChecksum(std::string_view bytes) {
  std::uint8_t a = 0, b = 0;
  for (unsigned char c : bytes) {
    a = static_cast<std::uint8_t>(a + c);
    b = static_cast<std::uint8_t>(b + a);
  }
  return {a, b};
}

std::string BuildUBXFrame(std::uint8_t msgClass, std::uint8_t msgId, std::string_view payload) {
  payload = payload.substr(0, 0xFFFF);
  const auto len = static_cast<std::uint16_t>(payload.size());
  std::string body{static_cast<char>(msgClass), static_cast<char>(msgId),
                   static_cast<char>(len & 0xFF), static_cast<char>(len >> 8)};
  body.append(payload);
  const auto ck = UBXChecksum(body);
  std::string out = "\xB5\x62";
  out.append(body);
  out.push_back(static_cast<char>(ck[0]));
  out.push_back(static_cast<char>(ck[1]));
  return out;
}

std::uint8_t UBXClass(std::string_view frame) { return frame.size() < 3 ? 0 : At(frame, 2); }
std::uint8_t UBXId(std::string_view frame) { return frame.size() < 4 ? 0 : At(frame, 3); }

std::uint16_t UBXPayloadLength(std::string_view frame) {
  if (frame.size() < 6) return 0;
  return static_cast<std::uint16_t>(At(frame, 5) << 8 | At(frame, 4));
}

std::string_view UBXPayload(std::string_view frame) {
  if (frame.size() <= 6) return {};
  return frame.substr(6, UBXPayloadLength(frame));
}

bool IsValidUBXFrame(std::string_view frame) {
  const std::size_t n = frame.size();
  if (n < kUBXFrameOverhead || At(frame, 0) != 0xB5 || At(frame, 1) != 0x62) return false;
  if (UBXPayloadLength(frame) + kUBXFrameOverhead != n) return false;
  const auto ck = UBXChecksum(frame.substr(2, n - 4));
  return ck[0] == At(frame, n - 2) && ck[1] == At(frame, n - 1);
}

std::string_view FindUBXFrame(std::string_view bytes, std::uint8_t msgClass, std::uint8_t msgId,
                              std::size_t from) {
  for (std::size_t p = bytes.find("\xB5\x62", from); p != std::string_view::npos;
       p = bytes.find("\xB5\x62", p + 2)) {
    if (bytes.size() - p < kUBXFrameOverhead) break;
    const std::string_view head = bytes.substr(p);
    const std::size_t size = UBXPayloadLength(head) + kUBXFrameOverhead;
    if (size > head.size()) continue;  // cut off, or sync bytes inside other data
    const std::string_view frame = head.substr(0, size);
    if (UBXClass(frame) == msgClass && UBXId(frame) == msgId && IsValidUBXFrame(frame)) return frame;
  }
  return {};
}

}  // namespace orlimo
