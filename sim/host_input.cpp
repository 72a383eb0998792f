#include "sim/host_input.h"

#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

constexpr std::size_t kMaxLine = 200;        // longer "sentences" are noise
constexpr std::size_t kMaxSiRFPayload = 1023;
constexpr std::size_t kMaxUBXPayload = 1024;
constexpr std::size_t kMaxBuffer = 4096;

bool Printable(std::string_view s) {
  for (unsigned char c : s) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

std::size_t U8(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

}  // namespace

void HostInputParser::Feed(std::string_view bytes, std::vector<HostMessage>& out) {
  buf_.append(bytes);
  while (Step(out)) {
  }
  if (buf_.size() > kMaxBuffer) buf_.erase(0, buf_.size() - kMaxBuffer);
}

bool HostInputParser::Step(std::vector<HostMessage>& out) {
  // Skip to the first byte that can begin a message.
  std::size_t start = 0;
  while (start < buf_.size()) {
    const unsigned char c = static_cast<unsigned char>(buf_[start]);
    if (c == '$' || c == 0xA0 || c == 0xB5) break;
    ++start;
  }
  buf_.erase(0, start);
  if (buf_.empty()) return false;

  const unsigned char lead = static_cast<unsigned char>(buf_[0]);
  if (lead == '$') {
    const std::size_t eol = buf_.find_first_of("\r\n");
    const std::size_t nextDollar = buf_.find('$', 1);
    if (nextDollar != std::string::npos && (eol == std::string::npos || nextDollar < eol)) {
      buf_.erase(0, nextDollar);  // a cut sentence: start again at the next '$'
      return true;
    }
    if (eol == std::string::npos) {
      if (buf_.size() > kMaxLine) {
        buf_.erase(0, 1);
        return true;
      }
      return false;
    }
    const std::string line = buf_.substr(0, eol);
    buf_.erase(0, eol + 1);
    // A sentence without '*' carries no checksum; one with it must match, upper case.
    const bool ok = Printable(line) && line.size() > 1 &&
                    (line.find('*') == std::string::npos || IsValidSentence(line));
    if (ok) {
      ++accepted_;
      out.push_back({HostMessage::Kind::Nmea, line});
    } else {
      ++rejected_;
    }
    return true;
  }

  if (buf_.size() < 2) return false;
  const unsigned char second = static_cast<unsigned char>(buf_[1]);
  const bool sirf = lead == 0xA0 && second == 0xA2;
  const bool ubx = lead == 0xB5 && second == 0x62;
  if (!sirf && !ubx) {
    buf_.erase(0, 1);
    return true;
  }
  if (buf_.size() < 6) return false;
  const std::size_t len = sirf ? (U8(buf_, 2) << 8 | U8(buf_, 3)) : (U8(buf_, 5) << 8 | U8(buf_, 4));
  if (len > (sirf ? kMaxSiRFPayload : kMaxUBXPayload)) {
    ++rejected_;
    buf_.erase(0, 1);
    return true;
  }
  const std::size_t total = len + 8;
  if (buf_.size() < total) return false;
  const std::string_view frame(buf_.data(), total);
  if (sirf ? IsValidSiRFFrame(frame) : IsValidUBXFrame(frame)) {
    ++accepted_;
    out.push_back({sirf ? HostMessage::Kind::SiRF : HostMessage::Kind::UBX, std::string(frame)});
    buf_.erase(0, total);
  } else {
    ++rejected_;
    buf_.erase(0, 1);  // not a frame after all: look again from the next byte
  }
  return true;
}

}  // namespace orlimo
