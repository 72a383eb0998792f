#include "console_actions.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace orlimo {
namespace {

using K = ConsoleActionKind;

TEST(DoOption, ActionsTimesAndArguments) {
  for (const auto& [text, kind] : {std::pair{"hot@0", K::HotStart}, {"warm@0", K::WarmStart}, {"cold@0", K::ColdStart},
                                   {"factory@0", K::FactoryReset}, {"trickle@0", K::Trickle},
                                   {"nmea4800@0", K::Nmea4800}, {"frame-test@0", K::FrameTest}}) {
    const auto action = ParseDoOption(text);
    ASSERT_TRUE(action) << text;
    EXPECT_EQ(action->kind, kind) << text;
  }
  const auto rate = ParseDoOption("rate:115200@.25");
  ASSERT_TRUE(rate);
  EXPECT_EQ(rate->argument, "115200");
  EXPECT_EQ(rate->atMs, 250);
  // Console text runs to the last '@'.
  const auto console = ParseDoOption("console:$PQXC,200,0*18 (a@b: note)@2.5");
  ASSERT_TRUE(console);
  EXPECT_EQ(console->kind, K::Console);
  EXPECT_EQ(console->argument, "$PQXC,200,0*18 (a@b: note)");
  EXPECT_EQ(console->atMs, 2500);
}

TEST(DoOption, BadForms) {
  for (const char* bad : {"", "hot", "hot@", "@1", "hot@-1", "hot@+1", "hot@ 1", "hot@.", "hot@1.2.3", "hot@1e3",
                          "hot@inf", "hot@0x10", "hot@100000000.5", "HOT@1", "tepid@1", "hot:1@1", "rate@1",
                          "rate:1234@1", "rate:09600@1", "console@1", "console:@1"}) {
    std::string why;
    EXPECT_FALSE(ParseDoOption(bad, &why)) << bad;
    EXPECT_FALSE(why.empty()) << bad;
  }
}

// Earlier times first whatever the order given, one time in the order given, and an
// action that runs the event loop past the next time is not overtaken.
TEST(ActionRunner, OrderAndNoOvertaking) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  std::string ran;
  bool running = false, overtaken = false;
  ActionRunner runner({*ParseDoOption("console:d@0.03"), *ParseDoOption("console:b@0.01"),
                       *ParseDoOption("console:a@0"), *ParseDoOption("console:c@0.01")},
                      [&](const ConsoleAction& a) {
                        overtaken |= running;
                        running = true;
                        ran += a.argument;
                        QEventLoop wait;
                        QTimer::singleShot(a.argument == "b" ? 60 : 0, &wait, &QEventLoop::quit);
                        wait.exec();
                        running = false;
                      });
  runner.Start();
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] { if (runner.Done() || ran.size() > 4) loop.quit(); });
  poll.start(5);
  QTimer::singleShot(3000, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(ran, "abcd");
  EXPECT_FALSE(overtaken);
}

}  // namespace
}  // namespace orlimo
