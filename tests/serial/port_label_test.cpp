// Port labels from udev properties handed in by the test, and stable names followed
// through a folder of links standing in for /dev/serial/by-id.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "pty_support.h"
#include "serial/by_id.h"
#include "serial/port_label.h"

namespace orlimo {
namespace {

const QString kACM0 = QStringLiteral("/dev/ttyACM0");

TUdevProperties Usb(std::initializer_list<std::pair<const char*, const char*>> values) {
  TUdevProperties p{{"ID_BUS", "usb"}};
  for (const auto& [k, v] : values) p.insert(k, v);
  return p;
}

TEST(PortLabel, NamesMakerModelAndSerial) {
  struct Case {
    const char* what;
    TUdevProperties properties;
    QString label;
  };
  const Case cases[] = {
      {"database names first, brackets dropped",
       Usb({{"ID_VENDOR_FROM_DATABASE", "U-Blox AG"}, {"ID_MODEL_FROM_DATABASE", "[u-blox 7]"},
            {"ID_VENDOR", "u-blox_AG"}, {"ID_MODEL", "other"}, {"ID_SERIAL_SHORT", "12345"}}),
       "/dev/ttyACM0 \u2014 U-Blox AG u-blox 7 (SN 12345)"},
      {"device strings: the encoded form keeps its spaces",
       Usb({{"ID_VENDOR", "Acme_Inc."}, {"ID_VENDOR_ENC", "Acme\\x20Inc."}, {"ID_MODEL", "GPS_18x"}}),
       "/dev/ttyACM0 \u2014 Acme Inc. GPS 18x"},
      {"a numeric ID is no name", Usb({{"ID_VENDOR", "067b"}, {"ID_VENDOR_ID", "067b"}, {"ID_MODEL", "2303"},
                                       {"ID_MODEL_ID", "2303"}, {"ID_SERIAL_SHORT", "A1"}}),
       "/dev/ttyACM0 \u2014 SN A1"},
      {"maker named once", Usb({{"ID_VENDOR", "Garmin"}, {"ID_MODEL", "Garmin_GPS_18x"}}),
       "/dev/ttyACM0 \u2014 Garmin GPS 18x"},
      {"serial only missing", Usb({{"ID_MODEL_FROM_DATABASE", "PL2303 Serial Port"}}),
       "/dev/ttyACM0 \u2014 PL2303 Serial Port"},
      {"USB without names", Usb({}), kACM0},
      {"not on USB", {{"ID_BUS", "pci"}, {"ID_VENDOR_FROM_DATABASE", "Oxford"}, {"ID_SERIAL_SHORT", "9"}}, kACM0},
      {"no properties", {}, kACM0},
  };
  for (const Case& c : cases) EXPECT_EQ(PortLabel(kACM0, DescribeUsbPort(c.properties)), c.label) << c.what;
}

TEST(PortLabel, OddBytesMakeOneShortPrintableLine) {
  EXPECT_EQ(DecodeUdevEscapes("a\\x5cb\\x2Fc"), QByteArray("a\\b/c"));
  EXPECT_EQ(DecodeUdevEscapes("\\xZZ\\x4\\"), QByteArray("\\xZZ\\x4\\"));
  EXPECT_EQ(DecodeUdevEscapes(QByteArray("\\x00x", 5)), QByteArray("\0x", 2));

  // Line breaks, a terminal escape, a direction override, a NUL and bytes that are
  // no UTF-8, all from a device's own strings.
  const TUdevProperties odd =
      Usb({{"ID_VENDOR_ENC", "Evil\\x0aCorp\\x1b[31m\\xe2\\x80\\xae"}, {"ID_MODEL_ENC", "GPS\\x00\\xff\\xfe\\x09X"},
           {"ID_SERIAL_SHORT", "\t"}});
  const QString text = DescribeUsbPort(odd);
  EXPECT_EQ(text, QStringLiteral("Evil Corp [31m GPS \uFFFD\uFFFD X"));

  const QByteArray longName(300, 'W');
  const QString capped = DescribeUsbPort(Usb({{"ID_MODEL", longName.constData()}}));
  EXPECT_EQ(capped.size(), 48);
  EXPECT_TRUE(capped.endsWith(QChar(0x2026)));
}

TEST(PortLabel, DevicesUdevDoesNotKnowHaveNoProperties) {
  test::Pty pty;
  ASSERT_TRUE(pty.Valid());
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("plain"));
  QFile(file).open(QIODevice::WriteOnly);
  for (const QString& port : {QString::fromStdString(pty.SlavePath()), file, dir.filePath("absent"), QString()}) {
    EXPECT_TRUE(ReadUdevProperties(port).isEmpty()) << port.toStdString();
  }
}

TEST(StablePorts, OnlyNamesInsideTheFolderAreStable) {
  const QString dir = QStringLiteral("/dev/serial/by-id");
  EXPECT_TRUE(IsStablePortName(dir + "/usb-Acme_GPS_123-if00", dir));
  EXPECT_TRUE(IsStablePortName(QStringLiteral("/dev/serial//by-id/./usb-x"), dir + "/"));
  EXPECT_FALSE(IsStablePortName(dir, dir));
  EXPECT_FALSE(IsStablePortName(dir + "/", dir));
  EXPECT_FALSE(IsStablePortName(dir + "/sub/usb-x", dir));
  EXPECT_FALSE(IsStablePortName(QStringLiteral("/dev/serial/by-path/pci-0:1"), dir));
  EXPECT_FALSE(IsStablePortName(QStringLiteral("/dev/ttyUSB0"), dir));
  EXPECT_FALSE(IsStablePortName(QString(), dir));

  TStablePorts ports(dir);
  EXPECT_FALSE(ports.Keep(QStringLiteral("/dev/ttyUSB0")));
  EXPECT_TRUE(ports.Names().isEmpty());
}

// Links as udev makes them (relative, "../ttyUSB0"), re-pointed as a replug into
// another socket does.
TEST(StablePorts, NameFollowsItsDeviceAcrossUnplugAndReplug) {
  QTemporaryDir dev;
  ASSERT_TRUE(QDir(dev.path()).mkdir(QStringLiteral("by-id")));
  const QString folder = dev.filePath(QStringLiteral("by-id"));
  const QString name = folder + QStringLiteral("/usb-Acme_GPS_123-if00");
  const QString usb0 = dev.filePath(QStringLiteral("ttyUSB0"));
  const QString acm1 = dev.filePath(QStringLiteral("ttyACM1"));
  ASSERT_TRUE(QFile::link(QStringLiteral("../ttyUSB0"), name));

  TStablePorts ports(folder);
  ASSERT_TRUE(ports.Keep(name));
  ASSERT_TRUE(ports.Keep(name));
  EXPECT_EQ(ports.Names(), QStringList{name});
  EXPECT_EQ(ports.NodeNow(name), usb0);
  EXPECT_EQ(ports.NameNowAt(usb0), name);

  // Unplugged: the link goes first, its node's removal is still known as the name's.
  ASSERT_TRUE(QFile::remove(name));
  ports.Update();
  EXPECT_EQ(ports.NodeNow(name), QString());
  EXPECT_EQ(ports.LastNode(name), usb0);
  EXPECT_EQ(ports.NameNowAt(usb0), QString());
  EXPECT_EQ(ports.Names(), QStringList{name});

  // Plugged into another socket.
  ASSERT_TRUE(QFile::link(QStringLiteral("../ttyACM1"), name));
  ports.Update();
  EXPECT_EQ(ports.NameNowAt(acm1), name);
  EXPECT_EQ(ports.NameNowAt(usb0), QString());
  EXPECT_EQ(ports.LastNode(name), acm1);
}

}  // namespace
}  // namespace orlimo
