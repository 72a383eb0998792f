// Runs the built orlimo-console against its in-process simulated receiver.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../child_process.h"
#include "nmea/sentence.h"

namespace {

using orlimo::test::Files;
using orlimo::test::TempDir;

// Standard output of the console with `args`; `exitCode` gets its exit status.
std::string Console(const std::string& args, int& exitCode) {
  std::string out;
  FILE* p = popen((ORLIMO_CONSOLE_PATH " " + args).c_str(), "r");
  char buf[512];
  while (p && std::fgets(buf, sizeof buf, p)) out += buf;
  const int status = p ? pclose(p) : -1;
  exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

TEST(ConsoleRun, ActionsPressTheButtonsInTimeOrder) {
  int code = -1;
  // The cold start is given last but is due first; the receiver has identified itself by
  // then (in about two seconds; the rest is room for a loaded machine).
  char name[] = "/tmp/orlimo-console-XXXXXX";
  ASSERT_NE(::mkdtemp(name), nullptr);
  const std::shared_ptr<void> cleanUp(nullptr, [&](void*) { std::filesystem::remove_all(name); });
  const std::string out = Console("--simulate sirf --baud 9600 --connect --seconds 7 --data-dir " + std::string(name) +
                                      " --do 'console:$PQXC,201@5.5' --do frame-test@5.5 --do cold@5",
                                  code);
  EXPECT_EQ(code, 0);
  const auto cold = out.find("trace Memo2: $PSRF101,0,0,0,96000,0,0,12,4*1F\ntrace Memo2:  CMD OK!!\n");
  const auto console = out.find("trace Memo2: ...[$PQXC,201*05]....Send CMD Success !!\n");
  const auto test = out.find("trace Memo2: 7,961E510006001E,0129,96\ntrace Memo2: SiRF format OK !\n");
  ASSERT_NE(test, std::string::npos) << out;
  EXPECT_LT(cold, console);
  EXPECT_LT(console, test);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ConsoleRun, LogAndSettingsCarryOver) {
  char name[] = "/tmp/orlimo-console-XXXXXX";
  ASSERT_NE(::mkdtemp(name), nullptr);
  const std::string dir = name;
  const std::shared_ptr<void> cleanUp(nullptr, [&](void*) { std::filesystem::remove_all(dir); });
  int code = -1;
  const std::string out = Console("--simulate sirf --baud 9600 --connect --log --seconds 3 --data-dir " + dir, code);
  EXPECT_EQ(code, 0);

  // The log and the settings file, and nothing left behind (temporary files).
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  ASSERT_EQ(names.size(), 2u) << out;
  ASSERT_TRUE(names[0].starts_with("NMEA_") && names[0].ends_with(".log")) << names[0];
  EXPECT_EQ(names[1], "orlimo-console.ini");
  EXPECT_NE(out.find("\ndialog confirm: " + dir + "/" + names[0] + " was saved ! -> ok\n"), std::string::npos);

  // The log holds the accepted sentences in the order shown, each ended by CR LF, and
  // also those that arrived after the last pass the monitor saw.
  std::string shown;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with("monitor: ")) shown += line.substr(9) + "\r\n";
  const std::string log = ReadFile(dir + "/" + names[0]);
  EXPECT_GT(std::count(log.begin(), log.end(), '\n'), 5);
  EXPECT_EQ(log.substr(0, shown.size()), shown);
  EXPECT_LT(log.size() - shown.size(), 2000u) << "at most a second more than was shown";
  for (std::size_t at = 0, end; (end = log.find("\r\n", at)) != std::string::npos; at = end + 2)
    EXPECT_TRUE(orlimo::IsValidSentence(log.substr(at, end - at))) << log.substr(at, end - at);

  // The simulator's pty is gone after the run: it is not saved as the port to open
  // next time (a simulated receiver opens at its own rate all the same).
  ASSERT_NE(out.find("panel 2: Open ("), std::string::npos);
  const std::size_t open = out.find("panel 2: Open (") + 15;
  const std::string ini = dir + "/orlimo-console.ini";
  EXPECT_EQ(ReadFile(ini).find("COMPort=" + out.substr(open, out.find(',', open) - open)), std::string::npos)
      << ReadFile(ini);
  EXPECT_NE(Console("--simulate sirf --connect --seconds 1 --data-dir " + dir, code).find(",9600 bps)\n"),
            std::string::npos);
  std::ofstream(ini, std::ios::trunc) << "[GPSCOM]\r\nCOMPort=" << dir << "/gone\r\n";
  EXPECT_NE(Console("--connect --seconds 1 --data-dir " + dir, code).find("dialog error: " + dir + "/gone Connection"),
            std::string::npos);
}

TEST(ConsoleRun, AReplayConnectsAndLogsTheCaptureAsItWasReceived) {
  const std::string capture = std::string(ORLIMO_TESTDATA_DIR) + "/receiver-logs/neo-m8n.log";
  if (!std::filesystem::exists(capture)) GTEST_SKIP() << "no captures at " << capture;
  char name[] = "/tmp/orlimo-console-XXXXXX";
  ASSERT_NE(::mkdtemp(name), nullptr);
  const std::string dir = name;
  const std::shared_ptr<void> cleanUp(nullptr, [&](void*) { std::filesystem::remove_all(dir); });
  int code = -1;
  const std::string out = Console("--replay " + capture + " --replay-speed 8 --log --seconds 3 --data-dir " + dir, code);
  EXPECT_EQ(code, 0);
  EXPECT_NE(out.find(",115200 bps)\n"), std::string::npos) << "the lowest rate that keeps 8 times its pace";
  std::string log;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().extension() == ".log") log = ReadFile(e.path());
  // Every sentence from the first whole one on, as captured (its lines end in CR LF).
  std::string sentences;
  std::istringstream lines(ReadFile(capture));
  for (std::string line; std::getline(lines, line);)
    if (!line.starts_with("#")) sentences += line + "\n";
  ASSERT_GT(log.size(), 8000u) << out;
  EXPECT_NE((sentences + sentences).find(log.substr(log.find("\r\n") + 2)), std::string::npos);

