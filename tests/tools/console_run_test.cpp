// Runs the built orlimo-console against its in-process simulated receiver.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

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
  // The cold start is given last but is due first; the receiver has identified itself by then.
  const std::string out = Console("--simulate sirf --baud 9600 --connect --seconds 6"
                                  " --do 'console:$PQXC,201@4.5' --do frame-test@4.5 --do cold@4", code);
  EXPECT_EQ(code, 0);
  const auto cold = out.find("trace Memo2: $PSRF101,0,0,0,96000,0,0,12,4*1F\ntrace Memo2:  CMD OK!!\n");
  const auto console = out.find("trace Memo2: ...[$PQXC,201*05]....Send CMD Success !!\n");
  const auto test = out.find("trace Memo2: 7,961E510006001E,0129,96\ntrace Memo2: SiRF format OK !\n");
  ASSERT_NE(test, std::string::npos) << out;
  EXPECT_LT(cold, console);
  EXPECT_LT(console, test);
}

TEST(ConsoleRun, BadActionIsABadArgument) {
  int code = -1;
  EXPECT_NE(Console("--do rate:1200@1 2>&1", code).find("usage: orlimo-console"), std::string::npos);
  EXPECT_EQ(code, 2);
}

}  // namespace
