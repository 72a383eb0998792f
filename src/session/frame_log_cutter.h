// The binary frames of the received stream for the raw-data log. The log takes them
// as they arrive, not from the once-a-second pass, whose buffer keeps only its last
// 4096 bytes: a fast binary line must lose no frame there either.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orlimo {

class RawLogHooks;

// A declared frame longer than this is noise, not a frame worth waiting for.
inline constexpr std::size_t kMaxFrameWait = 2048;

// Where a UBX or SiRF frame that has begun but not yet ended starts in `bytes`; the
// size of `bytes` when none does.
std::size_t PartialFrameStart(std::string_view bytes);

class FrameLogCutter {
 public:
  // Hands every whole frame with a correct checksum that the chunk completes to the
  // log, in arrival order, and keeps the start of one still arriving.
  void Feed(std::string_view chunk, RawLogHooks& log);
  // Logging paused or stopped: what was kept no longer joins what comes next.
  void Reset() { carry_.clear(); }

 private:
  std::string carry_;  // the start of a frame still arriving, at most kMaxFrameWait bytes
};

}  // namespace orlimo
