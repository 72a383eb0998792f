#include "frames/sirf_frame.h"

namespace orlimo {
namespace {

std::uint8_t At(std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

}  // namespace

std::uint16_t SiRFPayloadLength(std::string_view frame) {
  if (frame.size() < 4) return 0;
  return static_cast<std::uint16_t>(At(frame, 2) << 8 | At(frame, 3));
}

std::string_view SiRFPayload(std::string_view frame) {
  if (frame.size() <= 4) return {};
  return frame.substr(4, SiRFPayloadLength(frame));
}

std::uint8_t SiRFMessageID(std::string_view frame) {
  return frame.size() < 5 ? 0 : At(frame, 4);
}

std::uint16_t SiRFChecksumField(std::string_view frame) {
  const std::size_t n = frame.size();
  if (n < 4) return 0;
  return static_cast<std::uint16_t>(At(frame, n - 4) << 8 | At(frame, n - 3));
}

std::uint16_t SiRFChecksum(std::string_view payload) {
  std::uint16_t sum = 0;
  for (unsigned char b : payload) sum = static_cast<std::uint16_t>(sum + b);
  return sum & 0x7FFF;
}

bool IsValidSiRFFrame(std::string_view frame) {
  const std::size_t n = frame.size();
  if (n < kSiRFFrameOverhead) return false;
  if (At(frame, 0) != 0xA0 || At(frame, 1) != 0xA2) return false;
  if (At(frame, n - 2) != 0xB0 || At(frame, n - 1) != 0xB3) return false;
  // A length that disagrees with the frame's size would put the checksum elsewhere.
  if (SiRFPayloadLength(frame) + kSiRFFrameOverhead != n) return false;
  return SiRFChecksumField(frame) == SiRFChecksum(SiRFPayload(frame));
}

std::string BuildSiRFFrame(std::string_view payload) {
  payload = payload.substr(0, kSiRFMaxPayload);
  const auto len = static_cast<std::uint16_t>(payload.size());
  const std::uint16_t sum = SiRFChecksum(payload);
  std::string out{'\xA0', '\xA2', static_cast<char>(len >> 8), static_cast<char>(len & 0xFF)};
  out.append(payload);
  out.push_back(static_cast<char>(sum >> 8));
  out.push_back(static_cast<char>(sum & 0xFF));
  out.append("\xB0\xB3");
  return out;
}

}  // namespace orlimo
