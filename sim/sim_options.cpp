#include "sim/sim_options.h"

#include <array>
#include <utility>

namespace orlimo {
namespace {

constexpr std::array<std::pair<std::string_view, SimPersonality>, 5> kNames = {{
    {"sirf", SimPersonality::SiRF},
    {"sirf-binary", SimPersonality::SiRFBinary},
    {"ublox", SimPersonality::UBlox},
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

}  // namespace orlimo
