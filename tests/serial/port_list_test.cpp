// Port-list comparison, ordering and the enumeration's merge of extra ports.
#include <gtest/gtest.h>

#include "pty_support.h"
#include "serial/port_list.h"

namespace orlimo {
namespace {

struct DiffCase {
  const char* what;
  QString oldText;
  QString newText;
  int result;
  QStringList names;
};

TEST(DiffPortLists, FollowsTheLineCountRulesAndTheirQuirks) {
  const DiffCase cases[] = {
      {"equal", "A\nB", "A\nB", 0, {}},
      {"both empty", "", "", 0, {}},
      {"one removed", "/dev/ttyS0\n/dev/ttyUSB0\n/dev/ttyUSB1", "/dev/ttyS0\n/dev/ttyUSB1", -1, {"/dev/ttyUSB0"}},
      {"two added, in order", "/dev/ttyS0", "/dev/ttyACM0\n/dev/ttyS0\n/dev/ttyUSB0", 1,
       {"/dev/ttyACM0", "/dev/ttyUSB0"}},
      {"first port", "", "/dev/ttyUSB0", 1, {"/dev/ttyUSB0"}},
      {"last port", "/dev/ttyUSB0\n", "", -1, {"/dev/ttyUSB0"}},
      // One port went and another came between two checks: nothing is reported.
      {"swap with equal count", "/dev/ttyUSB0\n/dev/ttyS0", "/dev/ttyUSB1\n/dev/ttyS0", 0, {}},
      // Presence is a substring test: ttyUSB1 is "still there" inside ttyUSB10.
      {"substring hides removal", "/dev/ttyUSB1\n/dev/ttyUSB10", "/dev/ttyUSB10", -1, {}},
      {"substring hides arrival", "/dev/ttyUSB10", "/dev/ttyUSB1\n/dev/ttyUSB10", 1, {}},
      // CR, LF and CR LF all break lines; a final break does not start a line.
      {"CR LF texts", "A\r\nB\r\nC\r\n", "A\r\nC\r\n", -1, {"B"}},
      {"CR only", "A\rB", "A\rB\rC", 1, {"C"}},
      {"mixed breaks", "A\r\nB", "A\nB\nC\n", 1, {"C"}},
      {"trailing break only differs", "A\nB\n", "A\nB", 0, {}},
  };
  for (const auto& c : cases) {
    QStringList names = {"stale"};
    EXPECT_EQ(DiffPortLists(c.oldText, c.newText, names), c.result) << c.what;
    EXPECT_EQ(names, c.names) << c.what;
  }
}

TEST(PortList, SortsIgnoringCase) {
  QStringList names = {"/dev/ttyS2", "/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyacm0", "/dev/ttyACM1", "/dev/TTYs3"};
  SortPortNames(names);
  EXPECT_EQ(names, (QStringList{"/dev/ttyacm0", "/dev/ttyACM1", "/dev/ttyS10", "/dev/ttyS2", "/dev/TTYs3",
                                "/dev/ttyUSB0"}));
}

TEST(PortList, EnumerationMergesExistingExtrasAndKeepsAnUnchangedList) {
  test::Pty pty;
  ASSERT_TRUE(pty.Valid());
  // Named through a link of its own: a pty number freed here may be taken at once by a
  // test running beside this one, the link's name is ours alone.
  char dir[] = "/tmp/orlimo-ports-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string link = std::string(dir) + "/ttyGPS";
  ASSERT_EQ(::symlink(pty.SlavePath().c_str(), link.c_str()), 0);
  const QString extra = QString::fromStdString(link);
  const QStringList extras = {extra, extra, "/nonexistent/ttyGPS", ""};

  QStringList ports;
  EnumerateSerialPorts(ports, extras);
  EXPECT_EQ(ports.count(extra), 1);
  EXPECT_FALSE(ports.contains("/nonexistent/ttyGPS"));
  EXPECT_FALSE(ports.contains(""));
  QStringList sorted = ports;
  SortPortNames(sorted);
  EXPECT_EQ(ports, sorted);
  for (const QString& p : ports) EXPECT_TRUE(p.startsWith('/')) << p.toStdString();

  // Same contents: the list object is left alone (no reassignment).
  const QString* before = ports.constData();
  EnumerateSerialPorts(ports, extras);
  EXPECT_EQ(ports.constData(), before);

  // A port that goes away is dropped.
  ::unlink(link.c_str());
  ::rmdir(dir);
  EnumerateSerialPorts(ports, extras);
  EXPECT_FALSE(ports.contains(extra));
}

}  // namespace
}  // namespace orlimo
