// The simulator sleeps until the line or the core says something is due. Waking only
// then must give exactly what waking every tick or millisecond gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/receiver_core.h"
#include "sim/uart_model.h"

namespace orlimo {
namespace {

TEST(WakeSchedule, TheLineHandsOutNothingEarlierThanItsNextByteAndLosesNothing) {
  std::string sent = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
  for (int b : {0x00, 0xFF, 0x55, 0xA0, 0x01}) sent.push_back(static_cast<char>(b));
  const std::vector<int> gaps = {0, 4, 16, 8, 12};
  for (auto [tx, rx] : {std::pair{9600, 9600}, {4800, 19200}, {9600, 19200}, {115200, 9600}, {38400, 115200}}) {
    UartLine line(rx);
    UartTick t = 0;
    for (std::size_t i = 0; i < sent.size(); ++i) t = line.Send(static_cast<std::uint8_t>(sent[i]), tx, t, gaps[i % gaps.size()]);
    std::string got;
    int wakes = 0;
    for (UartTick at = line.NextByteAt(); at != kUartNever && wakes < 1000; at = line.NextByteAt(), ++wakes) {
      const std::size_t before = got.size();
      line.Advance(at - 1, got);
      EXPECT_EQ(got.size(), before) << tx << " -> " << rx << ": a byte was ready before the line said";
      line.Advance(at, got);
    }
    EXPECT_EQ(got, SampleAtRate(sent, tx, rx, gaps)) << tx << " -> " << rx;
  }
}

// Three seconds of output with a query and a hot restart from the host; the core is
// asked every millisecond, or only when NextDue() or the host says.
std::string Output(const SimOptions& o, const std::vector<std::string>& replay, bool onlyWhenDue) {
  ReceiverCore core(o, 1700000000, replay);
  const std::vector<std::pair<double, std::string>> host = {{0.7, "$PQXC,201*05\r\n"},
                                                              {1.3, "$PSRF101,0,0,0,96000,0,0,12,1*1A\r\n"}};
  std::size_t next = 0;
  std::string out;
  double now = 0;
  for (int ms = 0; now <= 3.0;) {
    while (next < host.size() && host[next].first <= now) core.Receive(host[next++].second, now);
    out += core.Due(now);
    double wake = onlyWhenDue ? core.NextDue() : ++ms / 1000.0;
    if (next < host.size()) wake = std::min(wake, host[next].first);
    if (!(wake > now)) {
      ADD_FAILURE() << "nothing due after " << now << ": the loop would spin";
      break;
    }
    now = wake;
  }
  return out;
}

TEST(WakeSchedule, TheCoreSaysEveryTimeItHasSomething) {
  SimOptions o;
  o.hz = 5;
  o.ttffStart = 0.4;
  o.ttffHot = 0.5;
  o.restartSilence = 0.25;
  EXPECT_EQ(Output(o, {}, true), Output(o, {}, false));
  o.personality = SimPersonality::Silent;
  EXPECT_EQ(Output(o, {}, true), "");
  SimOptions replay;
  replay.replayInterval = 0.3;
  replay.replaySpeed = 2;
  const std::vector<std::string> cycles = {"$GPGGA,1*00\r\n", "$GPGGA,2*00\r\n", "$GPGGA,3*00\r\n"};
  EXPECT_EQ(Output(replay, cycles, true), Output(replay, cycles, false));
}

}  // namespace
}  // namespace orlimo
