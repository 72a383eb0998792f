// The console's --ttff-… options and the lines scripts read.
#include <gtest/gtest.h>

#include <clocale>

#include "console_ttff.h"

namespace orlimo {
namespace {

TEST(TtffOptions, RunsPauseAndTimeOut) {
  ConsoleTtffOptions o;
  EXPECT_EQ(ParseTtffOption("--ttff-pause", "0.5", o), 2);
  EXPECT_EQ(CheckTtffOptions(o), "--ttff-pause and --ttff-timeout need --ttff-runs");
  EXPECT_EQ(ParseTtffOption("--ttff-runs", "factory:12", o), 2);
  EXPECT_EQ(ParseTtffOption("--ttff-timeout", "2.5", o), 2);
  EXPECT_EQ(CheckTtffOptions(o), "");
  EXPECT_EQ(o.plan.kind, kFactoryDefault);
  EXPECT_EQ(o.plan.runs, 12);
  EXPECT_EQ(o.plan.pauseMs, 500);
  EXPECT_EQ(o.plan.timeoutMs, 2500);
  EXPECT_EQ(ParseTtffOption("--seconds", "5", o), 0);
  EXPECT_EQ(ParseTtffOption("--ttff-runs", nullptr, o), 0);
  for (const char* bad : {"cold:0", "tepid:2"}) EXPECT_EQ(ParseTtffOption("--ttff-runs", bad, o), 0) << bad;
  for (const char* bad : {"-1", "1s"}) EXPECT_EQ(ParseTtffOption("--ttff-pause", bad, o), 0) << bad;
  EXPECT_EQ(ParseTtffOption("--ttff-timeout", "0", o), 0) << "a run needs time";
}

TEST(TtffOptions, LinesHaveOneDecimalAndNullWhateverTheLocale) {
  std::setlocale(LC_ALL, "de_DE.UTF-8");  // a decimal comma where it is installed
  EXPECT_EQ(TtffRunLine({3, 31.25}, kColdStart), R"(ttff: {"run":3,"kind":"cold","seconds":31.2})");
  EXPECT_EQ(TtffRunLine({4, std::nullopt}, kHotStart), R"(ttff: {"run":4,"kind":"hot","seconds":null})");
  EXPECT_EQ(TtffSummaryLine(SummariseTtff({{1, 30.0}, {2, std::nullopt}, {3, 32.0}}), kWarmStart),
            R"(ttff-summary: {"kind":"warm","runs":3,"fixed":2,"min_s":30.0,"median_s":31.0,"p95_s":31.9,"max_s":32.0})");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace orlimo
