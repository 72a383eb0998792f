#include "sim/capture_cutter.h"

#include <algorithm>
#include <cmath>

#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

constexpr double kNoTime = CaptureRecord::kNoTime;
// Longer lines and runs of other bytes are cut, so that no record and no cycle
// grows with the file (a file of junk without line ends, say).
constexpr std::size_t kMaxLine = 4096;
constexpr std::size_t kMaxCycle = 65536;
// The cutter drops the bytes it no longer needs once there are this many.
constexpr std::size_t kCompactAt = 65536;

std::size_t U8(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool CommentByte(unsigned char c) { return (c >= 0x20 || c == '\t' || c == '\r') && c <= 0x7E; }

// "hhmmss" or "hhmmss.ss" as seconds of the day.
double ParseTime(std::string_view f) {
  if (f.size() < 6) return kNoTime;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const bool digit = f[i] >= '0' && f[i] <= '9';
    if (i < 6 ? !digit : !(digit || (i == 6 && f[i] == '.'))) return kNoTime;
  }
  const auto two = [&](std::size_t i) { return (f[i] - '0') * 10 + (f[i + 1] - '0'); };
  if (two(0) > 23 || two(2) > 59 || two(4) > 60) return kNoTime;
  double fraction = 0;
  for (std::size_t i = f.size(); i > 7; --i) fraction = (fraction + (f[i - 1] - '0')) / 10;
  return two(0) * 3600.0 + two(2) * 60.0 + two(4) + fraction;
}

// The field of the solution's time in a sentence of this address; -1 when it has none.
int TimeField(std::string_view address) {
  if (address == "$PSRFEPE") return 1;
  if (address.size() != 6 || address[1] == 'P') return -1;
  const std::string_view type = address.substr(3);
  if (type == "GLL") return 5;
  for (std::string_view t : {"RMC", "GGA", "GNS", "ZDA", "GST", "GBS", "GRS"})
    if (type == t) return 1;
  return -1;
}

std::string_view Field(std::string_view body, int n) {
  body = body.substr(0, body.find('*'));
  std::size_t pos = 0;
  for (int i = 0; i < n; ++i) {
    pos = body.find(',', pos);
    if (pos == std::string_view::npos) return {};
    ++pos;
  }
  return body.substr(pos, body.find(',', pos) - pos);
}

void AppendRecord(std::string& out, std::string_view stream, const CaptureRecord& r) {
  const std::string_view bytes = stream.substr(r.pos, r.len);
  // Many captures were stored with bare LF line ends; a receiver sends CR LF.
  if (bytes.size() >= 2 && bytes.front() == '$' && bytes.back() == '\n' && bytes[bytes.size() - 2] != '\r') {
    out.append(bytes.substr(0, bytes.size() - 1));
    out.append("\r\n");
  } else {
    out.append(bytes);
  }
}

}  // namespace

CaptureRecord NextCaptureRecord(std::string_view stream, std::size_t pos) {
  const std::string_view s = stream.substr(pos);
  CaptureRecord r;
  r.pos = pos;
  const unsigned char c = static_cast<unsigned char>(s[0]);
  const std::size_t eol = c == '$' ? s.substr(0, kMaxLine).find('\n') : std::string_view::npos;
  if (c == '$' && (eol != std::string_view::npos || s.size() <= kMaxLine)) {
    r.len = eol == std::string_view::npos ? s.size() : eol + 1;
    std::string_view body = s.substr(0, r.len);
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.remove_suffix(1);
    r.checked = IsValidSentence(body);
    const std::size_t comma = body.find(',');
    const std::string_view address = body.substr(0, comma == std::string_view::npos ? 6 : comma);
    r.key = std::string(address);
    // A GSV message counts with its number: up to the third comma.
    if (address.size() == 6 && address.substr(3) == "GSV" && comma != std::string_view::npos) {
      const std::size_t second = body.find(',', comma + 1);
      const std::size_t third = second == std::string_view::npos ? second : body.find(',', second + 1);
      if (third != std::string_view::npos) r.key = std::string(body.substr(0, third));
    }
    const int timeField = TimeField(address);
    r.anchor = timeField >= 0 || (address.size() == 6 && address[1] != 'P' && address.substr(3) == "VTG");
    if (timeField >= 0) r.time = ParseTime(Field(body, timeField));
    return r;
  }
  if (s.size() >= 8 && c == 0xA0 && U8(s, 1) == 0xA2) {
    const std::size_t total = (U8(s, 2) << 8 | U8(s, 3)) + 8;
    if (total <= s.size() && U8(s, total - 2) == 0xB0 && U8(s, total - 1) == 0xB3) {
      r.len = total;
      r.key = "sirf" + std::to_string(U8(s, 4));
      r.anchor = true;
      r.checked = IsValidSiRFFrame(s.substr(0, total));
      return r;
    }
  }
  if (s.size() >= 8 && c == 0xB5 && U8(s, 1) == 0x62) {
    const std::size_t total = (U8(s, 5) << 8 | U8(s, 4)) + 8;
    if (total <= s.size()) {
      r.len = total;
      r.key = "ubx" + std::to_string(U8(s, 2)) + "." + std::to_string(U8(s, 3));
      r.anchor = U8(s, 2) != 0x04;  // INF frames are text, as many as there is to say
      r.checked = IsValidUBXFrame(s.substr(0, total));
      return r;
    }
  }
  // Anything else runs to the next byte that could start a record; a '$' line too long
  // to be a sentence is cut into such runs.
  std::size_t n = c == '$' ? std::min(s.size(), kMaxLine) : 1;
  while (n < s.size() && n < kMaxLine) {
    const unsigned char d = static_cast<unsigned char>(s[n]);
    if (d == '$' || d == 0xA0 || d == 0xB5) break;
    ++n;
  }
  r.len = n;
  return r;
}

