#include "measure/percentile.h"

#include <algorithm>
#include <cmath>

namespace orlimo {

std::optional<double> Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return std::nullopt;
  const double h = static_cast<double>(sorted.size() - 1) * std::clamp(p, 0.0, 100.0) / 100.0;
  const auto low = static_cast<std::size_t>(std::floor(h));
  const std::size_t high = std::min(low + 1, sorted.size() - 1);
  return sorted[low] + (h - static_cast<double>(low)) * (sorted[high] - sorted[low]);
}

}  // namespace orlimo
