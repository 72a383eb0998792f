#include <QComboBox>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QScreen>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QToolButton>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "app/accuracy_dialog.h"
#include "app/artwork/artwork.h"
#include "app/signal_history_dialog.h"
#include "app/statistics_dialog.h"
#include "measure/gpx.h"
#include "app/monitor_list.h"
#include "app/navi_panel.h"
#include "app/status_bar.h"
#include "app_test_support.h"
#include "../child_process.h"

namespace orlimo {
namespace {

using test::kGGA;
using test::kGSA;
using test::kGSV;
using test::kRMC;

QToolButton* Tool(TFrmOrlimo& w, TTool t) { return w.ToolBar1()->Button(t); }

// Panel 0 as drawn, compared with the two pictures it should show.
bool IndicatorShows(TFrmOrlimo& w, int under, int over) {
  TStatusBar* bar = w.StatusBar1();
  QImage shot(bar->size(), QImage::Format_ARGB32_Premultiplied);
  bar->render(&shot);
  const QRect r = bar->PanelRect(0);
  QImage expected(bar->size(), QImage::Format_ARGB32_Premultiplied);
  bar->render(&expected);
  {
    QPainter p(&expected);
    p.fillRect(r, bar->palette().color(QPalette::Window));
    p.drawImage(r.topLeft(), artwork::GPSDataImage(under));
    p.drawImage(r.topLeft(), artwork::GPSDataImage(over));
  }
  return shot.copy(r) == expected.copy(r);
}

TEST(IndicatorImages, PerState) {
  EXPECT_EQ(IndicatorImages(false, false), std::make_pair(0, 1));
  EXPECT_EQ(IndicatorImages(false, true), std::make_pair(0, 1));
  EXPECT_EQ(IndicatorImages(true, true), std::make_pair(2, 0));
  EXPECT_EQ(IndicatorImages(true, false), std::make_pair(2, 3));
}

TEST(StatusBar, TheLightShowsItsWholePicture) {
  test::App();
  TStatusBar bar;
  bar.resize(300, TStatusBar::kHeight);
  bar.SetDrawPanel([](QPainter& p, const QRect& r) { p.drawImage(r.topLeft(), artwork::GPSDataImage(1)); });
  const int size = artwork::kGPSDataImageSize;
  ASSERT_EQ(bar.PanelRect(0).size(), QSize(size, size));
  QImage shot(bar.size(), QImage::Format_ARGB32_Premultiplied);
  bar.render(&shot);
  QImage expected(size, size, QImage::Format_ARGB32_Premultiplied);
  expected.fill(bar.palette().color(QPalette::Window));
  QPainter(&expected).drawImage(0, 0, artwork::GPSDataImage(1));
  EXPECT_EQ(shot.copy(bar.PanelRect(0)), expected);
  EXPECT_GE(bar.PanelRect(1).left(), bar.PanelRect(0).right() + 2);
}

// What the screen shows of a window: its contents as last painted and flushed, not a
// fresh rendering.
QImage OnScreen(QWidget& w) {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  return QGuiApplication::primaryScreen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Rendered(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Paint events and the region each one asked for.
struct PaintLog : QObject {
  std::vector<QRegion> regions;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) regions.push_back(static_cast<QPaintEvent*>(e)->region());
    return false;
  }
};

// The light blinks without the texts being painted again, a text changes without the
// light, and each change reaches the screen.
TEST(StatusBar, EachChangeReachesTheScreenAndPaintsOnlyItsPanel) {
  test::App();
  TStatusBar bar;
  bar.resize(846, TStatusBar::kHeight);
  int light = 1;
  int lightPaints = 0;
  bar.SetDrawPanel([&](QPainter& p, const QRect& r) {
    ++lightPaints;
    p.drawImage(r.topLeft(), artwork::GPSDataImage(light));
  });
  bar.SetText(3, QStringLiteral("NMEA"));
  bar.show();
  ASSERT_TRUE(test::SpinUntil([&] { return lightPaints > 0; }));
  PaintLog log;
  bar.installEventFilter(&log);

  light = 0;
  bar.UpdateLight();
  QImage screen = OnScreen(bar);
  EXPECT_EQ(log.regions, std::vector<QRegion>{QRegion(bar.PanelRect(0))});
  EXPECT_EQ(screen, Rendered(bar));

  log.regions.clear();
  const int before = lightPaints;
  bar.SetText(3, QStringLiteral("UNKNOW"));
  bar.SetText(6, QStringLiteral("[3/9]"));
  screen = OnScreen(bar);
  EXPECT_EQ(lightPaints, before);
  EXPECT_EQ(log.regions, std::vector<QRegion>{QRegion(bar.PanelRect(3)) + bar.PanelRect(6)});
  // The same texts in a bar that never showed the old ones.
  TStatusBar fresh;
  fresh.resize(bar.size());
  fresh.SetDrawPanel([&](QPainter& p, const QRect& r) { p.drawImage(r.topLeft(), artwork::GPSDataImage(light)); });
  fresh.SetText(3, QStringLiteral("UNKNOW"));
  fresh.SetText(6, QStringLiteral("[3/9]"));
  EXPECT_EQ(screen, Rendered(fresh));
}

TEST(MainWindow, StartsDisconnectedWithTheShippedLayout) {
  test::WindowRig rig({QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyACM0")});
  TFrmOrlimo& w = *rig.window;
  EXPECT_EQ(w.windowTitle(), QStringLiteral("KELDAR Orlimo V:1.10"));
  EXPECT_EQ(w.Client()->size(), QSize(846, 615));
  EXPECT_EQ(w.height(), 615 + w.MenuBar()->height()) << "the menu bar only adds its own height";
  EXPECT_EQ(w.PortItems(), (QStringList{"/dev/ttyACM0", "/dev/ttyUSB0"}));
  EXPECT_EQ(w.PortText(), "/dev/ttyACM0");
  EXPECT_EQ(w.BaudRateText(), "9600");
  EXPECT_EQ(w.PanelText(2), "COM Port  (disconnect)");
  EXPECT_EQ(w.PanelText(3), "UNKNOW");
  EXPECT_EQ(w.SpinEditTimeOut()->value(), 30);
  EXPECT_TRUE(rig.dialogs.empty());

  // Tool bar: open, pause, detection | cold start | factory, log.
  std::vector<std::string> shown;
  for (QToolButton* b : w.ToolBar1()->findChildren<QToolButton*>()) {
    if (!b->isHidden()) shown.push_back(b->objectName().toStdString());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"TBOpen", "TBPause", "TBAutoSync", "TBColdStart",
                                             "TBFactory", "TBStartLog"}));
  EXPECT_EQ(Tool(w, TTool::TBPause)->x() - Tool(w, TTool::TBOpen)->x(), 39);
  EXPECT_EQ(Tool(w, TTool::TBColdStart)->x() - Tool(w, TTool::TBAutoSync)->x(), 39 + 6);
  EXPECT_TRUE(Tool(w, TTool::TBOpen)->isEnabled());
  EXPECT_FALSE(Tool(w, TTool::TBPause)->isEnabled());
  EXPECT_FALSE(Tool(w, TTool::TBAutoSync)->isEnabled());
  EXPECT_FALSE(Tool(w, TTool::TBColdStart)->isEnabled());
  EXPECT_EQ(w.ToolBar1()->Image(TTool::TBOpen), 1);
  EXPECT_EQ(Tool(w, TTool::TBOpen)->toolTip(), QStringLiteral("Connect to GPS"));
  EXPECT_TRUE(IndicatorShows(w, 0, 1));

  // Containers at their places.
  EXPECT_EQ(w.Panel5()->geometry(), QRect(3, 3, 353, 214));
  EXPECT_EQ(w.Panel6()->geometry(), QRect(362, 3, 217, 217));
  EXPECT_EQ(w.Panel10()->mapTo(w.Client(), QPoint(0, 0)), QPoint(598, 62 + 249));
  EXPECT_EQ(w.StatusBar1()->mapTo(w.Client(), QPoint(0, 0)).y(), 595);
  EXPECT_GE(w.Edit1()->x(), 846);  // outside the window, still able to take focus
}

TEST(MainWindow, UnitSwitchChangesTheReadOuts) {
  test::WindowRig rig;
  TFrmOrlimo& w = *rig.window;
  w.SelectUnit(1);
  EXPECT_EQ(w.Unit().SpeedCaption, "Mile/H");
  EXPECT_DOUBLE_EQ(w.Unit().SpeedFactor, 1.15151515);
  TqvNMEA nmea;
  TSentenceType type{};
  for (const std::string& l : {kRMC, kGGA, kGSA}) {
    nmea.DecodeSentence(l, type);
    nmea.SentenceSeen[type] = true;
  }
  w.UpdateNaviPanel(nmea);
  EXPECT_EQ(w.Panel10()->Text(nlSOG), "25.5 Mile/H ");
  EXPECT_EQ(w.Panel10()->Text(nlAlt), "256.9 ft ");
}

class ConnectedWindow : public ::testing::Test {
 protected:
  ConnectedWindow() {
    EXPECT_TRUE(pty.Valid());
    w.AddExtraPort(pty.Path());
    EXPECT_TRUE(w.SelectPort(pty.Path()));
  }
  std::string Port() const { return pty.Path().toStdString(); }

