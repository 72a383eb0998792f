// The built orlimo window as a real process (offscreen) ended by a real signal.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../child_process.h"

namespace {

using namespace std::chrono_literals;
using orlimo::test::ChildProcess;

using orlimo::test::Files;
TEST(WindowSignals, SigtermClosesWithoutQuestionsSavingTheLogAndTheSettings) {
  const orlimo::test::TempDir scratch;
  ASSERT_FALSE(scratch.path.empty());
  const std::string& dir = scratch.path;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Run in the data folder: the wide layout writes its message log to the current one.
  ChildProcess window({ORLIMO_APP_PATH, "--simulate", "sirf", "--connect", "--log", "--data-dir", dir}, dir);
  ASSERT_TRUE(window.Started());

  // Logging runs once its temporary file holds the first sentences (within a second).
  const auto logging = [&] {
    const auto temps = Files(dir, "__tmp", ".tmp");
    return !temps.empty() && std::filesystem::file_size(temps[0]) > 0;
  };
  for (auto end = ChildProcess::Clock::now() + 10s; !logging() && ChildProcess::Clock::now() < end;)
    window.ReadFor(100ms);
  ASSERT_TRUE(logging()) << window.Errors();

  // A question or a box would keep it open until the wait ends.
  window.Signal(SIGTERM);
  EXPECT_EQ(window.Wait(10s), 0) << window.Errors();
  const auto logs = Files(dir, "NMEA_", ".log");
  ASSERT_EQ(logs.size(), 1u) << window.Errors();
  EXPECT_GT(std::filesystem::file_size(logs[0]), 0u);
  EXPECT_TRUE(Files(dir, "__tmp", "").empty());
  EXPECT_TRUE(std::filesystem::exists(dir + "/orlimo.ini"));
}

}  // namespace
