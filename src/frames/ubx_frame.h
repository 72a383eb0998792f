// The UBX frame, little-endian length:
//
//   B5 62 | class | ID | length L (2, low first) | payload (L) | CK_A CK_B
//
// The checksum is the 8-bit Fletcher sum over class, ID, both length bytes and payload.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlimo {

inline constexpr std::size_t kUBXFrameOverhead = 8;  // sync, class, ID, length, checksum

// A = A + byte, B = B + A over every byte, both modulo 256; returns {A, B}.
std::array<std::uint8_t, 2> UBXChecksum(std::string_view bytes);

// B5 62, class, ID, length, payload (at most 0xFFFF bytes; longer ones are cut), checksum.
std::string BuildUBXFrame(std::uint8_t msgClass, std::uint8_t msgId, std::string_view payload);

// Sync bytes, a length that matches the frame's size, and a matching checksum.
bool IsValidUBXFrame(std::string_view frame);

// Fields of a frame; 0 or empty when the frame is too short to hold them.
std::uint8_t UBXClass(std::string_view frame);
std::uint8_t UBXId(std::string_view frame);
std::uint16_t UBXPayloadLength(std::string_view frame);
std::string_view UBXPayload(std::string_view frame);

// The first valid frame of that class and ID in `bytes` (any other data around it),
// from `from` on; empty when there is none.
std::string_view FindUBXFrame(std::string_view bytes, std::uint8_t msgClass, std::uint8_t msgId,
                              std::size_t from = 0);

}  // namespace orlimo
