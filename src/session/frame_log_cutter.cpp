#include "session/frame_log_cutter.h"

#include "frames/frame_scan.h"
#include "session/pipeline_hooks.h"

namespace orlimo {

void FrameLogCutter::Feed(std::string_view chunk, RawLogHooks& log) {
  // A text-only line costs one look for a sync byte.
  if (carry_.empty() && !MayHoldFrame(chunk)) return;
  carry_.append(chunk);
  const std::string_view buf = carry_;
  std::size_t at = 0;
  for (TFoundFrame f; (f = FindNextFrame(buf, at)).Protocol != TFrameProtocol::None;) {
    log.AddLogFrame(f.Protocol, f.Frame);
    at = f.Offset + f.Frame.size();
  }
  carry_.erase(0, at + PartialFrameStart(buf.substr(at)));
}

}  // namespace orlimo
