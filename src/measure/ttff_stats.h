// The figures of a series of time-to-first-fix runs: how many ran and fixed, and the
// fastest, median, 95th percentile and slowest of those that fixed. A run that timed
// out counts as a run without a fix; a figure no run gives is nullopt.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orlimo {

struct TtffRun {
  int number = 0;                  // from 1
  std::optional<double> seconds;   // nullopt: timed out
};

struct TtffSummary {
  int runs = 0;
  int fixed = 0;
  std::optional<double> min, median, p95, max;  // seconds
};

TtffSummary SummariseTtff(const std::vector<TtffRun>& runs);

// The runs as CSV: "run,kind,seconds" then one line a run, an empty field for a
// time-out, seconds to 0.1.
std::string TtffCsv(const std::vector<TtffRun>& runs, const std::string& kind);

}  // namespace orlimo
