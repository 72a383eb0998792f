// The settings file and the raw-data log, on real file systems: a temporary folder,
// and (when the tests may mount) a tiny tmpfs that fills up or turns read-only.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>

#include "nmea/sentence.h"
#include "pipeline_fixture.h"
#include "pty_support.h"
#include "session/log_files.h"
#include "session/file_places.h"
#include "session/raw_data_log.h"
#include "session/settings.h"
#include "session/session.h"

namespace orlimo {
namespace {

namespace fs = std::filesystem;

struct TempDir {
  TempDir() {
    char name[] = "/tmp/orlimo-rec-XXXXXX";
    path = ::mkdtemp(name);
  }
  ~TempDir() {
    if (mounted) ::umount2(path.c_str(), MNT_DETACH);
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  // A tmpfs of `size` over the folder; false where mounting is not allowed.
  bool Mount(const std::string& size) {
    mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    return mounted;
  }
  bool Remount(const std::string& options, unsigned long flags = 0) {
    return ::mount("tmpfs", path.c_str(), "tmpfs", MS_REMOUNT | flags, options.c_str()) == 0;
  }
  std::string Dir() const { return path + "/"; }
  std::string path;
  bool mounted = false;
};

std::vector<std::string> Files(const std::string& dir, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().rfind(prefix, 0) == 0) out.push_back(e.path().string());
  return out;
}

std::string Sentence(int i) {
  const std::string body = "$GPGGA,0000" + std::to_string(10 + i % 50) + ".000,3730.2492,N,12702.8663,E,1,07,1.2," +
                           std::to_string(i) + ".0,M,19.6,M,,0000";
  return body + NMEAChecksumSuffix(body);
}

std::tm At(int second) {
  std::tm t{};
  t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 7, t.tm_hour = 10, t.tm_min = 30, t.tm_sec = second;
  return t;
}
const std::tm kStart = At(0);

TEST(SettingsFile, ReadsWhatTheWindowsProgramWrote) {
  TIniFile ini;
  std::string text = "[gpscom]\r\ncomport=COM3\r\nBAUDRATE=14400\r\n[Unit]\r\nIndex=2\r\n[GPSCommand]\r\nCount=15\r\n";
  for (int i = 0; i < 15; ++i) text += "Command" + std::to_string(i) + "=" + (i == 1 ? "   " : i == 2 ? "  $PQXC,201" : "$X" + std::to_string(i)) + "\r\n";
  ini.Parse(text);
  const TSettings s = ReadSettings(ini);
  EXPECT_EQ(s.COMPort, "COM3");
  EXPECT_EQ(SelectListItem({"4800", "9600"}, s.BaudRate), 0) << "14400 is not offered";
  EXPECT_EQ(SelectListItem({"/dev/ttyUSB0", "com3"}, s.COMPort), 1);
  EXPECT_EQ(SelectListItem({}, s.COMPort), -1);
  EXPECT_EQ(s.UnitIndex, 0);
  EXPECT_TRUE(s.SyntaxColor);
  EXPECT_EQ(s.Commands, (std::vector<std::string>{"$X0", "  $PQXC,201", "$X3", "$X4", "$X5", "$X6", "$X7", "$X8", "$X9"}))
      << "ten read, the blank one skipped, leading blanks kept";
  ini.Parse("[Unit]\nIndex=-1\n[GPSCOM]\nCOMPort=x\n");
  EXPECT_EQ(ReadSettings(ini).UnitIndex, 0);
  EXPECT_FALSE(ReadSettings(ini).BaudRate) << "missing: the list's first item, 4800";

  // Not INI at all: read without harm, nothing found.
  std::string junk(300000, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 7919 % 251);
  ini.Parse(junk + "[[]]\n=\n[\n");
  EXPECT_FALSE(ReadSettings(ini).COMPort);
}

TEST(SettingsFile, WritesOnlyItsEditionsKeysAndKeepsTheRest) {
  TempDir dir;
  const std::string path = dir.Dir() + "orlimo.ini";
  {
    std::ofstream out(path, std::ios::binary);
    out << "; kept\r\n[Other]\r\nKey=1\r\n[GPSCommand]\r\nCount=12\r\nCommand11=old\r\n";
  }
  TIniFile ini;
  ASSERT_TRUE(ini.Load(path));
  TSettings s;
  s.COMPort = "/dev/ttyUSB0";
  s.BaudRate = "9600";
  s.UnitIndex = 1;
  s.Commands = {"$A", "$B"};
  WriteSettings(ini, s, false);
  std::string error;
  ASSERT_TRUE(ini.Save(path, error)) << error;
  EXPECT_EQ(ReadFile(path),
            "; kept\r\n[Other]\r\nKey=1\r\n[GPSCommand]\r\nCount=12\r\nCommand11=old\r\n"
            "[GPSCOM]\r\nCOMPort=/dev/ttyUSB0\r\nBaudRate=9600\r\n[Unit]\r\nIndex=1\r\n");

  s.Commands.assign(12, "$C");
  WriteSettings(ini, s, true);
  ASSERT_TRUE(ini.Save(path, error));
  ini.Load(path);
  EXPECT_EQ(ini.Read("GPSCommand", "Count"), "12");
  EXPECT_EQ(ini.Read("GPSCommand", "Command9"), "$C");
  EXPECT_FALSE(ini.Read("GPSCommand", "Command10")) << "at most ten written";
  EXPECT_EQ(ini.Read("GPSCommand", "Command11"), "old") << "keys are never deleted";
  EXPECT_EQ(ini.Read("SyntaxColor", "Enabled"), "1");
  EXPECT_EQ(Files(dir.path, "orlimo.ini").size(), 1u) << "no temporary file left";
}

class Logging : public ::testing::Test {
 protected:
  Logging() : session(view, [] {
    SessionOptions o;
    o.manualTicks = true;
    return o;
  }()) {}
  RawDataLog& Log() { return session.RawLog(); }
  void Start(const std::string& dir) {
    Log().SetPlaces(dir, kStart);
    Log().SetClock([] { return kStart; });
    Log().SetRetryInterval(std::chrono::milliseconds(0));
    session.TBStartLogClick();
  }
  // Sentences through the pipeline, a receive buffer's worth a pass.
  void Pass(int from, int count) {
    session.State().LinkState = TLinkState::NMEA;
    for (int start = from; start < from + count; start += 40) {
      std::string bytes;
      for (int i = start; i < std::min(start + 40, from + count); ++i) bytes += Sentence(i) + "\r\n";
      session.Pipeline().CommGPSReceiveData(bytes.data(), bytes.size());
      session.Pipeline().ProcessRxBuffer();
    }
  }
  static std::string Expected(int from, int count) {
    std::string out;
    for (int i = from; i < from + count; ++i) out += Sentence(i) + "\r\n";
    return out;
  }
  FakeSessionView view;
  TSession session;
};

TEST_F(Logging, BatchesNamesAndSaves) {
  TempDir dir;
  Start(dir.Dir());
  EXPECT_EQ(Log().TempLogPath(), dir.Dir() + "__tmp20261207-103000.tmp");
  EXPECT_EQ(view.panels[8], "Start Log");
  EXPECT_EQ(view.buttons[TToolButton::StartLog].image, kImageLogging);
  Pass(0, 600);
  EXPECT_EQ(Log().LogLineCount(), 600u) << "600 wait";
  EXPECT_EQ(fs::file_size(Log().TempLogPath()), 0u) << "made when logging started, for this run alone";
  Pass(600, 1);
  EXPECT_EQ(Log().LogLineCount(), 0u) << "the 601st line sends the batch";
  session.TBPauseClick(true);
  Pass(601, 5);
  EXPECT_EQ(Log().LogLineCount(), 0u) << "nothing logged while paused";
  session.TBPauseClick(false);
  Pass(606, 3);

  session.TBStartLogClick();
  const std::string saved = dir.Dir() + "NMEA_20261207-103000.log";
  EXPECT_EQ(view.dialogs.back(), "confirm: " + saved + " was saved !");
  EXPECT_EQ(ReadFile(saved), Expected(0, 601) + Expected(606, 3));
  EXPECT_EQ(view.panels[8], "Stop Log");
  EXPECT_EQ(view.buttons[TToolButton::StartLog].hint, "Start to Log data");

  // A second save in the same second: nothing is overwritten, the next name is taken.
  session.TBStartLogClick();
  Pass(700, 2);
  session.TBStartLogClick();
  EXPECT_EQ(view.dialogs.back(), "confirm: " + dir.Dir() + "NMEA_20261207-103000-2.log was saved !");
  EXPECT_EQ(ReadFile(saved), Expected(0, 601) + Expected(606, 3));
  EXPECT_EQ(ReadFile(dir.Dir() + "NMEA_20261207-103000-2.log"), Expected(700, 2));

  // Quit: "No" keeps the temporary file as it is, under a name recovery leaves alone.
  session.TBStartLogClick();
  Pass(800, 1);
  Log().FlushLogLines();
  view.answers = {false};
  EXPECT_TRUE(Log().AskSaveBeforeQuit());
  EXPECT_EQ(view.dialogs.back(), "ask: Do you want to save log data before quit ? ");
  EXPECT_EQ(Log().TempLogPath(), dir.Dir() + "__tmp20261207-103000.tmp.declined");
  EXPECT_EQ(ReadFile(Log().TempLogPath()), Expected(800, 1));
  Log().RecoverEarlierLogs();
  EXPECT_EQ(view.dialogs.back(), "ask: Do you want to save log data before quit ? ") << "nothing recovered";
}

TEST_F(Logging, FullDiskLosesNothingAndSaysSoOnce) {
  TempDir dir;
  if (!dir.Mount("16k")) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  Start(dir.Dir());
  Pass(0, 300);  // about 24 kB: more than the disk holds
  EXPECT_TRUE(view.dialogs.empty());
  Log().FlushLog();
  EXPECT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs[0].rfind("error: Unable to write the log file " + Log().TempLogPath(), 0), 0u);
  EXPECT_EQ(view.panels[8], "Log Error");
  EXPECT_EQ(Log().LogLineCount(), 300u);
  EXPECT_EQ(fs::file_size(Log().TempLogPath()), 0u) << "no part of a batch stays in the file";
  Pass(300, 700);
  Log().FlushLog();
  EXPECT_EQ(view.dialogs.size(), 1u) << "one report per failure streak";

