#include "measure/stream_statistics.h"

#include <cstdio>

#include "frames/frame_scan.h"
#include "frames/sirf_decoder.h"
#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "frames/ubx_names.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {
constexpr auto npos = std::string::npos;
// A '$' with no line end this far on begins no sentence: longer lines are noise.
constexpr std::size_t kMaxLine = 1024;
// Binary frames are judged whole; a length beyond this is noise, not a frame to wait for.
constexpr std::size_t kMaxFramePayload = 8192;
constexpr std::string_view kStarts{"$\xB5\xA0", 3};

void AppendJsonKey(std::string& out, std::string_view key) {
  out += '"';
  for (const char c : key) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) out += '?';
    else out += c;
  }
  out += "\":";
}
}  // namespace

std::string_view StreamStatistics::SentenceKey(std::string_view sentence) {
  std::string_view address = sentence.substr(sentence.empty() ? 0 : 1);
  address = address.substr(0, address.find_first_of(",*"));
  if (!address.empty() && address.front() == 'P') return address.substr(0, 4);
  return address.size() >= 5 ? address.substr(2) : address;
}

void StreamStatistics::Feed(std::string_view chunk) {
  carry_.append(chunk);
  std::size_t pos = 0;
  while (pos < carry_.size()) {
    const std::size_t start = carry_.find_first_of(kStarts, pos);
    if (start == npos) {
      junkBytes_ += carry_.size() - pos;
      pos = carry_.size();
      break;
    }
    junkBytes_ += start - pos;
    pos = start;
    const char c = carry_[pos];
    const std::size_t next = c == '$' ? TakeText(pos) : TakeFrame(pos);
    if (next == npos) break;  // the rest is still arriving
    pos = next;
  }
  carry_.erase(0, pos);
}

std::size_t StreamStatistics::TakeText(std::size_t pos) {
  const std::size_t end = carry_.find("\r\n", pos);
  if (end == npos || end - pos > kMaxLine) {
    if (end == npos && carry_.size() - pos <= kMaxLine) return npos;
    ++junkBytes_;
    return pos + 1;
  }
  // A frame that interrupted a line ends the line there.
  const std::string_view span = std::string_view(carry_).substr(pos, end - pos);
  for (const std::string_view sync : {std::string_view("\xB5\x62"), std::string_view("\xA0\xA2")}) {
    const std::size_t at = span.find(sync);
    if (at != npos) {
      junkBytes_ += at;
      return pos + at;
    }
  }
  // Noise before a sentence, up to its '$', is not part of it.
  const std::size_t dollar = span.rfind('$');
  junkBytes_ += dollar;
  const std::string_view line = span.substr(dollar);
  ++lines_;
  if (IsValidSentence(line)) {
    ++accepted_;
    Count(SentenceKey(line));
  } else if (line.size() >= 4 && line[line.size() - 3] == '*' && !ChecksumMatches(line)) {
    ++badChecksum_;
  } else {
    junkBytes_ += line.size() + 2;
  }
  return end + 2;
}

std::size_t StreamStatistics::TakeFrame(std::size_t pos) {
  const std::string_view head = std::string_view(carry_).substr(pos);
  if (head.size() < 2) return npos;
  const bool ubx = head.starts_with("\xB5\x62");
  if (!ubx && !head.starts_with("\xA0\xA2")) {
    ++junkBytes_;
    return pos + 1;
  }
  const std::size_t total = DeclaredFrameSize(head);
  if (total == 0) return npos;  // its header is still arriving
  const bool plausible = total - (ubx ? kUBXFrameOverhead : kSiRFFrameOverhead) <= kMaxFramePayload;
  if (plausible && head.size() < total) return npos;
  const std::string_view frame = head.substr(0, total);
  // A sync pattern inside noise: look again one byte on. Only SiRF's end mark tells a
  // damaged frame from noise.
  if (!plausible || (ubx ? !IsValidUBXFrame(frame) : !frame.ends_with("\xB0\xB3"))) {
    ++junkBytes_;
    return pos + 1;
  }
  ++lines_;
  if (!ubx && !IsValidSiRFFrame(frame)) {
    ++badChecksum_;
    return pos + total;
  }
  ++accepted_;
  Count(ubx ? UBXMessageKey(UBXClass(frame), UBXId(frame)).View() : SiRFMessageKey(SiRFMessageID(frame)).View());
  return pos + total;
}

void StreamStatistics::Count(std::string_view key) {
  auto it = perType_.find(key);
  if (it == perType_.end()) {
    if (perType_.size() >= kMaxKeys) key = kOtherKey;
    it = perType_.emplace(std::string(key), 0).first;
  }
  ++it->second;
}

void StreamStatistics::Tick() {
  history_.push_back(perType_);
  if (history_.size() > static_cast<std::size_t>(kRateSeconds) + 1) history_.pop_front();
}

void StreamStatistics::Clear() { *this = StreamStatistics(); }

std::map<std::string, double, std::less<>> StreamStatistics::PerSecond() const {
  std::map<std::string, double, std::less<>> rates;
  if (history_.size() < 2) return rates;
  const Counts& then = history_.front();
  const Counts& now = history_.back();
  const double seconds = static_cast<double>(history_.size() - 1);
  for (const auto& [key, count] : now) {
    const auto old = then.find(key);
    rates[key] = static_cast<double>(count - (old == then.end() ? 0 : old->second)) / seconds;
  }
  return rates;
}

std::string StreamStatistics::Json() const {
  std::string out = "{\"lines\":" + std::to_string(lines_);
  out.append(",\"accepted\":").append(std::to_string(accepted_));
  out.append(",\"bad_checksum\":").append(std::to_string(badChecksum_));
  out.append(",\"junk_bytes\":").append(std::to_string(junkBytes_));
  out.append(",\"per_type\":{");
  const char* comma = "";
  for (const auto& [key, count] : perType_) {
    out += comma;
    AppendJsonKey(out, key);
    out += std::to_string(count);
    comma = ",";
  }
  out.append("},\"per_second\":{");
  comma = "";
  for (const auto& [key, rate] : PerSecond()) {
    out += comma;
    AppendJsonKey(out, key);
    char number[32];
    std::snprintf(number, sizeof number, "%.1f", rate);
    out += number;
    comma = ",";
  }
  out += "}}";
  return out;
}

}  // namespace orlimo
