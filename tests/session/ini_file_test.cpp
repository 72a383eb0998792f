// The settings file as editors and users leave it: stray blanks, a byte-order mark,
// old Mac line ends, something other than a file at its path, a symbolic link.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "pipeline_fixture.h"
#include "session/settings.h"

namespace orlimo {
namespace {

namespace fs = std::filesystem;

class IniFile : public ::testing::Test {
 protected:
  IniFile() {
    std::string name = testing::TempDir() + "orlimo-ini-XXXXXX";
    dir = ::mkdtemp(name.data());
    dir += "/";
  }
  ~IniFile() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  std::string dir;
};

TEST_F(IniFile, TrimsNamesAndTrailingBlanksOfValues) {
  TIniFile ini;
  ini.Parse(" \t[ GPSCOM ]\t\r\n  COMPort \t=/dev/ttyUSB0 \t\r\nBaudRate=9600 \r\n"
            "[GPSCommand]\r\nCount=1\r\nCommand0=  $PQXC,201  \r\n; a comment  \r\njunk \t\r\n");
  const TSettings s = ReadSettings(ini);
  EXPECT_EQ(s.COMPort, "/dev/ttyUSB0");
  EXPECT_EQ(SelectListItem({"4800", "9600"}, s.BaudRate), 1);
  EXPECT_EQ(s.Commands, std::vector<std::string>{"  $PQXC,201"});
  EXPECT_EQ(ini.Text(),
            "[GPSCOM]\r\nCOMPort=/dev/ttyUSB0\r\nBaudRate=9600\r\n"
            "[GPSCommand]\r\nCount=1\r\nCommand0=  $PQXC,201\r\n; a comment  \r\njunk \t\r\n");
}

TEST_F(IniFile, KeepsAByteOrderMarkOutOfTheFirstSection) {
  const std::string path = dir + "orlimo.ini";
  Put(path, "\xEF\xBB\xBF[GPSCOM]\r\nCOMPort=/dev/ttyS1\r\n");
  TIniFile ini;
  ASSERT_TRUE(ini.Load(path));
  EXPECT_EQ(ini.Read("GPSCOM", "COMPort"), "/dev/ttyS1");
  ini.Write("GPSCOM", "BaudRate", "9600");
  std::string error;
  ASSERT_TRUE(ini.Save(path, error)) << error;
  EXPECT_EQ(ReadFile(path), "\xEF\xBB\xBF[GPSCOM]\r\nCOMPort=/dev/ttyS1\r\nBaudRate=9600\r\n");
}

TEST_F(IniFile, ReadsCarriageReturnLineEnds) {
  TIniFile ini;
  ini.Parse("[GPSCOM]\rCOMPort=/dev/ttyS1\rBaudRate=9600\r\r[Unit]\nIndex=1");
  const TSettings s = ReadSettings(ini);
  EXPECT_EQ(s.COMPort, "/dev/ttyS1");
  EXPECT_EQ(s.BaudRate, "9600");
  EXPECT_EQ(s.UnitIndex, 1);
  EXPECT_EQ(ini.Text(), "[GPSCOM]\r\nCOMPort=/dev/ttyS1\r\nBaudRate=9600\r\n\r\n[Unit]\r\nIndex=1\r\n");
}

// Opening a FIFO blocks until a writer comes unless it is opened without waiting: a
// fault here hangs the test.
TEST_F(IniFile, LeavesAFifoAlone) {
  const std::string path = dir + "orlimo.ini";
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  TIniFile ini;
  EXPECT_FALSE(ini.Load(path));
  ini.Write("GPSCOM", "BaudRate", "9600");
  std::string error;
  EXPECT_FALSE(ini.Save(path, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_fifo(path));
  EXPECT_FALSE(ini.Load(dir)) << "nor a folder";
}

TEST_F(IniFile, WritesThroughASymbolicLink) {
  fs::create_directory(dir + "real");
  Put(dir + "real/orlimo.ini", "[GPSCOM]\r\nBaudRate=4800\r\n");
  const std::string link = dir + "orlimo.ini";
  fs::create_symlink("real/orlimo.ini", link);
  TIniFile ini;
  ASSERT_TRUE(ini.Load(link));
  ini.Write("GPSCOM", "BaudRate", "9600");
  std::string error;
  ASSERT_TRUE(ini.Save(link, error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(dir + "real/orlimo.ini"), "[GPSCOM]\r\nBaudRate=9600\r\n");

  // Dangling: the target is made where its folder exists, else nothing is.
  fs::remove(dir + "real/orlimo.ini");
  ASSERT_TRUE(ini.Save(link, error)) << error;
  EXPECT_EQ(ReadFile(dir + "real/orlimo.ini"), "[GPSCOM]\r\nBaudRate=9600\r\n");
  fs::remove(link);
  fs::create_symlink("gone/orlimo.ini", link);
  EXPECT_FALSE(ini.Save(link, error));
  EXPECT_FALSE(fs::exists(dir + "gone"));
  EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(IniFile, NeverReadsNorWritesAFileOverTheLimit) {
  const std::string path = dir + "orlimo.ini";
  const std::string huge = "[GPSCOM]\r\nBaudRate=4800\r\n" + std::string(TIniFile::kMaxBytes, ';');
  Put(path, huge);
  TIniFile ini;
  EXPECT_FALSE(ini.Load(path));
  EXPECT_EQ(ini.Read("GPSCOM", "BaudRate"), std::nullopt);
  ini.Write("GPSCOM", "BaudRate", "9600");
  std::string error;
  EXPECT_FALSE(ini.Save(path, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(path), huge);

  // Within the limit with LF line ends, beyond it with CR LF: the next start would refuse it.
  std::string lines = "[GPSCOM]\nBaudRate=4800\n";
  lines.resize(TIniFile::kMaxBytes, '\n');
  Put(path, lines);
  ASSERT_TRUE(ini.Load(path));
  EXPECT_EQ(ini.Read("GPSCOM", "BaudRate"), "4800");
  ini.Write("GPSCOM", "BaudRate", "9600");
  EXPECT_FALSE(ini.Save(path, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(path), lines);
}

}  // namespace
}  // namespace orlimo
