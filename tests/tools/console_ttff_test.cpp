// orlimo-console's time-to-first-fix runs against a simulated receiver on a pty that
// this test hosts, with known times to fix: 38400 bit/s at 5 Hz keeps its data
// seconds short, and short time-outs and pauses keep the runs short.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "sim/simulated_receiver.h"

namespace orlimo {
namespace {

struct ConsoleResult {
  int code = -1;
  std::vector<std::optional<double>> seconds;  // the ttff: lines, in order
  std::string summary;                         // the ttff-summary: line's object
  std::string out;
};

// Runs the console against the receiver with the --ttff-… arguments `args`.
ConsoleResult RunConsole(const SimOptions& options, const std::string& args) {
  SimulatedReceiver sim(options);
  const std::string port = sim.Start();
  EXPECT_FALSE(port.empty()) << sim.Error();
  char dir[] = "/tmp/orlimo-ttff-XXXXXX";
  EXPECT_NE(::mkdtemp(dir), nullptr);
  const std::shared_ptr<void> cleanUp(nullptr, [&](void*) { std::filesystem::remove_all(dir); });

  ConsoleResult r;
  FILE* p = popen((std::string(ORLIMO_CONSOLE_PATH) + " --port " + port + " --baud 38400 --data-dir " + dir + " " +
                   args + " 2>&1").c_str(), "r");
  char buf[1024];
  while (p && std::fgets(buf, sizeof buf, p)) r.out += buf;
  const int status = p ? pclose(p) : -1;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

  const std::regex run(R"re(^ttff: \{"run":(\d+),"kind":"(\w+)","seconds":(null|\d+\.\d)\}$)re");
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_match(line, m, run)) {
      EXPECT_EQ(std::stoi(m[1]), static_cast<int>(r.seconds.size()) + 1) << line;
      r.seconds.push_back(m[3] == "null" ? std::nullopt : std::optional<double>(std::stod(m[3])));
    } else if (line.starts_with("ttff-summary: ")) {
      r.summary = line.substr(14);
    }
  }
  return r;
}

SimOptions Receiver() {
  SimOptions o;
  o.personality = SimPersonality::SiRF;
  o.rate = 38400;
  o.hz = 5;
  o.ttffStart = 0.5;
  o.ttffHot = 1.0;
  o.ttffCold = 2.0;  // also after a warm start
  o.restartSilence = 0.3;
  return o;
}

std::string OneDecimal(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

TEST(ConsoleTtff, RunsAreTimedToTheSimulatorsFixAndAReceiverWithoutFixTimesOut) {
  const ConsoleResult fixed = RunConsole(Receiver(), "--ttff-runs warm:2 --ttff-pause 0.5 --ttff-timeout 8");
  EXPECT_EQ(fixed.code, 0) << fixed.out;
  ASSERT_EQ(fixed.seconds.size(), 2u) << fixed.out;
  for (const auto& s : fixed.seconds) {
    ASSERT_TRUE(s) << fixed.out;
    EXPECT_NEAR(*s, 2.0, 1.5);
  }
  const double a = std::min(*fixed.seconds[0], *fixed.seconds[1]);
  const double b = std::max(*fixed.seconds[0], *fixed.seconds[1]);
  const std::regex summary(
      R"re(\{"kind":"warm","runs":2,"fixed":2,"min_s":(\d+\.\d),"median_s":(\d+\.\d),"p95_s":(\d+\.\d),"max_s":(\d+\.\d)\})re");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(fixed.summary, m, summary)) << fixed.summary;
  EXPECT_EQ(m[1], OneDecimal(a));
  EXPECT_NEAR(std::stod(m[2]), (a + b) / 2, 0.051);
  EXPECT_NEAR(std::stod(m[3]), a + 0.95 * (b - a), 0.051);
  EXPECT_EQ(m[4], OneDecimal(b));

  SimOptions never = Receiver();
  never.scenario.noFix = true;
  const ConsoleResult timedOut = RunConsole(never, "--ttff-runs hot:2 --ttff-pause 0.5 --ttff-timeout 2");
  EXPECT_EQ(timedOut.code, 5) << timedOut.out;
  EXPECT_EQ(timedOut.seconds, (std::vector<std::optional<double>>{std::nullopt, std::nullopt})) << timedOut.out;
  EXPECT_EQ(timedOut.summary,
            R"({"kind":"hot","runs":2,"fixed":0,"min_s":null,"median_s":null,"p95_s":null,"max_s":null})");
}

}  // namespace
}  // namespace orlimo
