#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/artwork/artwork.h"
#include "app/info_usb.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

const QString kUSB0 = QStringLiteral("/dev/ttyUSB0");
const QString kUSB1 = QStringLiteral("/dev/ttyUSB1");

QString Plugged(const QString& port) { return QStringLiteral(" (%1) Plug In !   ").arg(port); }
QString Removed(const QString& port) { return QStringLiteral(" (%1) Remove !   ").arg(port); }

TEST(PlugReactions, ArrivalAddsSelectsAndShowsTheNotice) {
  test::WindowRig rig({kUSB0});
  TFrmOrlimo& w = *rig.window;
  rig.ports << kUSB1;
  rig.plugs->Fire(DeviceAction::Added, kUSB1);
  EXPECT_EQ(w.PortItems(), (QStringList{kUSB0, kUSB1}));
  EXPECT_EQ(w.cbGPSCOM()->currentText(), kUSB1);
  EXPECT_TRUE(w.InfoUSB()->isVisible());
  EXPECT_EQ(w.InfoUSB()->Lines(), QStringList{Plugged(kUSB1)});

  rig.ports.removeAll(kUSB1);
  rig.plugs->Fire(DeviceAction::Removed, kUSB1);
  EXPECT_EQ(w.PortItems(), QStringList{kUSB0});
  EXPECT_EQ(w.cbGPSCOM()->currentText(), kUSB0);
  EXPECT_EQ(w.InfoUSB()->Lines(), (QStringList{Plugged(kUSB1), Removed(kUSB1)}));

  // OK empties the list; the next notice opens the window with only that line.
  w.InfoUSB()->OKButtonClick();
  EXPECT_FALSE(w.InfoUSB()->isVisible());
  EXPECT_EQ(w.InfoUSB()->ListBox1()->count(), 0);
  rig.ports << kUSB1;
  rig.plugs->Fire(DeviceAction::Added, kUSB1);
  EXPECT_EQ(w.InfoUSB()->Lines(), QStringList{Plugged(kUSB1)});
  EXPECT_TRUE(rig.dialogs.empty());
}

TEST(PlugReactions, ArrivalWhileConnectedKeepsTheSelection) {
  test::Pty pty;
  test::WindowRig rig({kUSB0, pty.Path()});
  TFrmOrlimo& w = *rig.window;
  ASSERT_TRUE(w.SelectPort(pty.Path()));
  w.Session().TBOpenClick();
  ASSERT_TRUE(w.Session().State().PortOpen);
  rig.ports << kUSB1;
  rig.plugs->Fire(DeviceAction::Added, kUSB1);
  EXPECT_EQ(w.cbGPSCOM()->currentText(), pty.Path());
  EXPECT_TRUE(w.Session().State().PortOpen);
}

// The open port is reached through links named like adapters, so the test can
// pull "ttyUSB1" while "ttyUSB10" is open.
TEST(PlugReactions, RemovalClosesOnlyTheOpenPort) {
  test::Pty pty;
  QTemporaryDir dir;
  const QString usb10 = dir.filePath(QStringLiteral("ttyUSB10"));
  const QString usb1 = dir.filePath(QStringLiteral("ttyUSB1"));
  ASSERT_TRUE(QFile::link(pty.Path(), usb10));
  test::WindowRig rig({usb1, usb10});
  TFrmOrlimo& w = *rig.window;
  ASSERT_TRUE(w.SelectPort(usb10));
  w.Session().TBOpenClick();
  ASSERT_TRUE(w.Session().State().PortOpen);

  // A name that merely contains the removed one is another port: it stays open.
  w.GPSUSBPortRemoved(usb1);
  EXPECT_TRUE(w.Session().State().PortOpen);

  // Pulling the open port disconnects, refreshes the list and adds the notice.
  rig.ports = QStringList{usb1};
  rig.plugs->Fire(DeviceAction::Removed, usb10);
  EXPECT_FALSE(w.Session().State().PortOpen);
  EXPECT_EQ(w.PanelText(2), usb10.toStdString() + " Close");
  EXPECT_EQ(w.PortItems(), QStringList{usb1});
  EXPECT_EQ(w.InfoUSB()->Lines().last(), Removed(usb10));
}

// A list that cannot be read says nothing about the ports: the connection, the list
// and the selection stay, and the failure is told once.
TEST(PlugReactions, FailedListingChangesNothing) {
  test::Pty pty;
  QTemporaryDir dir;
  const QString usb0 = dir.filePath(QStringLiteral("ttyUSB0"));
  ASSERT_TRUE(QFile::link(pty.Path(), usb0));
  test::WindowRig rig({usb0, kUSB0});
  TFrmOrlimo& w = *rig.window;
  ASSERT_TRUE(w.SelectPort(usb0));
  w.Session().TBOpenClick();
  ASSERT_TRUE(w.Session().State().PortOpen);
  rig.dialogs.clear();
  rig.listFails = true;
  for (int i = 0; i < 5; ++i) rig.plugs->Fire(DeviceAction::Removed, usb0);
  w.RefreshPortList();
  EXPECT_TRUE(w.Session().State().PortOpen);
  EXPECT_EQ(w.PortItems(), (QStringList{kUSB0, usb0}));
  EXPECT_EQ(w.cbGPSCOM()->currentText(), usb0);
  ASSERT_EQ(rig.dialogs.size(), 1u);
  EXPECT_EQ(rig.dialogs[0].rfind("error: Unable to read the device list", 0), 0u);
}