void CaptureCommentFilter::Feed(std::string_view piece, std::string& out) {
  std::size_t i = 0;
  while (i < piece.size()) {
    switch (state_) {
      case State::LineStart:
        if (piece[i] == '#') {
          state_ = State::Comment;
          comment_.assign(1, '#');
          ++i;
        } else {
          state_ = State::Data;
        }
        break;
      case State::Data: {
        // To the line's end at once.
        const std::size_t eol = piece.find('\n', i);
        const std::size_t end = eol == std::string_view::npos ? piece.size() : eol + 1;
        out.append(piece.substr(i, end - i));
        i = end;
        if (eol != std::string_view::npos) state_ = State::LineStart;
        break;
      }
      case State::Comment: {
        const auto c = static_cast<unsigned char>(piece[i]);
        if (c == '\n') {  // a comment: dropped with its line end
          comment_.clear();
          state_ = State::LineStart;
          ++i;
        } else if (CommentByte(c) && comment_.size() < kMaxComment) {
          comment_.push_back(static_cast<char>(c));
          ++i;
        } else {  // binary data that begins with '#', or no comment at all
          out.append(comment_);
          comment_.clear();
          state_ = State::Data;
        }
        break;
      }
    }
  }
}

bool CaptureCutter::OpenCycle::NewCycleAt(const CaptureRecord& r, bool anchored) const {
  if (records_.empty()) return false;
  if (bytes_ + r.len > kMaxCycle) return true;
  if (!anchored) return !r.key.empty() && keys_.count(r.key) != 0;
  if (!r.anchor) return false;
  if (r.time != kNoTime && time_ != kNoTime && std::fabs(r.time - time_) > 0.0005) return true;
  return anchorKeys_.count(r.key) != 0;
}

// The run of records after the last anchor joins the next cycle from the first record
// whose key the cycle held before that run.
std::size_t CaptureCutter::OpenCycle::Cut(bool anchored) const {
  if (!anchored) return records_.size();
  std::size_t run = records_.size();
  while (run > 0 && !records_[run - 1].anchor) --run;
  if (run == 0) return records_.size();
  std::unordered_set<std::string_view> before;
  for (std::size_t i = 0; i < run; ++i) before.insert(records_[i].key);
  for (std::size_t k = run; k < records_.size(); ++k)
    if (!records_[k].key.empty() && before.count(records_[k].key) != 0) return k;
  return records_.size();
}

std::string CaptureCutter::OpenCycle::Close(std::string_view stream, std::size_t cut) {
  cut = std::min(cut, records_.size());
  std::string bytes;
  for (std::size_t i = 0; i < cut; ++i) AppendRecord(bytes, stream, records_[i]);
  records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(cut));
  keys_.clear();
  anchorKeys_.clear();
  time_ = kNoTime;
  bytes_ = 0;
  std::vector<CaptureRecord> rest = std::move(records_);
  records_.clear();
  for (CaptureRecord& r : rest) Add(std::move(r));
  return bytes;
}

void CaptureCutter::OpenCycle::Add(CaptureRecord r) {
  bytes_ += r.len;
  if (r.time != kNoTime) time_ = r.time;
  if (!r.key.empty()) {
    keys_.insert(r.key);
    if (r.anchor) anchorKeys_.insert(r.key);
  }
  records_.push_back(std::move(r));
}

void CaptureCutter::OpenCycle::Rebase(std::size_t by) {
  for (CaptureRecord& r : records_) r.pos -= by;
}

void CaptureCutter::Feed(std::string_view piece) {
  if (buf_.size() + piece.size() > buf_.capacity()) {
    Compact(true);
    if (buf_.size() + piece.size() > buf_.capacity()) buf_.reserve(buf_.size() + piece.size());
  }
  buf_.insert(buf_.end(), piece.begin(), piece.end());
  // A record is cut only once the bytes it may span are there.
  if (buf_.size() > kCaptureLookahead) Take(buf_.size() - kCaptureLookahead);
}

void CaptureCutter::Finish() {
  Take(buf_.size());
  if (!cycle_.Empty()) Push(cycle_.Close(Stream(), std::string_view::npos));
  buf_.clear();
  parsed_ = 0;
}

std::optional<std::string> CaptureCutter::TakeCycle() {
  if (ready_.empty()) return std::nullopt;
  std::string cycle = std::move(ready_.front());
  ready_.pop_front();
  readyBytes_ -= cycle.size();
  return cycle;
}

void CaptureCutter::Take(std::size_t limit) {
  while (parsed_ < limit) {
    CaptureRecord r = NextCaptureRecord(Stream(), parsed_);
    parsed_ += r.len;
    sawChecked_ = sawChecked_ || r.checked;
    sawAnchor_ = sawAnchor_ || r.anchor;
    if (cycle_.NewCycleAt(r, anchored_)) Push(cycle_.Close(Stream(), cycle_.Cut(anchored_)));
    cycle_.Add(std::move(r));
  }
  Compact(false);
}

void CaptureCutter::Push(std::string cycle) {
  if (cycle.empty()) return;
  readyBytes_ += cycle.size();
  ready_.push_back(std::move(cycle));
}

void CaptureCutter::Compact(bool force) {
  const std::size_t dead = std::min(cycle_.FirstPos(), parsed_);
  if (dead == 0 || (!force && dead < kCompactAt)) return;
  buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(dead));
  parsed_ -= dead;
  cycle_.Rebase(dead);
}

}  // namespace orlimo