  ASSERT_TRUE(dir.Remount("size=1m"));
  Log().FlushLog();
  EXPECT_EQ(Log().LogLineCount(), 0u);
  EXPECT_EQ(view.traces[2].back(), "Log file written again: " + Log().TempLogPath());
  EXPECT_EQ(view.panels[8], "Start Log");
  EXPECT_TRUE(ReadFile(Log().TempLogPath()) == Expected(0, 1000)) << "every line, in order";

  // Past the memory bound the oldest lines go, counted and reported at recovery.
  {
    std::ofstream filler(dir.Dir() + "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size())) {}
  }
  Pass(2000, 100);
  Log().FlushLog();
  EXPECT_EQ(view.panels[8], "Log Error");
  Log().SetMaxPendingBytes(100 * (Sentence(2000).size() + 2));
  Pass(2100, 30);
  EXPECT_EQ(Log().DroppedLines(), 30u);
  EXPECT_EQ(view.panels[8], "Log Lost 30");
  fs::remove(dir.Dir() + "filler");
  Log().FlushLog();
  EXPECT_EQ(view.dialogs.back(), "warning: 30 log lines were lost while the log file could not be written.");
  EXPECT_TRUE(ReadFile(Log().TempLogPath()) == Expected(0, 1000) + Expected(2030, 100)) << "the newest kept, in order";
}

// Nothing waits long in memory, and the log takes what the monitor takes: a line
// with junk before its "$" is refused whole, not cut.
TEST_F(Logging, LinesWaitAtMostASecondAndOnlyValidOnesAreKept) {
  test::App();
  TempDir dir;
  Start(dir.Dir());
  session.State().LinkState = TLinkState::NMEA;
  const std::string bytes = Sentence(0) + "\r\njunk" + Sentence(1) + "\r\n" + Sentence(2) + "\r\n";
  session.Pipeline().CommGPSReceiveData(bytes.data(), bytes.size());
  EXPECT_TRUE(test::SpinUntil([&] { return Log().LogLineCount() == 0; }, 2000)) << "written within a second";
  EXPECT_EQ(ReadFile(Log().TempLogPath()), Sentence(0) + "\r\n" + Sentence(2) + "\r\n");
}

// A run that died leaves its temporary log: the next start makes it a dated log and
// says so; one that another copy is writing is left alone.
TEST_F(Logging, AnAbandonedLogIsRecoveredAndOneInUseIsNot) {
  TempDir dir;
  {
    std::ofstream dead(dir.Dir() + "__tmp20261207-093000.tmp", std::ios::binary);
    dead << Expected(0, 3);
  }
  TempLogFile running;
  std::string error;
  ASSERT_TRUE(running.Create(dir.Dir(), "__tmp20261207-093000", error)) << error;
  EXPECT_EQ(running.Path(), dir.Dir() + "__tmp20261207-093000-2.tmp") << "never another copy's file";
  Log().SetPlaces(dir.Dir(), kStart);
  Log().RecoverEarlierLogs();
  const std::string recovered = dir.Dir() + "NMEA_20261207-093000.log";
  EXPECT_EQ(view.dialogs, std::vector<std::string>{"information: Recovered the log of an earlier run: " +
                                                   recovered + " (3 lines)."});
  EXPECT_EQ(ReadFile(recovered), Expected(0, 3));
  EXPECT_TRUE(fs::exists(running.Path()));
}

TEST_F(Logging, LinesThatCannotBeWrittenAtExitGoToARescueFile) {
  TempDir dir, rescue;
  if (!dir.Mount("16k")) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  Start(dir.Dir());
  Log().SetRescueDir(rescue.Dir());
  Pass(0, 300);  // more than the disk holds
  const std::string said = Log().SaveAtExit();
  const std::string rescued = rescue.Dir() + "NMEA_20261207-103000.rescue.log";
  EXPECT_EQ(said, "300 lines could not be written to " + dir.Dir() + "__tmp20261207-103000.tmp; they are in " +
                      rescued + ".");
  EXPECT_TRUE(ReadFile(rescued) == Expected(0, 300));
  EXPECT_TRUE(view.dialogs.empty()) << "no box stops the end of a run";
}

TEST_F(Logging, AFolderThatCannotBeWrittenKeepsLoggingOffAtOnce) {
  Log().SetPlaces("/dev/null/logs/", kStart);
  session.TBStartLogClick();
  EXPECT_FALSE(session.State().LogActive);
  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs[0].rfind("error: Unable to create the log file in /dev/null/logs/", 0), 0u);
}

TEST_F(Logging, ReadOnlyFolderTurnsLoggingAndSettingsOff) {
  TempDir dir;
  if (!dir.Mount("64k")) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  TIniFile ini;
  ini.Write("GPSCOM", "BaudRate", "4800");
  std::string error;
  ASSERT_TRUE(ini.Save(dir.Dir() + "orlimo.ini", error));
  ASSERT_TRUE(dir.Remount("", MS_RDONLY));
  EXPECT_TRUE(IsCDROMDrive(dir.path));
  EXPECT_TRUE(IsCDROMDrive(dir.Dir() + "not/yet/made"));

  ini.Write("GPSCOM", "BaudRate", "9600");
  EXPECT_FALSE(ini.Save(dir.Dir() + "orlimo.ini", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(dir.Dir() + "orlimo.ini"), "[GPSCOM]\r\nBaudRate=4800\r\n");

  Log().SetPlaces(dir.Dir(), kStart);
  Log().DisableLoggingOnCDROM();
  EXPECT_FALSE(Log().Available());
  EXPECT_EQ(view.buttons[TToolButton::StartLog].image, kImageLogUnavailable);
  session.TBStartLogClick();
  EXPECT_FALSE(session.State().LogActive);
}

TEST(LogChecker, ListsTheDamagedLines) {
  EXPECT_EQ(CheckLogLines({Sentence(1), Sentence(2), Sentence(3).substr(1), Sentence(4)}),
            (std::vector<std::string>{"  itemIdx:002", "OK !"}));
}

TEST(FilePlaces, BesideAWritableProgramElseTheUsersFolders) {
  TempDir dir;
  EXPECT_EQ(ResolveFilePlaces(dir.Dir() + "orlimo", "").IniPath, dir.Dir() + "orlimo.ini");
  EXPECT_EQ(ResolveFilePlaces(dir.Dir() + "orlimo", "").AppDir, dir.Dir());
  EXPECT_EQ(ResolveFilePlaces("/no/such/orlimo.exe", "/data/x").IniPath, "/data/x/orlimo.ini");
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  ::setenv("XDG_DATA_HOME", "/dat", 1);
  const TFilePlaces installed = ResolveFilePlaces("/no/such/folder/orlimo", "");
  EXPECT_EQ(installed.IniPath, "/cfg/orlimo/orlimo.ini");
  EXPECT_EQ(installed.AppDir, "/dat/orlimo/");
}

// The folders here can be written (and root can write /usr/bin): only where the
// program lies decides.
TEST(FilePlaces, InstalledProgramsUseTheUsersFoldersPortableCopiesStayBeside) {
  TempDir dir;
  const std::string prefix = dir.Dir() + "prefix";
  fs::create_directories(prefix + "/bin");
  fs::create_directories(dir.path + "/portable");
  fs::create_directories(prefix + "/bin2");
  fs::create_directory_symlink(prefix + "/bin", dir.path + "/linked-bin");
  fs::create_directory_symlink(prefix, dir.path + "/linked-prefix");
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  ::setenv("XDG_DATA_HOME", "/dat", 1);
  const std::vector<std::string> prefixes = {"/opt/none", prefix};

  for (const std::string& exe : {prefix + "/bin/orlimo", dir.Dir() + "linked-bin/orlimo"}) {
    const TFilePlaces places = ResolveFilePlaces(exe, "", prefixes);
    EXPECT_EQ(places.IniPath, "/cfg/orlimo/orlimo.ini") << exe;
    EXPECT_EQ(places.AppDir, "/dat/orlimo/") << exe;
  }
  EXPECT_EQ(ResolveFilePlaces(prefix + "/bin/orlimo", "", {dir.Dir() + "linked-prefix/"}).AppDir, "/dat/orlimo/");
  EXPECT_EQ(ResolveFilePlaces(prefix + "/bin/orlimo-console", "/data/x", prefixes).IniPath,
            "/data/x/orlimo-console.ini");

  for (const std::string& folder : {dir.Dir() + "portable/", prefix + "/bin2/", prefix + "/"}) {
    const TFilePlaces places = ResolveFilePlaces(folder + "orlimo", "", prefixes);
    EXPECT_EQ(places.IniPath, folder + "orlimo.ini");
    EXPECT_EQ(places.AppDir, folder);
  }
}

}  // namespace
}  // namespace orlimo
