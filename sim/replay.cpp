#include "sim/replay.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unordered_set>

#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

constexpr double kNoTime = -1;
// Longer lines and runs of other bytes are cut, so that no record and no cycle
// grows with the file (a file of junk without line ends, say).
constexpr std::size_t kMaxLine = 4096;
constexpr std::size_t kMaxCycle = 65536;
constexpr std::array<int, 5> kReplayRates = {9600, 19200, 38400, 57600, 115200};

bool IsCommentLine(std::string_view line) {
  if (line.empty() || line[0] != '#') return false;
  for (unsigned char c : line) {
    if ((c < 0x20 && c != '\t' && c != '\r') || c > 0x7E) return false;  // binary data, not a comment
  }
  return true;
}

std::size_t U8(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

struct Record {
  std::size_t pos = 0, len = 0;
  std::string key;        // for spotting repeats; empty for a run of other bytes
  double time = kNoTime;  // second of the day the sentence carries
  bool anchor = false;    // sent once a cycle
  bool checked = false;   // a sentence or frame whose checksum is right
};

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

// The record at `pos` of the stream.
Record NextRecord(std::string_view stream, std::size_t pos) {
  const std::string_view s = stream.substr(pos);
  Record r;
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

// Calls `fn` with each record of the stream in order.
template <typename Fn>
void ForEachRecord(std::string_view stream, Fn&& fn) {
  for (std::size_t pos = 0; pos < stream.size();) {
    Record r = NextRecord(stream, pos);
    pos += r.len;
    if (!fn(std::move(r))) return;
  }
}

void AppendRecord(std::string& out, std::string_view stream, const Record& r) {
  const std::string_view bytes = stream.substr(r.pos, r.len);
  // Many captures were stored with bare LF line ends; a receiver sends CR LF.
  if (bytes.size() >= 2 && bytes.front() == '$' && bytes.back() == '\n' && bytes[bytes.size() - 2] != '\r') {
    out.append(bytes.substr(0, bytes.size() - 1));
    out.append("\r\n");
  } else {
    out.append(bytes);
  }
}

// The cycle being built: its records and what a new record is compared with.
class OpenCycle {
 public:
  bool Empty() const { return records_.empty(); }

  // Does `r` begin the next cycle?
  bool NewCycleAt(const Record& r, bool anchored) const {
    if (records_.empty()) return false;
    if (bytes_ + r.len > kMaxCycle) return true;
    if (!anchored) return !r.key.empty() && keys_.count(r.key) != 0;
    if (!r.anchor) return false;
    if (r.time != kNoTime && time_ != kNoTime && std::fabs(r.time - time_) > 0.0005) return true;
    return anchorKeys_.count(r.key) != 0;
  }

  // Where the next cycle starts: the run of records after the last anchor joins it
  // from the first record whose key the cycle held before that run.
  std::size_t Cut(bool anchored) const {
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

  // The bytes of the records before `cut`; those after it begin the next cycle.
  std::string Close(std::string_view stream, std::size_t cut) {
    cut = std::min(cut, records_.size());
    std::string bytes;
    for (std::size_t i = 0; i < cut; ++i) AppendRecord(bytes, stream, records_[i]);
    records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(cut));
    keys_.clear();
    anchorKeys_.clear();
    time_ = kNoTime;
    bytes_ = 0;
    std::vector<Record> rest = std::move(records_);
    records_.clear();
    for (Record& r : rest) Add(std::move(r));
    return bytes;
  }

  void Add(Record r) {
    bytes_ += r.len;
    if (r.time != kNoTime) time_ = r.time;
    if (!r.key.empty()) {
      keys_.insert(r.key);
      if (r.anchor) anchorKeys_.insert(r.key);
    }
    records_.push_back(std::move(r));
  }

 private:
  std::vector<Record> records_;
  std::unordered_set<std::string> keys_, anchorKeys_;
  double time_ = kNoTime;
  std::size_t bytes_ = 0;
};

// The time of the first sentence of the cycle that carries one.
double CycleTime(std::string_view cycle) {
  double t = kNoTime;
  ForEachRecord(cycle, [&](Record r) {
    t = r.time;
    return t == kNoTime;
  });
  return t;
}

std::string Seconds(double s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3g s", s);
  return buf;
}

}  // namespace

std::string StripCaptureComments(std::string_view capture) {
  std::string out;
  out.reserve(capture.size());
  std::size_t pos = 0;
  while (pos < capture.size()) {
    const std::size_t eol = capture.find('\n', pos);
    const std::size_t end = eol == std::string_view::npos ? capture.size() : eol + 1;
    const std::string_view line = capture.substr(pos, end - pos);
    std::string_view body = line;
    if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
    if (!IsCommentLine(body)) out.append(line);
    pos = end;
  }
  return out;
}

std::vector<std::string> SplitIntoCycles(std::string_view stream) {
  bool anchored = false;
  ForEachRecord(stream, [&](Record r) {
    anchored = r.anchor;
    return !anchored;
  });
  std::vector<std::string> cycles;
  OpenCycle cycle;
  ForEachRecord(stream, [&](Record r) {
    if (cycle.NewCycleAt(r, anchored)) cycles.push_back(cycle.Close(stream, cycle.Cut(anchored)));
    cycle.Add(std::move(r));
    return true;
  });
  if (!cycle.Empty()) cycles.push_back(cycle.Close(stream, std::string_view::npos));
  return cycles;
}

double CaptureInterval(const std::vector<std::string>& cycles) {
  std::vector<double> steps;
  double last = kNoTime;
  for (const std::string& c : cycles) {
    const double t = CycleTime(c);
    if (t == kNoTime) continue;
    if (last != kNoTime) {
      double step = t - last;
      if (step < -43200) step += 86400;  // past midnight
      if (step > 0.0005 && step < 3600) steps.push_back(step);
    }
    last = t;
  }
  if (steps.empty()) return 1.0;
  const auto mid = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
  std::nth_element(steps.begin(), mid, steps.end());
  // Times are stamped to the millisecond at best.
  return std::clamp(std::round(*mid * 1000) / 1000, 0.05, 5.0);
}

std::optional<std::vector<std::string>> LoadReplay(const std::string& path) {
  std::string why;
  return LoadReplay(path, why);
}

std::optional<std::vector<std::string>> LoadReplay(const std::string& path, std::string& why) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (!fs::exists(st)) {
    why = path + " does not exist";
    return std::nullopt;
  }
  if (fs::is_directory(st)) {
    why = path + " is a folder, not a capture";
    return std::nullopt;
  }
  if (!fs::is_regular_file(st)) {
    why = path + " is not a file";  // a FIFO or a device could block or never end
    return std::nullopt;
  }
  const auto tooLarge = [&] {
    why = path + " is larger than " + std::to_string(kReplayFileLimit >> 20) + " MiB, too large to replay";
    return std::nullopt;
  };
  const std::uintmax_t size = fs::file_size(path, ec);
  if (!ec && size > kReplayFileLimit) return tooLarge();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = path + " cannot be read: " + std::strerror(errno);
    return std::nullopt;
  }
  std::string stream;
  {
    std::string raw;
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
      raw.append(buf, static_cast<std::size_t>(in.gcount()));
      if (raw.size() > kReplayFileLimit) return tooLarge();  // it grew while read
    }
    if (in.bad()) {
      why = path + " cannot be read";
      return std::nullopt;
    }
    if (raw.empty()) {
      why = path + " is empty";
      return std::nullopt;
    }
    stream = StripCaptureComments(raw);
  }
  bool data = false;
  ForEachRecord(stream, [&](Record r) {
    data = r.checked;
    return !data;
  });
  if (!data) {
    why = path + " holds no NMEA sentence and no SiRF or UBX frame with a correct checksum";
    return std::nullopt;
  }
  return SplitIntoCycles(stream);
}

