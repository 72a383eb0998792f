#include "frames/frame_scan.h"

#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"

namespace orlimo {

TFoundFrame FindNextFrame(std::string_view bytes, std::size_t from) {
  constexpr std::string_view kStarts{"\xB5\xA0", 2};
  for (std::size_t p = bytes.find_first_of(kStarts, from); p != std::string_view::npos;
       p = bytes.find_first_of(kStarts, p + 1)) {
    const std::string_view head = bytes.substr(p);
    if (head.size() < 8) break;
    if (head.starts_with("\xB5\x62")) {
      const std::size_t size = UBXPayloadLength(head) + kUBXFrameOverhead;
      if (size <= head.size() && IsValidUBXFrame(head.substr(0, size))) {
        return {TFrameProtocol::UBX, p, head.substr(0, size)};
      }
    } else if (head.starts_with("\xA0\xA2")) {
      const std::size_t size = SiRFPayloadLength(head) + kSiRFFrameOverhead;
      if (size <= head.size() && IsValidSiRFFrame(head.substr(0, size))) {
        return {TFrameProtocol::SiRF, p, head.substr(0, size)};
      }
    }
  }
  return {};
}

}  // namespace orlimo
