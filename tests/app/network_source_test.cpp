// The window with a network source typed in the port box, and File > Share.
#include <QAction>
#include <QComboBox>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include "app_test_support.h"

namespace orlimo {
namespace {

// Typed in, connected and refused: the rate box is off, the panels name the source,
// and the refusal is told without a box that waits while the window retries.
TEST(NetworkSource, TypedSourceConnectsWithoutARate) {
  QTcpServer probe;  // a port where nothing listens once it is closed
  test::App();
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const QString source = QStringLiteral("tcp://127.0.0.1:%1").arg(probe.serverPort());
  probe.close();
  test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, {}, [](TFrmOrlimoSetup& s) { s.RetryIntervalMs = 50; });
  TFrmOrlimo& w = *rig.window;
  w.cbGPSCOM()->setEditText(source);
  EXPECT_FALSE(w.cbCOMBR()->isEnabled());
  w.Session().TBOpenClick();
  ASSERT_TRUE(w.Session().State().PortOpen);
  ASSERT_TRUE(test::SpinUntil([&] { return !rig.dialogs.empty(); }));
  EXPECT_TRUE(rig.dialogs[0].starts_with("notice: " + source.toStdString() + " Connection Error !")) << rig.dialogs[0];

  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, static_cast<quint16>(source.section(':', -1).toInt())));
  EXPECT_TRUE(test::SpinUntil([&] { return w.PanelText(2) == "Open (" + source.toStdString() + ")"; }));
  w.Session().TBOpenClick();
  w.cbGPSCOM()->setEditText(QStringLiteral("/dev/ttyUSB0"));
  EXPECT_TRUE(w.cbCOMBR()->isEnabled());
}

TEST(NetworkSource, ShareItemSwitchesTheStreamServer) {
  quint16 port = 0;
  {
    test::App();
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    port = probe.serverPort();
  }
  test::WindowRig rig({}, {}, [port](TFrmOrlimoSetup& s) { s.ServePort = port; });
  TFrmOrlimo& w = *rig.window;
  EXPECT_FALSE(w.ShareAction()->isChecked());
  w.ShareAction()->trigger();
  EXPECT_TRUE(w.ShareAction()->isChecked());
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, port);
  EXPECT_TRUE(client.waitForConnected(2000));
  w.ShareAction()->trigger();
  EXPECT_FALSE(w.Session().StreamServer().Listening());
}

}  // namespace
}  // namespace orlimo
