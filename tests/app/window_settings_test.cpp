// The window's files: the settings read at the first showing and written at the
// close, the log button, and a close that a failed log save abandons once.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/monitor_list.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

template <typename T = QWidget>
T* Child(TFrmOrlimo& w, const char* name) { return w.findChild<T*>(QString::fromLatin1(name)); }

class WindowFiles : public ::testing::Test {
 protected:
  WindowFiles() { EXPECT_TRUE(dir.isValid()); }
  std::string Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
  void WriteIni(const QByteArray& text) const {
    QFile f(QString::fromStdString(Path("orlimo.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QByteArray ReadIni() const {
    QFile f(QString::fromStdString(Path("orlimo.ini")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  std::unique_ptr<test::WindowRig> Rig(Edition edition = {}, std::string iniPath = {}) {
    if (iniPath.empty()) iniPath = Path("orlimo.ini");
    return std::make_unique<test::WindowRig>(
        QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyACM0")}, edition,
        [&](TFrmOrlimoSetup& s) { s.Places = {dir.path().toStdString() + "/", iniPath}; });
  }

  QTemporaryDir dir;
};

TEST_F(WindowFiles, TheFirstShowingAppliesTheSettingsFile) {
  WriteIni(
      "[gpscom]\r\nCOMPort=/DEV/TTYUSB0\r\nBaudRate=14400\r\n[Unit]\r\nIndex=1\r\n[GPS]\r\nChangeBaudRate=38400\r\n"
      "[SyntaxColor]\r\nEnabled=0\r\n[GPSCommand]\r\nCount=15\r\nCommand0=$PQXC,201\r\nCommand1=   \r\n"
      "Command2= $PSRF100,1\r\nCommand10=$PQXC,202\r\n");
  auto rig = Rig();
  TFrmOrlimo& w = *rig->window;
  EXPECT_EQ(w.BaudRateText(), "9600");  // until shown
  w.show();
  EXPECT_EQ(w.PortText(), "/dev/ttyUSB0");
  EXPECT_EQ(w.Session().CommGPS().CommName(), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(w.BaudRateText(), "4800");  // no such item: the first
  EXPECT_EQ(w.Session().CommGPS().BaudRate(), 4800u);
  EXPECT_EQ(w.Unit().ItemIndex, 1);
  EXPECT_EQ(w.GPSBaudRateText(), "38400");
  EXPECT_FALSE(w.lbxNMEA()->SyntaxColor());
  EXPECT_EQ(w.CommandHistory(), (std::vector<std::string>{"$PQXC,201", " $PSRF100,1"}));
  EXPECT_EQ(w.TraceLines(2), std::vector<std::string>{"FormShow"});
  // Opened centred on the desktop (give or take its frame).
  EXPECT_LE((w.frameGeometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center())
                .manhattanLength(),
            8);

  // Without "BaudRate" the first rate is taken, not the 9600 of a missing file.
  WriteIni("[GPSCOM]\r\nCOMPort=/dev/ttyUSB9\r\n");
  auto second = Rig();
  second->window->FormShow();
  EXPECT_EQ(second->window->PortText(), "/dev/ttyACM0");
  EXPECT_EQ(second->window->BaudRateText(), "4800");
  EXPECT_TRUE(second->window->lbxNMEA()->SyntaxColor());
}

TEST_F(WindowFiles, TheCloseWritesTheSettingsOfItsEdition) {
  {
    auto rig = Rig();
    TFrmOrlimo& w = *rig->window;
    w.show();
    w.SelectPort(QStringLiteral("/dev/ttyUSB0"));  // selected, never opened
    w.SelectUnit(1);
    ASSERT_TRUE(w.close());
    EXPECT_TRUE(rig->dialogs.empty());
  }
  EXPECT_EQ(ReadIni(), "[GPSCOM]\r\nCOMPort=/dev/ttyUSB0\r\nBaudRate=9600\r\n[Unit]\r\nIndex=1\r\n");

  // Pro: the receiver rate, the syntax colours and ten of the console's items too;
  // what it does not know stays.
  WriteIni("[Other]\r\nKey=kept\r\n[GPSCOM]\r\nCOMPort=/dev/ttyACM0\r\nBaudRate=38400\r\n");
  auto rig = Rig(Edition{.ProEdition = true});
  TFrmOrlimo& w = *rig->window;
  w.show();
  for (int i = 11; i >= 0; --i) w.InsertCommandHistory("$PQXC," + std::to_string(i));
  ASSERT_TRUE(w.close());
  const QByteArray ini = ReadIni();
  EXPECT_TRUE(ini.startsWith("[Other]\r\nKey=kept\r\n[GPSCOM]\r\nCOMPort=/dev/ttyACM0\r\nBaudRate=38400\r\n"));
  for (const char* line : {"[GPS]\r\nChangeBaudRate=4800\r\n", "[SyntaxColor]\r\nEnabled=1\r\n",
                           "Count=12\r\nCommand0=$PQXC,0\r\n", "Command9=$PQXC,9\r\n"}) {
    EXPECT_TRUE(ini.contains(line)) << line;
  }
  EXPECT_FALSE(ini.contains("Command10"));
}

TEST_F(WindowFiles, AFailedSettingsWriteIsShownAndTheWindowStillCloses) {
  QFile blocker(QString::fromStdString(Path("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  auto rig = Rig({}, Path("blocker") + "/orlimo.ini");
  EXPECT_TRUE(rig->window->close());
  ASSERT_EQ(rig->dialogs.size(), 1u);
  EXPECT_EQ(rig->dialogs[0].rfind("error: Unable to write the settings file " + Path("blocker") + "/orlimo.ini", 0),
            0u);
}

TEST_F(WindowFiles, TheLogButtonAndACloseThatAFailedSaveAbandonsOnce) {
  auto rig = Rig();
  TFrmOrlimo& w = *rig->window;
  w.Session().RawLog().SetClock([] {
    std::tm t{};
    t.tm_year = 2024 - 1900, t.tm_mon = 4, t.tm_mday = 7, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 3;
    return t;
  });
  QToolButton* log = w.ToolBar1()->Button(TTool::TBStartLog);
  auto expectLook = [&](int image, const char* hint, bool down, const char* panel) {
    EXPECT_EQ(w.ToolBar1()->Image(TTool::TBStartLog), image);
    EXPECT_EQ(log->toolTip(), QString::fromLatin1(hint));
    EXPECT_EQ(log->isDown(), down);
    EXPECT_EQ(w.PanelText(8), panel);
  };
  expectLook(19, "Start to Log data", false, "");
  log->click();
  expectLook(18, "Stop Log", true, "Start Log");
  log->click();
  const std::string saved = Path("NMEA_20240507-090503.log");
  EXPECT_EQ(rig->dialogs, std::vector<std::string>{"confirm: " + saved + " was saved !"});
  expectLook(19, "Start to Log data", false, "Stop Log");

  // The same second again: the log exists, the save fails and the button keeps its look.
  rig->dialogs.clear();
  log->click();
  log->click();
  EXPECT_EQ(rig->dialogs, std::vector<std::string>{"error: Unable to create Log file."});
  expectLook(18, "Stop Log", true, "Start Log");

  // Logging again, the close asks, the save fails: the window stays; the next close
  // does not ask again.
  log->click();
  rig->dialogs.clear();
  rig->answerYes = true;
  w.show();
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(rig->dialogs, (std::vector<std::string>{"ask: Do you want to save log data before quit ? ",
                                                    "error: Unable to create Log file."}));
  EXPECT_TRUE(w.close());
  EXPECT_EQ(rig->dialogs.size(), 2u);
  EXPECT_TRUE(QFile::exists(QString::fromStdString(w.Session().RawLog().TempLogPath())));
}

}  // namespace
}  // namespace orlimo
