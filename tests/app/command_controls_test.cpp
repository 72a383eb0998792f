// The receiver commands on the window: which of them each edition shows and where,
// that their clicks reach the session, that Return in the console does nothing, and
// how the control groups open and grey them.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/built_edition.h"
#include "app/monitor_list.h"
#include "app/status_bar.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

template <typename T = QWidget>
T* Child(TFrmOrlimo& w, const char* name) { return w.findChild<T*>(QString::fromLatin1(name)); }
QToolButton* Tool(TFrmOrlimo& w, TTool t) { return w.ToolBar1()->Button(t); }
// Where a part sits in the window below the menu bar, whose positions the layout gives.
QRect InWindow(TFrmOrlimo& w, const QWidget* c) { return QRect(c->mapTo(w.Client(), QPoint(0, 0)), c->size()); }

// The top row as the user sees it: no two shown parts overlap, none leaves the window.
void ExpectTopRowFits(TFrmOrlimo& w) {
  std::vector<QRect> parts;
  for (const char* name : {"gbxCOMSetting", "rgUNIT", "gbxGPSRBSetting", "ImgLogo"})
    if (Child(w, name)->isVisibleTo(&w)) parts.push_back(InWindow(w, Child(w, name)));
  for (QToolButton* b : w.ToolBar1()->findChildren<QToolButton*>())
    if (b->isVisibleTo(&w)) parts.push_back(InWindow(w, b));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    EXPECT_TRUE(w.Client()->rect().contains(parts[i]));
    for (std::size_t j = i + 1; j < parts.size(); ++j) EXPECT_FALSE(parts[i].intersects(parts[j]));
  }
}

TEST(Editions, TheShippedEditionHidesTheProControls) {
  for (bool trickle : {false, true}) {
    test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, Edition{.TrickleButtonEnabled = trickle});
    TFrmOrlimo& w = *rig.window;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KELDAR Orlimo V:1.10"));
    EXPECT_EQ(Tool(w, TTool::TBTP)->isVisibleTo(&w), trickle);
    for (TTool t : {TTool::TBNMEAOutput, TTool::TBHotStart, TTool::TBAbout}) EXPECT_FALSE(Tool(w, t)->isVisibleTo(&w));
    for (const char* name : {"gbxGPSRBSetting", "Panel7", "btnTP"}) EXPECT_FALSE(Child(w, name)->isVisibleTo(&w));
    EXPECT_TRUE(Child(w, "ImgLogo")->isVisibleTo(&w));
    EXPECT_EQ(InWindow(w, w.lbxNMEA()).top(), 62 + 223);
    ExpectTopRowFits(w);
  }
}

TEST(Editions, TheProEditionShowsTheCommandsWhereTheActivationPutsThem) {
  for (bool trickle : {false, true}) {
    SCOPED_TRACE(trickle);
    test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")},
                        Edition{.ProEdition = true, .TrickleButtonEnabled = trickle});
    TFrmOrlimo& w = *rig.window;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quorvex Orlimo Pro V:1.10"));
    EXPECT_EQ(w.ToolBar1()->width(), 400);
    EXPECT_TRUE(Tool(w, TTool::TBNMEAOutput)->isVisibleTo(&w) && Tool(w, TTool::TBHotStart)->isVisibleTo(&w));
    EXPECT_EQ(Tool(w, TTool::TBTP)->isVisibleTo(&w), trickle);
    EXPECT_FALSE(Child(w, "btnTP")->isVisibleTo(&w) || Child(w, "ImgLogo")->isVisibleTo(&w));

    // The unit switch at 630, 60 wide (590, 100 wide), or where the tools end if they
    // still run there.
    QWidget* unit = Child(w, "rgUNIT");
    const int toolsRight = w.ToolBar1()->x() + w.ToolBar1()->ContentWidth();
    EXPECT_EQ(unit->geometry(), QRect(std::max(trickle ? 630 : 590, toolsRight), 3, trickle ? 60 : 100, 50));
    // The rate group 5 after it, 134 wide; the list 77 wide, Apply 3 after it, 45 wide.
    QWidget* group = Child(w, "gbxGPSRBSetting");
    QWidget* rates = Child(w, "cbGPSBR");
    EXPECT_TRUE(group->isVisibleTo(&w));
    EXPECT_EQ(group->x(), unit->x() + unit->width() + 5);
    EXPECT_EQ(group->width(), 134);
    EXPECT_EQ(rates->width(), 77);
    EXPECT_EQ(Child(w, "btnGPSBRApply")->geometry().left(), rates->x() + 77 + 3);
    EXPECT_EQ(Child(w, "btnGPSBRApply")->width(), 45);
    ExpectTopRowFits(w);

    // The console 32 high under the views, the monitor list below it.
    QWidget* panel7 = Child(w, "Panel7");
    EXPECT_EQ(InWindow(w, panel7), QRect(0, 62 + 223, 598, 32));
    EXPECT_EQ(InWindow(w, w.lbxNMEA()), QRect(0, 62 + 255, 598, 533 - 255));
    for (QWidget* c : panel7->findChildren<QWidget*>()) {
      EXPECT_TRUE(!c->isVisibleTo(&w) || panel7->rect().contains(c->geometry())) << c->objectName().toStdString();
    }

    // The power mode of the trickle editions is read whole.
    const TStatusBar* bar = w.StatusBar1();
    EXPECT_TRUE(!trickle || bar->PanelRect(7).width() - 6 >= bar->fontMetrics().horizontalAdvance("[1000/1000]"));
  }
}

