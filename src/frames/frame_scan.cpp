#include "frames/frame_scan.h"

#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"

namespace orlimo {

std::size_t DeclaredFrameSize(std::string_view head) {
  if (head.starts_with("\xB5\x62") && head.size() >= 6) return UBXPayloadLength(head) + kUBXFrameOverhead;
  if (head.starts_with("\xA0\xA2") && head.size() >= 4) return SiRFPayloadLength(head) + kSiRFFrameOverhead;
  return 0;
}

TFoundFrame FindNextFrame(std::string_view bytes, std::size_t from) {
  constexpr std::string_view kStarts{"\xB5\xA0", 2};
  for (std::size_t p = bytes.find_first_of(kStarts, from); p != std::string_view::npos;
       p = bytes.find_first_of(kStarts, p + 1)) {
    const std::string_view head = bytes.substr(p);
    if (head.size() < 8) break;
    const std::size_t size = DeclaredFrameSize(head);
    if (size == 0 || size > head.size()) continue;
    const std::string_view frame = head.substr(0, size);
    if (frame[0] == '\xB5' && IsValidUBXFrame(frame)) return {TFrameProtocol::UBX, p, frame};
    if (frame[0] == '\xA0' && IsValidSiRFFrame(frame)) return {TFrameProtocol::SiRF, p, frame};
  }
  return {};
}

std::size_t PartialFrameStart(std::string_view bytes) {
  constexpr std::string_view kStarts{"\xB5\xA0", 2};
  for (std::size_t at = 0; (at = bytes.find_first_of(kStarts, at)) != std::string_view::npos; ++at) {
    const std::string_view head = bytes.substr(at);
    if (head.size() < 2) return at;
    if (!head.starts_with("\xB5\x62") && !head.starts_with("\xA0\xA2")) continue;
    const std::size_t total = DeclaredFrameSize(head);
    if (total == 0) return at;  // its header is still arriving
    if (total > head.size() && total <= kMaxFrameWait) return at;
  }
  return bytes.size();
}

// Two scans for one byte each run vectorised; a scan for either byte tests every
// byte against the set, ten times the instructions over a pass of text.
bool MayHoldFrame(std::string_view bytes) {
  return bytes.find('\xB5') != std::string_view::npos || bytes.find('\xA0') != std::string_view::npos;
}

}  // namespace orlimo
