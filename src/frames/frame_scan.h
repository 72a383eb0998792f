// Finding UBX and SiRF binary frames in a stream of bytes that may mix them with
// NMEA text and noise (a capture file, a receive buffer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orlimo {

enum class TFrameProtocol : std::uint8_t { None, UBX, SiRF };

struct TFoundFrame {
  TFrameProtocol Protocol = TFrameProtocol::None;
  std::size_t Offset = std::string_view::npos;  // of the frame's first byte
  std::string_view Frame;                       // sync bytes to checksum (SiRF: to B0 B3)
};

// Whether any byte of `bytes` could start a frame (a UBX or SiRF first sync byte): the
// cheap look that lets text without one skip the frame search.
bool MayHoldFrame(std::string_view bytes);

// The size, sync bytes to end, that a frame beginning at head[0] declares; 0 when head
// does not begin with a UBX or SiRF sync or is too short to tell.
std::size_t DeclaredFrameSize(std::string_view head);

// A declared frame longer than this is noise, not a frame worth waiting for.
inline constexpr std::size_t kMaxFrameWait = 2048;

// Where a UBX or SiRF frame that has begun but not yet ended (and declares at most
// kMaxFrameWait bytes) starts in `bytes`; the size of `bytes` when none does.
std::size_t PartialFrameStart(std::string_view bytes);

// The first whole frame with a correct checksum starting at or after `from`;
// Protocol None when there is none. Continue from Offset + Frame.size().
TFoundFrame FindNextFrame(std::string_view bytes, std::size_t from = 0);

}  // namespace orlimo
