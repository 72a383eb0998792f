#include <QComboBox>
#include <QFile>

#include <gtest/gtest.h>

#include "app/navi_panel.h"
#include "app/simulator_link.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

TEST(Simulator, TheWindowConnectsToTheSimulatedReceiverAndShowsItsFix) {
  test::App();
  TSimulatorLink sim;
  QString error;
  if (!sim.Start(QStringLiteral("sirf"), 9600, error)) {
    if (error == QStringLiteral("simulator not available")) GTEST_SKIP() << "built without the simulator";
    FAIL() << error.toStdString();
  }
  EXPECT_EQ(sim.Rate(), 9600);

  test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")});
  TFrmOrlimo& w = *rig.window;
  w.AddExtraPort(sim.PortPath());
  ASSERT_TRUE(w.SelectPort(sim.PortPath()));
  w.Session().TBOpenClick();
  ASSERT_TRUE(w.Session().State().PortOpen);
  EXPECT_EQ(w.PanelText(2), "Open (" + sim.PortPath().toStdString() + ",9600 bps)");

  ASSERT_TRUE(test::SpinUntil([&] { return !w.Panel10()->Text(nlLat).empty(); }, 15000));
  EXPECT_EQ(w.PanelText(3), "NMEA");
  EXPECT_EQ(w.Panel10()->Text(nlLat).substr(0, 6), "N  37.");
  EXPECT_EQ(w.Panel10()->Text(nlFix), "3D ");
  EXPECT_GT(w.MonitorLineCount(), 5);
  EXPECT_TRUE(rig.dialogs.empty());

  w.Session().TBOpenClick();
  EXPECT_EQ(w.PanelText(2), sim.PortPath().toStdString() + " Close");
}

TEST(Simulator, AReplayRunsAtTheRateThatKeepsItsPaceOrSaysWhyItCannot) {
  const QString log = QStringLiteral(ORLIMO_TESTDATA_DIR "/receiver-logs/neo-m8n.log");
  if (!QFile::exists(log)) GTEST_SKIP() << "no captures at " << log.toStdString();
  TSimulatorLink sim;
  QString error, note;
  if (!sim.StartReplay(log, 0, 4, error, note)) {
    if (error == QStringLiteral("simulator not available")) GTEST_SKIP() << "built without the simulator";
    FAIL() << error.toStdString();
  }
  EXPECT_EQ(sim.Rate(), 38400);  // the lowest that sends its 760-byte epochs four a second
  EXPECT_TRUE(note.isEmpty()) << note.toStdString();
  TSimulatorLink none;
  EXPECT_FALSE(none.StartReplay(QStringLiteral("/nonexistent/capture.log"), 0, 1, error, note));
  EXPECT_TRUE(error.contains(QStringLiteral("/nonexistent/capture.log does not exist"))) << error.toStdString();
  EXPECT_FALSE(none.Running());
}

TEST(Simulator, UnknownPersonalityIsRefused) {
  TSimulatorLink sim;
  QString error;
  EXPECT_FALSE(sim.Start(QStringLiteral("garmin"), 0, error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(sim.Running());
}

}  // namespace
}  // namespace orlimo
