#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QSpinBox>

#include <gtest/gtest.h>

#include "app/navi_panel.h"
#include "app/simulator_link.h"
#include "app/ttff_dialog.h"
#include "session/ttff_runs.h"
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

// Measure > Time-to-first-fix runs against the simulated receiver (hot starts fix in
// 3 s): refused before there is a receiver, then two runs, timed and summed up.
TEST(Simulator, TimeToFirstFixRunsFromTheMeasureMenu) {
  test::App();
  TSimulatorLink sim;
  QString error;
  if (!sim.Start(QStringLiteral("sirf"), 9600, error)) GTEST_SKIP() << error.toStdString();
  test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")});
  TFrmOrlimo& w = *rig.window;
  TTtffDialog& dialog = w.ShowTtffDialog();
  dialog.StartOrCancel();
  EXPECT_FALSE(w.Session().TtffRuns().Running());
  EXPECT_FALSE(dialog.StatusText().isEmpty()) << "it says why";

  w.AddExtraPort(sim.PortPath());
  ASSERT_TRUE(w.SelectPort(sim.PortPath()));
  w.Session().TBOpenClick();
  ASSERT_TRUE(test::SpinUntil([&] { return w.Session().State().VersionKnown; }, 15000));
  dialog.findChild<QComboBox*>(QStringLiteral("Kind"))->setCurrentIndex(0);  // hot
  dialog.findChild<QSpinBox*>(QStringLiteral("Runs"))->setValue(2);
  dialog.findChild<QDoubleSpinBox*>(QStringLiteral("Pause"))->setValue(0.5);
  dialog.StartOrCancel();
  ASSERT_TRUE(w.Session().TtffRuns().Running()) << dialog.StatusText().toStdString();
  ASSERT_TRUE(test::SpinUntil([&] { return !w.Session().TtffRuns().Running(); }, 20000));
  for (const TtffRun& run : w.Session().TtffRuns().Runs()) {
    ASSERT_TRUE(run.seconds);
    EXPECT_NEAR(*run.seconds, 3.0, 1.5);
  }
  EXPECT_EQ(dialog.SummaryText().left(16), QStringLiteral("Runs 2, fixed 2;"));
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
