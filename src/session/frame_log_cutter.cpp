#include "session/frame_log_cutter.h"

#include "frames/frame_scan.h"
#include "session/pipeline_hooks.h"

namespace orlimo {
namespace {
constexpr std::string_view kSyncFirstBytes{"\xB5\xA0", 2};
constexpr auto npos = std::string_view::npos;
}  // namespace

std::size_t PartialFrameStart(std::string_view bytes) {
  for (std::size_t at = 0; (at = bytes.find_first_of(kSyncFirstBytes, at)) != npos; ++at) {
    const std::string_view head = bytes.substr(at);
    if (head.size() < 2) return at;
    if (!head.starts_with("\xB5\x62") && !head.starts_with("\xA0\xA2")) continue;
    const std::size_t total = DeclaredFrameSize(head);
    if (total == 0) return at;  // its header is still arriving
    if (total > head.size() && total <= kMaxFrameWait) return at;
  }
  return bytes.size();
}

void FrameLogCutter::Feed(std::string_view chunk, RawLogHooks& log) {
  // A text-only line costs one look for a sync byte.
  if (carry_.empty() && chunk.find_first_of(kSyncFirstBytes) == npos) return;
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