  Console("--replay-speed 2", code);
  EXPECT_EQ(code, 2);
  Console("--replay /nonexistent/capture.log", code);
  EXPECT_EQ(code, 2);
}

TEST(ConsoleRun, ARunAskedToLogEndsAtOnceWhenLoggingCannotStart) {
  int code = -1;
  const std::string out = Console("--simulate sirf --log --data-dir /proc/orlimo-no-such-dir 2>&1", code);
  EXPECT_EQ(code, 1);
  EXPECT_NE(out.find("orlimo-console: logging did not start\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("monitor: "), std::string::npos) << "it ends before a sentence is shown";
  Console("--port /nonexistent/tty --log --data-dir /proc/orlimo-no-such-dir", code);
  EXPECT_EQ(code, 1) << "the folder is tried before the port";
}

// The number of lines in `text`.
long Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST(ConsoleRun, ABadArgumentIsOneLineNamingWhatIsAllowed) {
  int code = -1;
  const char* rates = "4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600";
  std::string out = Console("--connect --do rate:1200@1 2>&1", code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(Lines(out), 1) << out;
  EXPECT_NE(out.find("--do: rate:1200@1 is not ACTION@SECONDS"), std::string::npos) << out;
  out = Console("--baud 12345 --connect 2>&1", code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(out, std::string("orlimo-console: --baud: 12345 is not one of ") + rates + "\n");
  out = Console("--simulate garmin 2>&1", code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(Lines(out), 1) << out;
  EXPECT_EQ(out.rfind("orlimo-console: --simulate: garmin is not one of sirf, sirf-binary, ", 0), 0u) << out;
  Console("--sim-rate 1234", code);
  EXPECT_EQ(code, 2) << "no receiver sends at that rate";
  Console("--port /nonexistent/tty --connect --data-dir /proc/orlimo-no-such-dir", code);
  EXPECT_EQ(code, 3) << "a connection that cannot be opened ends the run at once";
}

TEST(ConsoleRun, WithoutAnOptionThatStartsWorkTheUsageIsPrinted) {
  int code = -1;
  const std::string out = Console("--pro --baud 9600 --data-dir /proc/orlimo-no-such-dir 2>&1", code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(out.rfind("orlimo-console: nothing to do: no option that starts work (--connect, ", 0), 0u) << out;
  EXPECT_NE(out.find("\nusage: orlimo-console [options]\n"), std::string::npos);
}

TEST(ConsoleRun, ConnectingWithoutPortNamesThePortItTried) {
  TempDir dir;
  int code = -1;
  EXPECT_NE(Console("--connect --data-dir " + dir.path + " 2>&1", code)
                .find("orlimo-console: no port to open: none given with --port and none saved in " + dir.path +
                      "/orlimo-console.ini\n"),
            std::string::npos);
  EXPECT_EQ(code, 3);
  std::ofstream(dir.path + "/orlimo-console.ini", std::ios::trunc) << "[GPSCOM]\r\nCOMPort=" << dir.path << "/gone\r\n";
  const std::string out = Console("--connect --data-dir " + dir.path + " 2>&1", code);
  EXPECT_EQ(code, 3);
  EXPECT_NE(out.find("dialog error: " + dir.path + "/gone Connection Error ! | No such file or directory -> ok\n"),
            std::string::npos) << out;
  EXPECT_NE(out.find("orlimo-console: the saved port " + dir.path + "/gone (from "), std::string::npos) << out;
}

// The simulated receiver is opened at its own rate, not at the one the last run saved;
// a log that holds nothing when the run ends is not kept.
TEST(ConsoleRun, TheSimulatorsOwnRateAndNoEmptyLog) {
  TempDir dir;
  std::ofstream(dir.path + "/orlimo-console.ini") << "[GPSCOM]\r\nBaudRate=38400\r\n";
  int code = -1;
  std::string out = Console("--simulate sirf --log --stats --seconds 2 --data-dir " + dir.path, code);
  EXPECT_EQ(code, 0);
  EXPECT_NE(out.find(",9600 bps)\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" was saved ! -> ok\n"), std::string::npos) << out;
  ASSERT_EQ(Files(dir.path, "NMEA_", ".log").size(), 1u);
  EXPECT_NE(out.find("\nstats: {\"lines\":"), std::string::npos) << out;
  EXPECT_NE(out.find("\"per_type\":{\"GGA\":"), std::string::npos) << out;

  out = Console("--simulate silent --log --seconds 1 --data-dir " + dir.path, code);
  EXPECT_EQ(code, 0);
  EXPECT_NE(out.find("\ndialog information: Nothing was logged: no log was kept. -> ok\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("was saved"), std::string::npos);
  EXPECT_EQ(Files(dir.path, "NMEA_", ".log").size(), 1u);
  EXPECT_TRUE(Files(dir.path, "__tmp", "").empty());
  std::ifstream ini(dir.path + "/orlimo-console.ini");
  const std::string settings((std::istreambuf_iterator<char>(ini)), {});
  EXPECT_NE(settings.find("BaudRate=38400\r\n"), std::string::npos) << "a simulated run keeps the saved rate";
}

}  // namespace
