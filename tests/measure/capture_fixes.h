// The fixes of a receiver capture read straight from its text, apart from the
// decoder: what the measurement tests compare the code's figures and tracks against.
#pragma once

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orlimo::test {

inline std::filesystem::path CaptureDir() { return std::filesystem::path(ORLIMO_TESTDATA_DIR) / "receiver-logs"; }

// The capture's sentences: '#' lines skipped, a CR at the end dropped, each line from
// its last '$' (as the program reads a line).
inline std::vector<std::string> CaptureSentences(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::size_t dollar = line.rfind('$');
    if (dollar != std::string::npos) out.push_back(line.substr(dollar));
  }
  return out;
}

// "$...*hh" with the XOR of the bytes between them in upper-case hex: its fields
// (the address first), else none.
inline std::optional<std::vector<std::string>> Fields(const std::string& s) {
  const std::size_t star = s.find('*');
  if (s.size() < 4 || s[0] != '$' || star == std::string::npos || star + 3 != s.size()) return std::nullopt;
  unsigned sum = 0;
  for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(s[i]);
  static const char* kHex = "0123456789ABCDEF";
  if (s[star + 1] != kHex[sum >> 4] || s[star + 2] != kHex[sum & 15]) return std::nullopt;
  std::vector<std::string> fields;
  std::size_t start = 1;
  for (std::size_t comma; (comma = s.find(',', start)) < star; start = comma + 1) fields.push_back(s.substr(start, comma - start));
  fields.push_back(s.substr(start, star - start));
  return fields;
}

// '.' whatever the locale.
inline double Num(const std::string& text) {
  double v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

// ddmm.mmmm (or dddmm.mmmm) and its hemisphere letter to signed degrees.
inline double Degrees(const std::string& v, const std::string& hemisphere) {
  const std::size_t dot = v.find('.');
  const std::size_t degDigits = (dot == std::string::npos ? v.size() : dot) - 2;
  const double d = Num(v.substr(0, degDigits)) + Num(v.substr(degDigits)) / 60.0;
  return hemisphere == "S" || hemisphere == "W" ? -d : d;
}

struct CaptureFix {
  std::string time;  // hhmmss[.ss] as sent
  std::string date;  // ddmmyy of the RMC of the same time; empty without one
  double lat = 0, lon = 0;
  std::optional<double> height;
};

// A field that is a plain number: digits with at most one '.'.
inline bool IsNumber(const std::string& field) {
  return !field.empty() && field.find_first_not_of("0123456789.") == std::string::npos &&
         std::count(field.begin(), field.end(), '.') <= 1 && field[0] != '.';
}

// One fix per time of day: the first GGA of that time (receivers of several systems
// send one per system) with quality 1 or more, or, for a time no GGA has, an RMC with
// status A. Its date from the RMC of that time.
inline std::vector<CaptureFix> CaptureFixes(const std::filesystem::path& path) {
  std::vector<std::vector<std::string>> sentences;
  std::map<std::string, std::string> dates;
  std::map<std::string, bool> ggaTimes;
  for (const std::string& s : CaptureSentences(path)) {
    const auto f = Fields(s);
    if (!f || (*f)[0].size() != 5) continue;
    const std::string type = (*f)[0].substr(2);
    if (type == "RMC" && f->size() >= 12 && f->size() <= 14) {
      dates[(*f)[1]] = (*f)[9];
      sentences.push_back(*f);
    } else if (type == "GGA" && f->size() == 15) {
      ggaTimes[(*f)[1]] = true;
      sentences.push_back(*f);
    }
  }
  std::vector<CaptureFix> fixes;
  std::string lastGGA = "none", lastRMC = "none";
  for (const std::vector<std::string>& g : sentences) {
    const bool gga = g[0].substr(2) == "GGA";
    std::string& last = gga ? lastGGA : lastRMC;
    const bool repeat = g[1] == last && !g[1].empty();
    last = g[1];
    if (repeat) continue;
    if (gga && g[6].size() == 1 && g[6][0] >= '1' && g[6][0] <= '9' && IsNumber(g[2]) && IsNumber(g[4])) {
      CaptureFix fix{g[1], "", Degrees(g[2], g[3]), Degrees(g[4], g[5]), std::nullopt};
      if (IsNumber(g[9]) || (g[9].size() > 1 && g[9][0] == '-' && IsNumber(g[9].substr(1)))) fix.height = Num(g[9]);
      fixes.push_back(fix);
    } else if (!gga && !ggaTimes.count(g[1]) && g[2] == "A" && IsNumber(g[3]) && IsNumber(g[5])) {
      fixes.push_back({g[1], "", Degrees(g[3], g[4]), Degrees(g[5], g[6]), std::nullopt});
    }
  }
  for (CaptureFix& fix : fixes) fix.date = dates[fix.time];
  return fixes;
}

// Every capture in the folder, in name order.
inline std::vector<std::filesystem::path> Captures() {
  std::vector<std::filesystem::path> logs;
  for (const auto& e : std::filesystem::directory_iterator(CaptureDir()))
    if (e.path().extension() == ".log") logs.push_back(e.path());
  std::sort(logs.begin(), logs.end());
  return logs;
}

}  // namespace orlimo::test
