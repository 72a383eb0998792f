// The port selector's labels from injected udev properties, and a stable name (a
// link in a folder standing in for /dev/serial/by-id) followed across an unplug and
// a replug into another socket.
#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/info_usb.h"
#include "app/port_combo.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

const QString kS0 = QStringLiteral("/dev/ttyS0");
const TUdevProperties kAcme = {
    {"ID_BUS", "usb"}, {"ID_VENDOR_FROM_DATABASE", "Acme"}, {"ID_MODEL_ENC", "GPS\\x2018x"}, {"ID_SERIAL_SHORT", "123"}};

QString Dash(const QString& path, const QString& description) { return path + QStringLiteral(" \u2014 ") + description; }

TPortCombo* Box(TFrmOrlimo& w) { return static_cast<TPortCombo*>(w.cbGPSCOM()); }

// Relative, as udev makes them ("../../ttyUSB0").
bool Link(const QString& node, const QString& name) {
  return QFile::link(QFileInfo(name).dir().relativeFilePath(node), name);
}

// Chosen with --port (ChoosePort) or read from the settings file: the name is kept
// as given, listed while the receiver is away, closed when its node goes, and
// selected again when the receiver comes back on another node.
TEST(PortNames, StableNameFollowsTheReceiverToAnotherSocket) {
  for (const bool fromSettings : {false, true}) {
    SCOPED_TRACE(fromSettings ? "from the settings file" : "from --port");
    test::Pty socketA;
    test::Pty socketB;
    const QString a = socketA.Path();
    const QString b = socketB.Path();
    QTemporaryDir byId;
    const QString name = byId.filePath(QStringLiteral("usb-Acme_GPS_18x_123-if00"));
    ASSERT_TRUE(Link(a, name));
    test::WindowRig rig({kS0, a}, {}, [&](TFrmOrlimoSetup& s) {
      s.StablePortDir = byId.path();
      s.PortProperties = [&](const QString& port) { return port == a || port == b ? kAcme : TUdevProperties{}; };
    });
    TFrmOrlimo& w = *rig.window;
    if (fromSettings) {
      TSettings saved;
      saved.COMPort = name.toStdString();
      w.ApplySettings(saved);
    } else {
      w.ChoosePort(name);
    }
    // The open list shows the labels, the box the path with the label as its tooltip.
    const QString label = Dash(name, QStringLiteral("Acme GPS 18x (SN 123)"));
    EXPECT_EQ(w.PortText(), name.toStdString());
    EXPECT_EQ(Box(w)->toolTip(), label);
    EXPECT_EQ(Box(w)->LabelAt(Box(w)->findText(kS0)), kS0);
    Box(w)->showPopup();
    QAbstractItemView* list = Box(w)->view();
    EXPECT_GE(list->sizeHintForColumn(0), list->fontMetrics().horizontalAdvance(label));
    Box(w)->hidePopup();
    w.Session().TBOpenClick();
    ASSERT_TRUE(w.Session().State().PortOpen);

    // Unplugged: udev drops the link, then reports the node.
    ASSERT_TRUE(QFile::remove(name));
    rig.ports = QStringList{kS0};
    rig.plugs->Fire(DeviceAction::Removed, a);
    EXPECT_FALSE(w.Session().State().PortOpen);
    EXPECT_EQ(w.PortText(), name.toStdString());
    EXPECT_EQ(Box(w)->toolTip(), Dash(name, QStringLiteral("not plugged in")));

    // Another port is picked meanwhile; the receiver comes back on another node.
    ASSERT_TRUE(w.SelectPort(kS0));
    ASSERT_TRUE(Link(b, name));
    rig.ports = QStringList{kS0, b};
    rig.plugs->Fire(DeviceAction::Added, b);
    EXPECT_EQ(w.PortText(), name.toStdString());
    EXPECT_EQ(Box(w)->toolTip(), label);
    EXPECT_EQ(w.InfoUSB()->Lines().last(), QStringLiteral(" (%1) Plug In !   ").arg(b));
    w.Session().TBOpenClick();
    ASSERT_TRUE(w.Session().State().PortOpen);
    EXPECT_EQ(w.Session().CommGPS().CommName(), name);
    EXPECT_EQ(w.CollectSettings().COMPort, name.toStdString());
    EXPECT_TRUE(rig.dialogs.empty()) << rig.dialogs.front();
  }
}

}  // namespace
}  // namespace orlimo