  test::Pty pty;
  test::WindowRig rig;
  TFrmOrlimo& w = *rig.window;
};

TEST_F(ConnectedWindow, ConnectPauseAndCloseShowInTheStatusBar) {
  Tool(w, TTool::TBOpen)->click();
  ASSERT_TRUE(w.Session().State().PortOpen);
  EXPECT_EQ(w.PanelText(2), "Open (" + Port() + ",9600 bps)");
  EXPECT_EQ(w.StatusBar1()->Bevel(2), TPanelBevel::Raised);
  EXPECT_EQ(w.ToolBar1()->Image(TTool::TBOpen), 0);
  EXPECT_TRUE(Tool(w, TTool::TBOpen)->isChecked());
  EXPECT_EQ(Tool(w, TTool::TBOpen)->toolTip(), QStringLiteral("Disconnect"));
  EXPECT_TRUE(Tool(w, TTool::TBPause)->isEnabled());
  EXPECT_TRUE(IndicatorShows(w, 2, 3));

  // Data lights the indicator, and the one-second pass fills the list and the panel.
  pty.Send({kRMC, kGGA, kGSA, kGSV});
  ASSERT_TRUE(test::SpinUntil([&] { return w.Session().Indicator().IsOn(); }));
  EXPECT_TRUE(IndicatorShows(w, 2, 0));
  ASSERT_TRUE(test::SpinUntil([&] {
    pty.Send({kRMC, kGGA, kGSA, kGSV});
    test::SpinUntil([] { return false; }, 200);
    return w.MonitorLineCount() >= 4;
  }, 8000));
  EXPECT_EQ(w.PanelText(3), "NMEA");
  EXPECT_EQ(w.Panel10()->Text(nlLat), "N  37.504153\xB0");
  EXPECT_EQ(w.MonitorSelectedIndex(), w.MonitorLineCount() - 1);

  // Pause: the list stands still.
  Tool(w, TTool::TBPause)->click();
  EXPECT_TRUE(w.Session().State().Paused);
  EXPECT_EQ(w.PanelText(2), "Pause (" + Port() + ",9600 bps)");
  EXPECT_EQ(w.StatusBar1()->Bevel(2), TPanelBevel::Lowered);
  EXPECT_EQ(Tool(w, TTool::TBPause)->toolTip(), QStringLiteral("Click to Continue"));
  const int lines = w.MonitorLineCount();
  pty.Send({kRMC, kGGA});
  test::SpinUntil([] { return false; }, 1300);
  EXPECT_EQ(w.MonitorLineCount(), lines);

  // Close while paused: pause released and disabled, plugs joined again.
  Tool(w, TTool::TBOpen)->click();
  EXPECT_FALSE(w.Session().State().PortOpen);
  EXPECT_EQ(w.PanelText(2), Port() + " Close");
  EXPECT_EQ(w.PanelText(3), "UNKNOW");
  EXPECT_FALSE(Tool(w, TTool::TBPause)->isEnabled());
  EXPECT_FALSE(Tool(w, TTool::TBPause)->isChecked());
  EXPECT_EQ(w.ToolBar1()->Image(TTool::TBPause), 2);
  EXPECT_EQ(w.ToolBar1()->Image(TTool::TBOpen), 1);
  EXPECT_FALSE(Tool(w, TTool::TBOpen)->isChecked());
  EXPECT_TRUE(IndicatorShows(w, 0, 1));
  EXPECT_EQ(w.SpinEditTimeOut()->value(), 33);  // the read interval of that connection
  EXPECT_TRUE(rig.dialogs.empty());
}

TEST_F(ConnectedWindow, FailedOpenLeavesTheButtonReadyForAnotherTry) {
  w.AddExtraPort(QStringLiteral("/nonexistent/ttyUSB9"));
  ASSERT_TRUE(w.SelectPort(QStringLiteral("/nonexistent/ttyUSB9")));
  Tool(w, TTool::TBOpen)->click();
  EXPECT_FALSE(w.Session().State().PortOpen);
  EXPECT_EQ(rig.dialogs, (std::vector<std::string>{"error: /nonexistent/ttyUSB9 Connection Error !\r\nNo such file or directory"}));
  EXPECT_EQ(w.PanelText(2), "Connection Fail");
  EXPECT_FALSE(Tool(w, TTool::TBOpen)->isChecked());
  EXPECT_TRUE(Tool(w, TTool::TBOpen)->isEnabled());
  EXPECT_EQ(w.ToolBar1()->Image(TTool::TBOpen), 1);

  ASSERT_TRUE(w.SelectPort(pty.Path()));
  Tool(w, TTool::TBOpen)->click();
  EXPECT_TRUE(w.Session().State().PortOpen);
}

// The menu bar: a capture chosen in File replays and connects, and Help's About (F1)
// is the box the About tool button opens.
TEST(MenuBar, ReplayAndAbout) {
  const QString capture = QStringLiteral(ORLIMO_SOURCE_DIR "/data/sample-1hz.nmea");
  test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, {}, [&](TFrmOrlimoSetup& s) {
    s.GetOpenFileName = [&](const QString&, const QString&) { return capture; };
  });
  TFrmOrlimo& w = *rig.window;
  QMenu* file = w.MenuBar()->findChildren<QMenu*>().value(0);
  ASSERT_NE(file, nullptr);
  file->actions().value(0)->trigger();  // Replay a capture…
  EXPECT_TRUE(w.Session().State().PortOpen);
  EXPECT_EQ(w.PortText().rfind("/dev/pts/", 0), 0u) << w.PortText();

