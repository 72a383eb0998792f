#include <gtest/gtest.h>

#include "measure/percentile.h"
#include "measure/ttff_stats.h"

namespace orlimo {
namespace {

// Linear between the closest ranks, as numpy.percentile([10, 20, 30, 40], 95) = 38.5.
TEST(TtffStats, SummaryOfRunsWithATimeOut) {
  const std::vector<TtffRun> runs = {{1, 30.0}, {2, 10.0}, {3, std::nullopt}, {4, 40.0}, {5, 20.0}};
  const TtffSummary s = SummariseTtff(runs);
  EXPECT_EQ(s.runs, 5);
  EXPECT_EQ(s.fixed, 4);
  EXPECT_DOUBLE_EQ(*s.min, 10.0);
  EXPECT_DOUBLE_EQ(*s.median, 25.0);
  EXPECT_DOUBLE_EQ(*s.p95, 38.5);
  EXPECT_DOUBLE_EQ(*s.max, 40.0);
  EXPECT_FALSE(SummariseTtff({{1, std::nullopt}}).median) << "no run fixed: no figure";
  EXPECT_EQ(TtffCsv({{1, 31.25}, {2, std::nullopt}}, "cold"), "run,kind,seconds\r\n1,cold,31.2\r\n2,cold,\r\n");
}

}  // namespace
}  // namespace orlimo
