// The binary frames of the received stream for the raw-data log. The log takes them
// as they arrive, not from the once-a-second pass, whose buffer keeps only its last
// 4096 bytes: a fast binary line must lose no frame there either.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orlimo {

class RawLogHooks;

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
