#include <gtest/gtest.h>

#include "measure/signal_history.h"

namespace orlimo {
namespace {

TSkySat Sat(TSatSystem system, int number, int snr, bool used) {
  TSkySat s;
  s.System = system;
  s.Number = static_cast<std::int16_t>(number);
  s.SNR = static_cast<std::int8_t>(snr);
  s.Used = used;
  return s;
}

// Twelve minutes at one sample a second: G05 all along (missing from every tenth
// sample), R07 (NMEA 71) for the first minute only, E11 from the last minute on.
TEST(SignalHistory, KeepsTenMinutesOfEachSatelliteAndDropsThoseGone) {
  TSignalHistory h;
  for (int t = 0; t < 720; ++t) {
    std::vector<TSkySat> sky;
    if (t % 10 != 0) sky.push_back(Sat(TSatSystem::GPS, 5, 30 + t % 7, t >= 360));
    if (t < 60) sky.push_back(Sat(TSatSystem::GLONASS, 71, 25, true));
    if (t >= 660) sky.push_back(Sat(TSatSystem::Galileo, 11, 0, false));
    h.Add(1000.0 + t, sky, static_cast<int>(sky.size()), t % 2 ? std::optional<double>(1.5) : std::nullopt);
  }
  const std::vector<TSignalTrace> traces = h.Satellites();
  ASSERT_EQ(traces.size(), 2u) << "R07 was last seen more than ten minutes ago";
  EXPECT_EQ(traces[0].name, "G05");
  EXPECT_EQ(traces[1].name, "E11");
  // Samples 120 to 719; G05 is missing from 60 of them.
  const std::vector<TSignalPoint>& g05 = traces[0].points;
  ASSERT_EQ(g05.size(), 540u);
  EXPECT_EQ(g05.front().time, 1121.0);
  EXPECT_EQ(g05.front().cn0, 30 + 121 % 7);
  EXPECT_FALSE(g05.front().used);
  EXPECT_EQ(g05.back().time, 1719.0);
  EXPECT_TRUE(g05.back().used);
  EXPECT_EQ(traces[1].points.size(), 60u);
  EXPECT_EQ(traces[1].points.front().cn0, 0) << "in view, not tracked";

  const std::vector<TSolutionPoint> solution = h.Solution();
  ASSERT_EQ(solution.size(), 600u);
  EXPECT_EQ(solution.front().time, 1120.0);
  EXPECT_EQ(solution.front().used, 0);
  EXPECT_FALSE(solution.front().hdop);
  EXPECT_EQ(solution.back().used, 2);
  EXPECT_EQ(solution.back().hdop, 1.5);

  // A clock that goes back starts afresh; samples further apart than the window age out.
  h.Add(10, std::vector<TSkySat>{Sat(TSatSystem::GPS, 7, 40, true)}, 1, 0.8);
  h.Add(700, {}, 0, std::nullopt);
  EXPECT_TRUE(h.Satellites().empty());
  EXPECT_EQ(h.Solution().size(), 1u);
}

}  // namespace
}  // namespace orlimo