  QAction* about = nullptr;
  for (QAction* a : w.MenuBar()->findChildren<QAction*>())
    if (a->shortcut() == QKeySequence(Qt::Key_F1)) about = a;
  ASSERT_NE(about, nullptr);
  about->trigger();
  Tool(w, TTool::TBAbout)->click();
  ASSERT_EQ(rig.dialogs.size(), 2u);
  EXPECT_EQ(rig.dialogs[0].rfind("information: Orlimo ", 0), 0u) << rig.dialogs[0];
  EXPECT_EQ(rig.dialogs[1], rig.dialogs[0]);
}

// The test bench of a replayed capture: the accuracy figures and the signal history
// fill as it plays, and the track goes out as GPX, the session's or a log's.
TEST(MenuBar, AccuracyHistoryAndTrackOfAReplay) {
  const QString capture = QStringLiteral(ORLIMO_SOURCE_DIR "/data/sample-1hz.nmea");
  test::TempDir dir;
  const QString gpx = QString::fromStdString(dir.path + "/track.gpx");
  test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, {}, [&](TFrmOrlimoSetup& s) {
    s.GetOpenFileName = [&](const QString&, const QString&) { return capture; };
    s.GetSaveFileName = [&](const QString&) { return gpx; };
  });
  TFrmOrlimo& w = *rig.window;
  w.MenuBar()->findChildren<QMenu*>().value(0)->actions().value(0)->trigger();  // Replay a capture…
  TBenchRecorder& bench = w.Session().Bench();
  ASSERT_TRUE(test::SpinUntil([&] { return bench.Accuracy().Fixes() >= 2 && !bench.SignalHistory().Solution().empty(); }, 15000));