class ProWindow : public ::testing::Test {
 protected:
  ProWindow() {
    // Commands open as after identification; the port stays closed.
    w.Session().State().VersionKnown = true;
    w.Session().Connection().EnableSessionControls();
  }
  test::WindowRig rig{{QStringLiteral("/dev/ttyUSB0")},
                      Edition{.ProEdition = true, .TrickleButtonEnabled = true}};
  TFrmOrlimo& w = *rig.window;
  QComboBox* console = Child<QComboBox>(w, "cbCOMMAND");
};

TEST_F(ProWindow, ClicksReachTheSessionAndReturnInTheConsoleDoesNothing) {
  for (TTool t : {TTool::TBHotStart, TTool::TBColdStart, TTool::TBFactory}) Tool(w, t)->click();
  EXPECT_EQ(rig.dialogs, std::vector<std::string>(3, "warning: Please Open GPS First !!"));
  Tool(w, TTool::TBTP)->click();
  EXPECT_TRUE(w.Session().State().PowerReplyWatch);
  rig.dialogs.clear();
  Child<QComboBox>(w, "cbGPSBR")->setCurrentText(QStringLiteral("115200"));
  Child<QPushButton>(w, "btnGPSBRApply")->click();
  ASSERT_EQ(rig.dialogs.size(), 1u);
  EXPECT_EQ(rig.dialogs[0].rfind("ask: If your GPS device is a bluetooth GPS receiver", 0), 0u);

  // Return neither sends (every send leaves a line in the message log) nor keeps the text.
  console->setEditText(QStringLiteral("$PQXC,201"));
  const int logLines = w.TraceLineCount(2);
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(console->lineEdit(), &key);
  }
  EXPECT_EQ(w.TraceLineCount(2), logLines);
  EXPECT_EQ(console->count(), 0);
  // Send does, and a failed send still enters the history.
  Child<QPushButton>(w, "btnCMDSend")->click();
  EXPECT_EQ(w.TraceLineCount(2), logLines + 1);
  EXPECT_EQ(rig.dialogs.back(), "notice: \"$PQXC,201*05\" could not be sent: Send Data Fail !!")
      << "a failure shows in every layout, not only in the message log";
  EXPECT_EQ(w.CommandHistory(), std::vector<std::string>{"$PQXC,201"});
}

TEST_F(ProWindow, GreyRestartButtonsSayWhy) {
  w.SetRestartUnavailableReason("the receiver did not say what it is");
  EXPECT_EQ(Tool(w, TTool::TBColdStart)->toolTip(), QStringLiteral("Cold Start\nthe receiver did not say what it is"));
  w.SetRestartUnavailableReason("");
  EXPECT_EQ(Tool(w, TTool::TBFactory)->toolTip(), QStringLiteral("Factory Default"));
}

TEST_F(ProWindow, ControlGroupsOpenAndGreyTheCommands) {
  const QColor grey(0x80, 0x80, 0x80);
  QWidget* tmc = Child(w, "ckbTMCPage");
  const std::vector<QWidget*> commands = {
      Tool(w, TTool::TBNMEAOutput), Tool(w, TTool::TBHotStart), Tool(w, TTool::TBColdStart),
      Tool(w, TTool::TBFactory), Tool(w, TTool::TBTP), Child(w, "btnTP"), Child(w, "cbGPSBR"),
      Child(w, "btnGPSBRApply"), Child(w, "btnCMDSend"), console};
  auto expectCommands = [&](bool enabled, const QColor& consoleColour, const QColor& labelColour) {
    for (QWidget* c : commands) EXPECT_EQ(c->isEnabled(), enabled) << c->objectName().toStdString();
    QImage shot(w.Client()->size(), QImage::Format_ARGB32_Premultiplied);
    w.Client()->render(&shot);
    EXPECT_EQ(shot.pixelColor(InWindow(w, console).topLeft() + QPoint(8, 11)), consoleColour);
    EXPECT_EQ(shot.pixelColor(InWindow(w, Child(w, "Label3DBorder1")).topLeft() + QPoint(4, 11)), labelColour);
  };
  expectCommands(true, QColor(0xB9, 0xFF, 0xFF), QColor(0xFF, 0xB3, 0xB3));
  EXPECT_EQ(Child(w, "cbGPSBR")->palette().color(QPalette::Button), QColor(0xFF, 0xFF, 0x80));
  EXPECT_FALSE(tmc->isEnabled());  // no TMC module answered

  // A pause shuts the commands and leaves the TMC page; a disconnect shuts it too.
  w.Session().State().TMCPresent = true;
  w.Session().Connection().EnableSessionControls();
  w.Session().Connection().DisableCommandControls();
  expectCommands(false, grey, grey);
  EXPECT_TRUE(tmc->isEnabled());
  w.Session().Connection().DisableSessionControls();
  EXPECT_FALSE(tmc->isEnabled());
  EXPECT_EQ(Child(w, "cbGPSBR")->palette().color(QPalette::Button), grey);
}

}  // namespace
}  // namespace orlimo
