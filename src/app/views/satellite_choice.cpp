#include "app/views/satellite_choice.h"

#include <algorithm>
#include <array>

namespace orlimo {
namespace {

constexpr int kKeepMargin = 4;  // dB-Hz a newcomer must beat a shown satellite by

bool Listed(std::span<const TSkySat> list, const TSkySat& sat) {
  return std::any_of(list.begin(), list.end(), [&](const TSkySat& s) { return s.SameSatellite(sat); });
}

}  // namespace

std::size_t ChooseShownSatellites(std::span<const TSkySat> sky, std::span<const TSkySat> shown,
                                  std::span<TSkySat> out) {
  // Ranks in a fixed buffer: no allocation per refresh.
  std::array<const TSkySat*, TSkyPicture::kMaxSats> ranked{};
  const std::size_t count = std::min(sky.size(), ranked.size());
  for (std::size_t i = 0; i < count; ++i) ranked[i] = &sky[i];
  const auto score = [&](const TSkySat* s) {
    return (s->Used ? 1000 : 0) + s->SNR + (Listed(shown, *s) ? kKeepMargin : 0);
  };
  // The sky comes ordered by system and number: its order settles ties.
  std::sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(count),
            [&](const TSkySat* a, const TSkySat* b) { return score(a) != score(b) ? score(a) > score(b) : a < b; });
  const std::size_t n = std::min(count, out.size());
  for (std::size_t i = 0; i < n; ++i) out[i] = *ranked[i];
  std::sort(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n), [](const TSkySat& a, const TSkySat& b) {
    if (a.Used != b.Used) return a.Used;
    if (a.System != b.System) return a.System < b.System;
    return a.Number < b.Number;
  });
  return n;
}

}  // namespace orlimo
