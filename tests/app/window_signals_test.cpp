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

std::vector<std::filesystem::path> Files(const std::string& dir, const std::string& prefix, const std::string& suffix) {
  std::vector<std::filesystem::path> found;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    const std::string name = e.path().filename();
    if (name.starts_with(prefix) && name.ends_with(suffix)) found.push_back(e.path());
  }
  return found;
}

TEST(WindowSignals, SigtermClosesWithoutQuestionsSavingTheLogAndTheSettings) {
  char name[] = "/tmp/orlimo-window-signals-XXXXXX";
  ASSERT_NE(::mkdtemp(name), nullptr);
  const std::string dir = name;
  const std::shared_ptr<void> cleanUp(nullptr, [&](void*) { std::filesystem::remove_all(dir); });
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