// A port asked for by name is the one opened, or the reason it cannot be is shown.
TEST(PlugReactions, AskedForPortIsOpenedOrRefused) {
  test::WindowRig rig({kUSB0});
  TFrmOrlimo& w = *rig.window;
  w.ChoosePort(QStringLiteral("/dev/does-not-exist"));
  w.Session().TBOpenClick();
  EXPECT_FALSE(w.Session().State().PortOpen);
  EXPECT_EQ(rig.dialogs.back(), "error: /dev/does-not-exist Connection Error !\r\nNo such file or directory");
}

TEST(PlugReactions, NoDifferenceYetIsCheckedOnceMoreLater) {
  test::WindowRig rig({kUSB0});
  TFrmOrlimo& w = *rig.window;
  // One port went, another came: the same number of lines reports nothing.
  rig.ports = QStringList{kUSB1};
  rig.plugs->Fire(DeviceAction::Added, kUSB1);
  EXPECT_EQ(w.PortItems(), QStringList{kUSB0});
  EXPECT_FALSE(w.InfoUSB()->isVisible());
  ASSERT_TRUE(w.TmCkCOM().isActive());
  EXPECT_EQ(w.TmCkCOM().interval(), 1500);

  // The retry finds nothing either and does not re-arm itself.
  w.TmCkCOMTimer();
  EXPECT_FALSE(w.TmCkCOM().isActive());

  // Later the new port shows up: the retry reports it.
  rig.ports = QStringList{kUSB0, kUSB1};
  w.SchedulePortListCheck(2000);
  EXPECT_EQ(w.TmCkCOM().interval(), 2000);
  ASSERT_TRUE(test::SpinUntil([&] { return !w.TmCkCOM().isActive(); }, 4000));
  EXPECT_EQ(w.InfoUSB()->Lines(), QStringList{Plugged(kUSB1)});
}

TEST(PlugReactions, PortListRefreshKeepsOrReplacesTheSelection) {
  test::WindowRig rig({kUSB0, kUSB1});
  TFrmOrlimo& w = *rig.window;
  ASSERT_TRUE(w.SelectPort(kUSB1));
  rig.ports = QStringList{kUSB0, kUSB1, QStringLiteral("/dev/ttyACM0")};
  w.cbGPSCOM()->showPopup();  // every drop-down refreshes
  w.cbGPSCOM()->hidePopup();
  EXPECT_EQ(w.PortItems().size(), 3);
  EXPECT_EQ(w.cbGPSCOM()->currentText(), kUSB1);

  rig.ports = QStringList{kUSB0};
  w.RefreshPortList();
  EXPECT_EQ(w.cbGPSCOM()->currentText(), kUSB0);

  rig.ports.clear();
  w.RefreshPortList();
  EXPECT_EQ(w.cbGPSCOM()->count(), 0);
  EXPECT_EQ(rig.dialogs, (std::vector<std::string>{"error: Can't not find any COM port !"}));
}

TEST(PlugReactions, StrayNamesAreNotPorts) {
  test::WindowRig rig({kUSB0});
  TFrmOrlimo& w = *rig.window;
  w.GPSUSBPortArrival(QString());
  w.GPSUSBPortArrival(QStringLiteral("usb-interface"));
  EXPECT_FALSE(w.InfoUSB()->isVisible());
}

TEST(InfoUSB, NewestLineYellowOlderGreyWithTheirPictures) {
  test::App();
  EXPECT_EQ(NoticeImageIndex(Removed(kUSB0), true), 0);
  EXPECT_EQ(NoticeImageIndex(Plugged(kUSB0), true), 1);
  EXPECT_EQ(NoticeImageIndex(Removed(kUSB0), false), 2);
  EXPECT_EQ(NoticeImageIndex(Plugged(kUSB0), false), 3);

  TInfoUSB info;
  EXPECT_EQ(info.size(), QSize(296, 168));
  EXPECT_TRUE(info.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(info.windowTitle(), QStringLiteral("USB Connection Info ..."));
  info.SetLastUSBNotice(Plugged(kUSB0));
  info.show();  // opening on an empty list takes the last notice
  EXPECT_EQ(info.Lines(), QStringList{Plugged(kUSB0)});
  info.AddNotice(Removed(kUSB0));

  QListWidget* list = info.ListBox1();
  QImage img(list->viewport()->size(), QImage::Format_RGB32);
  list->viewport()->render(&img);
  auto count = [&](int row, const QColor& c) {
    int n = 0;
    for (int y = row * 32; y < row * 32 + 32; ++y) {
      for (int x = 36; x < img.width(); ++x) n += img.pixelColor(x, y) == c;
    }
    return n;
  };
  EXPECT_GT(count(0, QColor(0x80, 0x80, 0x80)), 10);
  EXPECT_EQ(count(0, QColor(0xFF, 0xFF, 0x00)), 0);
  EXPECT_GT(count(1, QColor(0xFF, 0xFF, 0x00)), 10);
  // The pictures: grey plug-in on the older line, blue removal on the newest.
  const QImage older = artwork::USBInfoImage(3);
  const QImage newest = artwork::USBInfoImage(0);
  const QPoint probe(26, 16);  // inside the socket body
  ASSERT_EQ(qAlpha(older.pixel(probe)), 255);
  EXPECT_EQ(img.pixel(probe), older.pixel(probe));
  EXPECT_EQ(img.pixel(probe + QPoint(0, 32)), newest.pixel(probe));
  info.OKButtonClick();
  EXPECT_EQ(list->count(), 0);
}

}  // namespace
}  // namespace orlimo
