// A capture of a real receiver and gpsd's decode of it (the .chk file beside it):
// the whole bytes, and the numbers of its JSON reports, read without a JSON library.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlimo::test {

inline std::filesystem::path CaptureDir() {
  return std::filesystem::path(ORLIMO_TESTDATA_DIR) / "receiver-logs";
}

// The file's bytes; nullopt when it is not there.
inline std::optional<std::string> ReadCapture(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The value after "key": in an object's text; nullopt when absent.
inline std::optional<double> JsonNumber(std::string_view object, std::string_view key) {
  const std::string quoted = std::string("\"").append(key).append("\":");
  const std::size_t at = object.find(quoted);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string rest(object.substr(at + quoted.size(), 32));
  return std::strtod(rest.c_str(), nullptr);
}

// The .chk lines of one report class ("TPV", "SKY"), in order.
inline std::vector<std::string> Reports(std::string_view chk, std::string_view cls) {
  const std::string tag = std::string("{\"class\":\"").append(cls).append("\"");
  std::vector<std::string> out;
  for (std::size_t start = 0; start < chk.size();) {
    std::size_t end = chk.find('\n', start);
    if (end == std::string_view::npos) end = chk.size();
    const std::string_view line = chk.substr(start, end - start);
    if (line.starts_with(tag)) out.emplace_back(line);
    start = end + 1;
  }
  return out;
}

// The satellite objects of a SKY report.
inline std::vector<std::string> SkySatellites(std::string_view sky) {
  std::vector<std::string> out;
  std::size_t at = sky.find("\"satellites\":[");
  while (at != std::string_view::npos && (at = sky.find('{', at)) != std::string_view::npos) {
    const std::size_t end = sky.find('}', at);
    if (end == std::string_view::npos) break;
    out.emplace_back(sky.substr(at, end - at + 1));
    at = end;
  }
  return out;
}

}  // namespace orlimo::test
