// The built orlimo-console as a real process ended by real signals: what it logged is
// on the disk afterwards, whether it was asked to stop or killed outright.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../child_process.h"

namespace {

using namespace std::chrono_literals;
using orlimo::test::ChildProcess;
using Lines = std::set<std::string>;

// The sample capture played ten times faster: ten cycles a second, so a short run
// holds many sentences. Its content differs from the scenario receiver's.
const std::string kReplay = std::string(ORLIMO_SOURCE_DIR) + "/data/sample-1hz.nmea";

using orlimo::test::Files;
using orlimo::test::TempDir;

std::unique_ptr<ChildProcess> Console(const std::string& dir, std::vector<std::string> args) {
  args.insert(args.begin(), ORLIMO_CONSOLE_PATH);
  for (const char* a : {"--log", "--data-dir"}) args.push_back(a);
  args.push_back(dir);
  return std::make_unique<ChildProcess>(args);
}

std::vector<std::string> Sirf() { return {"--simulate", "sirf", "--sim-rate", "115200", "--baud", "115200"}; }
std::vector<std::string> FastReplay() { return {"--replay", kReplay, "--replay-speed", "10"}; }

// The sentences shown as monitor: lines up to `until`.
Lines Shown(const ChildProcess& c, ChildProcess::Clock::time_point until = ChildProcess::Clock::time_point::max()) {
  Lines shown;
  for (const auto& line : c.Lines())
    if (line.at <= until && line.text.starts_with("monitor: ")) shown.insert(line.text.substr(9));
  return shown;
}

bool ShowsSentences(const ChildProcess& c) { return !Shown(c).empty(); }

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The lines of a log, which ends each with CR LF.
Lines LogLines(const std::filesystem::path& path) {
  Lines lines;
  const std::string text = ReadFile(path);
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.insert(text.substr(at, end - at));
  return lines;
}

// The lines of `expected` that `log` lacks.
Lines Missing(const Lines& expected, const Lines& log) {
  Lines missing;
  for (const std::string& line : expected)
    if (!log.contains(line)) missing.insert(line);
  return missing;
}

std::string Join(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(ConsoleSignals, SigtermSavesEverySentenceShown) {
  TempDir dir;
  auto console = Console(dir.path, Sirf());
  ASSERT_TRUE(console->ReadUntil([&] { return ShowsSentences(*console); }, 10s)) << console->Errors();
  console->ReadFor(1500ms);
  console->Signal(SIGTERM);
  EXPECT_EQ(console->Wait(10s), 0) << console->Errors();

  const auto logs = Files(dir.path, "NMEA_", ".log");
  ASSERT_EQ(logs.size(), 1u) << console->Errors();
  EXPECT_TRUE(Files(dir.path, "__tmp", "").empty()) << "nothing left behind";
  // The log may hold sentences the monitor had not shown yet, but none it showed is missing.
  EXPECT_EQ(Join(Missing(Shown(*console), LogLines(logs[0]))), "");
}

TEST(ConsoleSignals, AKilledRunsLogHoldsAllButTheLastSecondAndTheNextStartRecoversIt) {
  TempDir dir;
  auto console = Console(dir.path, FastReplay());
  ASSERT_TRUE(console->ReadUntil([&] { return ShowsSentences(*console); }, 10s)) << console->Errors();
  console->ReadFor(2500ms);
  const auto killed = ChildProcess::Clock::now();
  console->Signal(SIGKILL);
  console->Wait(5s);

  // A line waits at most a second before it is written; half a second more is room for
  // the display and a loaded machine.
  const auto temps = Files(dir.path, "__tmp", ".tmp");
  ASSERT_EQ(temps.size(), 1u);
  const Lines written = LogLines(temps[0]);
  const Lines early = Shown(*console, killed - 1500ms);
  ASSERT_GT(early.size(), 5u);
  EXPECT_EQ(Join(Missing(early, written)), "");

  // The next start makes it a dated log and says so.
  auto next = std::make_unique<ChildProcess>(
      std::vector<std::string>{ORLIMO_CONSOLE_PATH, "--simulate", "silent", "--seconds", "1", "--data-dir", dir.path});
  EXPECT_EQ(next->Wait(10s), 0) << next->Errors();
  const std::string said = "dialog information: Recovered the log of an earlier run: ";
  std::string recovered;
  for (const auto& line : next->Lines())
    if (line.text.starts_with(said)) recovered = line.text.substr(said.size());
  ASSERT_NE(recovered, "") << next->Errors();
  const auto logs = Files(dir.path, "NMEA_", ".log");
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_TRUE(recovered.starts_with(logs[0].string() + " (")) << recovered;
  EXPECT_EQ(LogLines(logs[0]), written);
  EXPECT_TRUE(Files(dir.path, "__tmp", "").empty());
}

TEST(ConsoleSignals, TwoRunsInOneFolderKeepTheirOwnLogs) {
  TempDir dir;
  auto a = Console(dir.path, Sirf());
  auto b = Console(dir.path, FastReplay());
  const auto both = [&] { return ShowsSentences(*a) && ShowsSentences(*b); };
  for (auto end = ChildProcess::Clock::now() + 10s; !both() && ChildProcess::Clock::now() < end;) {
    a->ReadFor(50ms);
    b->ReadFor(50ms);
  }
  ASSERT_TRUE(both()) << a->Errors() << b->Errors();
  for (int i = 0; i < 10; ++i) {
    a->ReadFor(100ms);
    b->ReadFor(100ms);
  }
  // The two other stop signals end them as SIGTERM does.
  a->Signal(SIGHUP);
  b->Signal(SIGINT);
  EXPECT_EQ(a->Wait(10s), 0) << a->Errors();
  EXPECT_EQ(b->Wait(10s), 0) << b->Errors();

  const auto logs = Files(dir.path, "NMEA_", ".log");
  ASSERT_EQ(logs.size(), 2u) << a->Errors() << b->Errors();
  const Lines shownA = Shown(*a), shownB = Shown(*b);
  // Lines both receivers send (a GSA without a fix) may be in both logs; no other.
  const Lines onlyA = Missing(shownA, shownB), onlyB = Missing(shownB, shownA);
  ASSERT_FALSE(onlyA.empty());
  ASSERT_FALSE(onlyB.empty());
  Lines logA = LogLines(logs[0]), logB = LogLines(logs[1]);
  if (Missing(shownA, logB).empty()) std::swap(logA, logB);
  EXPECT_EQ(Join(Missing(shownA, logA)), "");
  EXPECT_EQ(Join(Missing(shownB, logB)), "");
  EXPECT_EQ(Missing(onlyB, logA), onlyB) << "the scenario receiver's log holds the replay's lines";
  EXPECT_EQ(Missing(onlyA, logB), onlyA) << "the replay's log holds the scenario receiver's lines";
}

}  // namespace
