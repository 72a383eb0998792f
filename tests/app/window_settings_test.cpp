// The window's files: the settings read at the first showing and written at the
// close, the log button, and a close that a failed log save abandons once.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/monitor_list.h"
#include "app/simulator_link.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

class WindowFiles : public ::testing::Test {
 protected:
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
  WriteIni("[gpscom]\r\nCOMPort=/DEV/TTYUSB0\r\nBaudRate=14400\r\n[Unit]\r\nIndex=1\r\n[GPS]\r\nChangeBaudRate=38400\r\n"
           "[SyntaxColor]\r\nEnabled=0\r\n[GPSCommand]\r\nCount=3\r\nCommand0=$PQXC,201\r\nCommand1=   \r\n"
           "Command2= $PSRF100,1\r\n");
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
  // Centred on the desktop, give or take the frame.
  EXPECT_LE((w.frameGeometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center())
                .manhattanLength(),
            8);
}

TEST_F(WindowFiles, TheCloseWritesTheSettingsOfItsEdition) {
  {
    auto rig = Rig();
    rig->window->show();
    rig->window->SelectPort(QStringLiteral("/dev/ttyUSB0"));  // selected, never opened
    rig->window->SelectUnit(1);
    ASSERT_TRUE(rig->window->close());
  }
  EXPECT_EQ(ReadIni(), "[GPSCOM]\r\nCOMPort=/dev/ttyUSB0\r\nBaudRate=9600\r\n[Unit]\r\nIndex=1\r\n");

  // Pro: the port and rate as read, the receiver rate, the colours, ten console items.
  WriteIni("[GPSCOM]\r\nCOMPort=/dev/ttyACM0\r\nBaudRate=38400\r\n");
  auto rig = Rig(Edition{.ProEdition = true});
  rig->window->show();
  for (int i = 11; i >= 0; --i) rig->window->InsertCommandHistory("$PQXC," + std::to_string(i));
  ASSERT_TRUE(rig->window->close());
  const QByteArray ini = ReadIni();
  EXPECT_TRUE(ini.startsWith("[GPSCOM]\r\nCOMPort=/dev/ttyACM0\r\nBaudRate=38400\r\n"));
  EXPECT_TRUE(ini.contains("ChangeBaudRate=4800\r\n[SyntaxColor]\r\nEnabled=1\r\n[GPSCommand]\r\nCount=12\r\n"));
  EXPECT_TRUE(ini.contains("Command9=$PQXC,9\r\n"));
  EXPECT_FALSE(ini.contains("Command10"));
}

TEST_F(WindowFiles, AnUnlistedSavedPortStaysAndASimulatorRunLeavesTheSavedOnes) {
  WriteIni("[GPSCOM]\r\nCOMPort=/tmp/orlimo-no-such-link\r\nBaudRate=38400\r\n");
  TSimulatorLink sim;
  QString error;
  if (!sim.Start(QStringLiteral("sirf"), 9600, error)) GTEST_SKIP() << error.toStdString();
  {
    test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, {}, [&](TFrmOrlimoSetup& s) {
      s.Places = {dir.path().toStdString() + "/", Path("orlimo.ini")};
      s.ExtraPorts << sim.PortPath();
      s.SimulatorPort = sim.PortPath();
    });
    TFrmOrlimo& w = *rig.window;
    w.show();
    EXPECT_EQ(w.PortText(), "/tmp/orlimo-no-such-link") << "kept as given, not replaced by a listed port";
    ASSERT_TRUE(w.SelectPort(sim.PortPath()));
    w.SelectBaudRate("9600");
    w.Session().TBOpenClick();
    ASSERT_TRUE(w.Session().State().PortOpen);
    ASSERT_TRUE(w.close());
  }
  EXPECT_TRUE(ReadIni().startsWith("[GPSCOM]\r\nCOMPort=/tmp/orlimo-no-such-link\r\nBaudRate=38400\r\n"))
      << ReadIni().toStdString();
}

TEST_F(WindowFiles, AFailedSettingsWriteIsShownAndTheWindowStillCloses) {
  QFile blocker(QString::fromStdString(Path("blocker")));  // a file where the folder should be
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
    t.tm_year = 124, t.tm_mon = 4, t.tm_mday = 7, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 3;
    return t;
  });
  QToolButton* log = w.ToolBar1()->Button(TTool::TBStartLog);
  auto expectLook = [&](int image, const char* hint, bool down) {
    EXPECT_EQ(w.ToolBar1()->Image(TTool::TBStartLog), image);
    EXPECT_EQ(log->toolTip(), QString::fromLatin1(hint));
    EXPECT_EQ(log->isDown(), down);
  };
  expectLook(19, "Start to Log data", false);
  log->click();
  expectLook(18, "Stop Log", true);
  EXPECT_EQ(w.PanelText(8), "Start Log");
  // A log of that second exists already: the next name is taken.
  QFile(QString::fromStdString(Path("NMEA_20240507-090503.log"))).open(QIODevice::WriteOnly);
  log->click();
  EXPECT_EQ(rig->dialogs, std::vector<std::string>{"confirm: " + Path("NMEA_20240507-090503-2.log") + " was saved !"});
  expectLook(19, "Start to Log data", false);

  // Logging again, the folder moved away: the close asks and the save fails, the
  // window stays, and the next close does not ask again. The lines stay in the
  // temporary file, which went with the folder.
  log->click();
  const QString moved = dir.path() + QStringLiteral("-moved");
  ASSERT_TRUE(QFile::rename(dir.path(), moved));
  rig->dialogs.clear();
  rig->answerYes = true;
  w.show();
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(rig->dialogs, (std::vector<std::string>{"ask: Do you want to save log data before quit ? ",
                                                    "error: Unable to create Log file."}));
  EXPECT_TRUE(w.close());
  EXPECT_EQ(rig->dialogs.size(), 2u);
  const QString temp = QFileInfo(QString::fromStdString(w.Session().RawLog().TempLogPath())).fileName();
  EXPECT_TRUE(QFile::exists(moved + QStringLiteral("/") + temp));
  QDir(moved).removeRecursively();
}

}  // namespace
}  // namespace orlimo
