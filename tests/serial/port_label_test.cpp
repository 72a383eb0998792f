// Port labels from udev properties handed in by the test, and which names count as
// stable ones (the app's tests follow one across a replug).
#include <gtest/gtest.h>

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

// Bytes from a device's own strings: line breaks, a terminal escape, a direction
// override, a NUL, bytes that are no UTF-8, a name of 300 bytes; and paths udev
// knows nothing of.
TEST(PortLabel, HostileOrMissingInputStaysOneShortLine) {
  EXPECT_EQ(DecodeUdevEscapes("a\\x5cb\\x2Fc\\xZZ\\x4\\"), QByteArray("a\\b/c\\xZZ\\x4\\"));
  const TUdevProperties odd =
      Usb({{"ID_VENDOR_ENC", "Evil\\x0aCorp\\x1b[31m\\xe2\\x80\\xae"}, {"ID_MODEL_ENC", "GPS\\x00\\xff\\xfe\\x09X"},
           {"ID_SERIAL_SHORT", "\t"}});
  EXPECT_EQ(DescribeUsbPort(odd), QStringLiteral("Evil Corp [31m GPS \uFFFD\uFFFD X"));
  const QString capped = DescribeUsbPort(Usb({{"ID_MODEL", QByteArray(300, 'W').constData()}}));
  EXPECT_EQ(capped, QString(47, QLatin1Char('W')) + QChar(0x2026));

  test::Pty pty;
  QTemporaryDir dir;
  for (const QString& port : {QString::fromStdString(pty.SlavePath()), dir.path(), dir.filePath("absent"), QString()}) {
    EXPECT_TRUE(ReadUdevProperties(port).isEmpty()) << port.toStdString();
  }
}

TEST(StablePorts, OnlyNamesDirectlyInsideTheFolderAreKept) {
  TStablePorts ports(QStringLiteral("/dev/serial/by-id/"));
  EXPECT_TRUE(ports.Keep(QStringLiteral("/dev/serial//by-id/./usb-Acme_GPS_123-if00")));
  for (const char* other : {"/dev/serial/by-id", "/dev/serial/by-id/sub/usb-x", "/dev/serial/by-path/pci-0:1",
                            "/dev/ttyUSB0", ""}) {
    EXPECT_FALSE(ports.Keep(QString::fromLatin1(other))) << other;
  }
  EXPECT_EQ(ports.Names().size(), 1);
}

}  // namespace
}  // namespace orlimo
