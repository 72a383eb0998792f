#include <gtest/gtest.h>

#include "app/app_options.h"

namespace orlimo {
namespace {

struct Parsed {
  bool ok;
  TAppOptions opts;
  QString error;
  bool help;
};

Parsed Parse(QStringList args) {
  args.prepend(QStringLiteral("orlimo"));
  Parsed p{};
  QString help;
  p.ok = ParseAppOptions(args, p.opts, p.error, help, p.help);
  EXPECT_TRUE(help.contains(QStringLiteral("--sim-rate <BPS>")));
  EXPECT_TRUE(help.contains(QStringLiteral("--replay <FILE>")));
  EXPECT_TRUE(help.contains(QStringLiteral("--replay-speed <N>")));
  EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: orlimo")));
  // Where the settings and the logs go.
  EXPECT_TRUE(help.contains(QStringLiteral("--data-dir <DIR>")));
  EXPECT_TRUE(help.contains(QStringLiteral("$XDG_CONFIG_HOME/orlimo/")));
  return p;
}

TEST(AppOptions, TheFullSet) {
  const Parsed p = Parse({"--simulate", "sirf", "--sim-rate", "4800", "--baud", "19200", "--port",
                          "/dev/ttyUSB3", "--port", "/tmp/gps", "--connect", "--screenshot",
                          "/tmp/a.png", "--after", "2.5", "--sim-speed", "54", "--sim-course", "62.5",
                          "--data-dir", "/tmp/orlimo-data"});
  ASSERT_TRUE(p.ok) << p.error.toStdString();
  EXPECT_EQ(p.opts.Simulate, QStringLiteral("sirf"));
  EXPECT_EQ(p.opts.SimRate, 4800);
  EXPECT_EQ(p.opts.Baud, 19200);
  EXPECT_EQ(p.opts.Ports, (QStringList{"/dev/ttyUSB3", "/tmp/gps"}));
  EXPECT_TRUE(p.opts.Connect);
  EXPECT_EQ(p.opts.Screenshot, QStringLiteral("/tmp/a.png"));
  EXPECT_DOUBLE_EQ(p.opts.After, 2.5);
  EXPECT_DOUBLE_EQ(p.opts.SimSpeed, 54);
  EXPECT_DOUBLE_EQ(p.opts.SimCourse, 62.5);
  EXPECT_EQ(p.opts.DataDir, QStringLiteral("/tmp/orlimo-data"));
  EXPECT_FALSE(p.help);
}

TEST(AppOptions, AReplayIsTheSimulatedReceiverWithARateAndASpeed) {
  const Parsed p = Parse({"--replay", "neo-m8n.log", "--replay-speed", "16", "--sim-rate", "115200"});
  ASSERT_TRUE(p.ok) << p.error.toStdString();
  EXPECT_EQ(p.opts.Replay, QStringLiteral("neo-m8n.log"));
  EXPECT_EQ(p.opts.ReplaySpeed, 16);
  EXPECT_EQ(p.opts.SimRate, 115200);
  EXPECT_TRUE(p.opts.Simulate.isEmpty());
  const Parsed plain = Parse({"--replay", "a.log"});
  EXPECT_EQ(plain.opts.ReplaySpeed, 1);
  EXPECT_EQ(plain.opts.SimRate, 0);  // chosen from the capture at start
  // With --simulate too the replay is started instead (main says so): no error here.
  EXPECT_TRUE(Parse({"--replay", "a.log", "--simulate", "sirf", "--sim-speed", "54"}).ok);
}

TEST(AppOptions, DefaultsAndHelp) {
  const Parsed none = Parse({});
  ASSERT_TRUE(none.ok);
  EXPECT_TRUE(none.opts.Simulate.isEmpty());
  EXPECT_EQ(none.opts.Baud, 0);
  EXPECT_FALSE(none.opts.Connect);
  EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(AppOptions, BadInputIsRefusedWithAReason) {
  for (const QStringList& args : {QStringList{"--baud", "14400"}, QStringList{"--baud", "fast"},
                                  QStringList{"--sim-rate", "9600"}, QStringList{"--after", "3"},
                                  QStringList{"--screenshot", "a.png", "--after", "-1"},
                                  QStringList{"--port"}, QStringList{"--bogus"}, QStringList{"extra"},
                                  QStringList{"--data-dir", ""},
                                  QStringList{"--sim-speed", "10"},
                                  QStringList{"--simulate", "sirf", "--sim-speed", "-1"},
                                  QStringList{"--simulate", "sirf", "--sim-speed", "nan"},
                                  QStringList{"--simulate", "sirf", "--sim-course", "361"},
                                  QStringList{"--replay", ""}, QStringList{"--replay-speed", "2"},
                                  QStringList{"--replay", "a.log", "--sim-speed", "5"},
                                  QStringList{"--replay", "a.log", "--replay-speed", "0"},
                                  QStringList{"--replay", "a.log", "--replay-speed", "17"},
                                  QStringList{"--replay", "a.log", "--replay-speed", "2.5"},
                                  QStringList{"--replay", "a.log", "--replay-speed", "fast"},
                                  QStringList{"--replay", "a.log", "--sim-rate", "1200"}}) {
    const Parsed p = Parse(args);
    EXPECT_FALSE(p.ok) << args.join(' ').toStdString();
    EXPECT_FALSE(p.error.isEmpty());
  }
}

}  // namespace
}  // namespace orlimo