double LineSeconds(std::size_t bytes, int rate) {
  return static_cast<double>(bytes) * 11.0 / std::max(rate, 1);
}

int ReplayRate(const std::vector<std::string>& cycles, int speed) {
  std::size_t longest = 0;
  for (const std::string& c : cycles) longest = std::max(longest, c.size());
  const double interval = CaptureInterval(cycles) / std::max(speed, 1);
  for (int rate : kReplayRates)
    if (LineSeconds(longest, rate) <= interval) return rate;
  return kReplayRates.back();
}

std::string ReplayPaceNote(const std::vector<std::string>& cycles, int rate, int speed) {
  const double interval = CaptureInterval(cycles) / std::max(speed, 1);
  std::size_t slow = 0, longest = 0;
  for (const std::string& c : cycles) {
    longest = std::max(longest, c.size());
    if (LineSeconds(c.size(), rate) > interval) ++slow;
  }
  if (slow == 0) return {};
  std::string note = "at " + std::to_string(rate) + " bit/s " + std::to_string(slow) + " of its " +
                     std::to_string(cycles.size()) + " cycles (up to " + std::to_string(longest) +
                     " bytes, " + Seconds(LineSeconds(longest, rate)) + ") take longer to send than the " +
                     Seconds(interval) + " each may last";
  note += speed > 1 ? " at " + std::to_string(speed) + " times the speed" : std::string();
  note += ": they stretch, so that every byte goes out and the replay runs slower";
  const int fits = ReplayRate(cycles, speed);
  if (fits > rate && LineSeconds(longest, fits) <= interval)
    note += " (" + std::to_string(fits) + " bit/s keeps the pace)";
  return note;
}

bool SetUpReplay(const std::string& path, int rate, int speed, SimOptions& out, std::string& error,
                 std::string& note) {
  const auto cycles = LoadReplay(path, error);
  if (!cycles) return false;
  out.replayFile = path;
  out.replaySpeed = speed;
  out.replayOnly = true;
  out.rate = rate != 0 ? rate : ReplayRate(*cycles, speed);
  note = ReplayPaceNote(*cycles, out.rate, speed);
  return true;
}

}  // namespace orlimo
