#include "measure/ttff_stats.h"

#include <algorithm>
#include <cstdio>

#include "measure/percentile.h"

namespace orlimo {

TtffSummary SummariseTtff(const std::vector<TtffRun>& runs) {
  TtffSummary s;
  s.runs = static_cast<int>(runs.size());
  std::vector<double> fixed;
  for (const TtffRun& r : runs)
    if (r.seconds) fixed.push_back(*r.seconds);
  std::sort(fixed.begin(), fixed.end());
  s.fixed = static_cast<int>(fixed.size());
  if (fixed.empty()) return s;
  s.min = fixed.front();
  s.max = fixed.back();
  s.median = Percentile(fixed, 50);
  s.p95 = Percentile(fixed, 95);
  return s;
}

std::string TtffCsv(const std::vector<TtffRun>& runs, const std::string& kind) {
  std::string out = "run,kind,seconds\r\n";
  for (const TtffRun& r : runs) {
    char seconds[32] = "";
    if (r.seconds) std::snprintf(seconds, sizeof seconds, "%.1f", *r.seconds);
    out += std::to_string(r.number) + "," + kind + "," + seconds + "\r\n";
  }
  return out;
}

}  // namespace orlimo
