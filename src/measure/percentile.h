// Percentiles as numpy and R compute them by default: linear between the closest
// ranks. For n sorted values the p-th percentile sits at rank h = (n - 1) * p / 100
// (from 0): the value at floor(h) plus (h - floor(h)) of the step to the next one.
#pragma once

#include <optional>
#include <vector>

namespace orlimo {

// The p-th percentile (0 to 100) of `sorted` (ascending); nullopt when it is empty.
std::optional<double> Percentile(const std::vector<double>& sorted, double p);

}  // namespace orlimo
