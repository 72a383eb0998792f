#include "sim/sim_options.h"

#include <array>
#include <charconv>
#include <utility>

namespace orlimo {
namespace {

constexpr std::array<std::pair<std::string_view, SimPersonality>, 8> kNames = {{
    {"sirf", SimPersonality::SiRF},
    {"sirf-binary", SimPersonality::SiRFBinary},
    {"ublox", SimPersonality::UBlox},
    {"ublox8", SimPersonality::UBlox8},
    {"ubx", SimPersonality::Ubx},
    {"mtk", SimPersonality::MediaTek},
    {"silent", SimPersonality::Silent},
    {"noisy", SimPersonality::Noisy},
}};

}  // namespace

std::optional<SimPersonality> ParseSimPersonality(std::string_view name) {
  for (const auto& [n, p] : kNames)
    if (n == name) return p;
  return std::nullopt;
}

std::string_view SimPersonalityName(SimPersonality p) {
  for (const auto& [n, q] : kNames)
    if (q == p) return n;
  return "sirf";
}

bool IsStandardSimRate(long bps) {
  for (long k : {4800L, 9600L, 19200L, 38400L, 57600L, 115200L})
    if (k == bps) return true;
  return false;
}

bool IsHighSimRate(long bps) { return bps == 230400 || bps == 460800 || bps == 921600; }

bool ParseUbxRates(std::string_view list, SimUbxRates& rates) {
  SimUbxRates out = rates;
  std::size_t n = 0, pos = 0;
  for (;;) {
    const std::size_t comma = list.find(',', pos);
    const std::string_view item = list.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
    unsigned v = 0;
    const auto r = std::from_chars(item.data(), item.data() + item.size(), v);
    if (item.empty() || r.ec != std::errc() || r.ptr != item.data() + item.size() || v > 255 || n >= out.size())
      return false;
    out[n++] = static_cast<std::uint8_t>(v);
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
  }
  rates = out;
  return true;
}

bool ParseReplaySpeed(std::string_view text, int& speed) {
  int v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || v < 1 || v > kMaxReplaySpeed)
    return false;
  speed = v;
  return true;
}

}  // namespace orlimo