  TAccuracyDialog& accuracy = w.ShowAccuracyDialog();
  accuracy.Refresh();
  EXPECT_TRUE(accuracy.FiguresText().contains(QRegularExpression(QStringLiteral("CEP50: [0-9.]+ m"))))
      << accuracy.FiguresText().toStdString();
  EXPECT_FALSE(w.ShowSignalHistoryDialog().SatelliteNames().isEmpty());
  EXPECT_TRUE(w.ShowStatisticsDialog().TableText().contains(QRegularExpression(QStringLiteral("\nGGA\t[1-9]"))))
      << w.ShowStatisticsDialog().TableText().toStdString();

  const auto trkpts = [&] {
    std::ifstream in(gpx.toStdString());
    std::stringstream text;
    text << in.rdbuf();
    std::size_t n = 0;
    for (std::size_t at = 0; (at = text.str().find("<trkpt ", at)) != std::string::npos; ++at) ++n;
    return n;
  };
  rig.answerYes = true;  // this session's fixes
  const std::size_t sessionFixes = bench.Track().size();
  w.ExportTrack();
  EXPECT_GE(trkpts(), sessionFixes);
  rig.answerYes = false;  // the capture's, every one
  w.ExportTrack();
  std::ifstream log(capture.toStdString());
  EXPECT_EQ(trkpts(), ReadTrack(log).size());
  EXPECT_GT(trkpts(), sessionFixes);
}

}  // namespace
}  // namespace orlimo
