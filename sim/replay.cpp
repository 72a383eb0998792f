#include "sim/replay.h"

#include <fstream>
#include <iterator>
#include <set>

namespace orlimo {
namespace {

bool IsCommentLine(std::string_view line) {
  if (line.empty() || line[0] != '#') return false;
  for (unsigned char c : line) {
    if ((c < 0x20 && c != '\t' && c != '\r') || c > 0x7E) return false;  // binary data, not a comment
  }
  return true;
}

std::size_t U8(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Length of the record at the front of `s` and its key for spotting repeats.
std::size_t NextRecord(std::string_view s, std::string& key) {
  const unsigned char c = static_cast<unsigned char>(s[0]);
  if (c == '$') {
    const std::size_t eol = s.find('\n');
    const std::size_t end = eol == std::string_view::npos ? s.size() : eol + 1;
    const std::string_view line = s.substr(0, end);
    const std::size_t comma = line.find(',');
    key = std::string(line.substr(0, comma == std::string_view::npos ? 6 : comma));
    if (key.size() >= 6 && key.compare(3, 3, "GSV") == 0 && comma != std::string_view::npos) {
      const std::size_t second = line.find(',', comma + 1);
      const std::size_t third = second == std::string_view::npos ? second : line.find(',', second + 1);
      if (third != std::string_view::npos) key += std::string(line.substr(second, third - second));
    }
    return end;
  }
  if (s.size() >= 8 && c == 0xA0 && U8(s, 1) == 0xA2) {
    const std::size_t total = (U8(s, 2) << 8 | U8(s, 3)) + 8;
    if (total <= s.size() && U8(s, total - 2) == 0xB0 && U8(s, total - 1) == 0xB3) {
      key = "sirf" + std::to_string(U8(s, 4));
      return total;
    }
  }
  if (s.size() >= 8 && c == 0xB5 && U8(s, 1) == 0x62) {
    const std::size_t total = (U8(s, 5) << 8 | U8(s, 4)) + 8;
    if (total <= s.size()) {
      key = "ubx" + std::to_string(U8(s, 2)) + "." + std::to_string(U8(s, 3));
      return total;
    }
  }
  // Anything else runs to the next byte that could start a record.
  std::size_t n = 1;
  while (n < s.size()) {
    const unsigned char d = static_cast<unsigned char>(s[n]);
    if (d == '$' || d == 0xA0 || d == 0xB5) break;
    ++n;
  }
  key.clear();
  return n;
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
  std::vector<std::string> cycles;
  std::string current;
  std::set<std::string> seen;
  std::size_t pos = 0;
  while (pos < stream.size()) {
    std::string key;
    const std::size_t n = NextRecord(stream.substr(pos), key);
    if (!key.empty() && !seen.insert(key).second) {
      cycles.push_back(std::move(current));
      current.clear();
      seen = {key};
    }
    std::string_view record = stream.substr(pos, n);
    // Many captures were stored with bare LF line ends; a receiver sends CR LF.
    if (record.size() >= 2 && record.front() == '$' && record.back() == '\n' &&
        record[record.size() - 2] != '\r') {
      record.remove_suffix(1);
      current.append(record);
      current.append("\r\n");
    } else {
      current.append(record);
    }
    pos += n;
  }
  if (!current.empty()) cycles.push_back(std::move(current));
  return cycles;
}

std::optional<std::vector<std::string>> LoadReplay(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> cycles = SplitIntoCycles(StripCaptureComments(raw));
  if (cycles.empty()) return std::nullopt;
  return cycles;
}

}  // namespace orlimo
