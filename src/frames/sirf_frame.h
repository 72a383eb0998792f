// The SiRF binary frame, big-endian throughout:
//
//   A0 A2 | length L (2, high first) | payload (L, first byte = message ID)
//         | checksum (2, high first) | B0 B3
//
// The checksum is the sum of the payload bytes kept to 16 bits, ANDed with 0x7FFF.
// The accessors take a byte string holding one whole frame; on a string too short for
// the field asked for they return 0 or the bytes that are there, never read past it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orlimo {

inline constexpr std::size_t kSiRFFrameOverhead = 8;  // start, length, checksum, end
inline constexpr std::size_t kSiRFMaxPayload = 0x7FFF;

// Bytes 3 and 4 as a big-endian number; 0 when the frame has fewer than 4 bytes.
std::uint16_t SiRFPayloadLength(std::string_view frame);

// The L bytes after the length (fewer when the frame is cut short).
std::string_view SiRFPayload(std::string_view frame);

// Byte 5, the first payload byte; 0 when absent.
std::uint8_t SiRFMessageID(std::string_view frame);

// The two bytes before the last two, big-endian; 0 when the frame has fewer than 4 bytes.
std::uint16_t SiRFChecksumField(std::string_view frame);

// 16-bit sum of the bytes, ANDed with 0x7FFF.
std::uint16_t SiRFChecksum(std::string_view payload);

// A0 A2 first, B0 B3 last, a length that matches the frame's size, and a checksum field
// equal to the checksum of the payload.
bool IsValidSiRFFrame(std::string_view frame);

// The whole frame around a payload (at most kSiRFMaxPayload bytes; longer ones are cut).
std::string BuildSiRFFrame(std::string_view payload);

}  // namespace orlimo
