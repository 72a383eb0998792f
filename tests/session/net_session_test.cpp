// The session on network sources, with a recording view and hand-driven ticks.
#include <gtest/gtest.h>

#include <QNetworkProxy>
#include <QUdpSocket>

#include "fake_session_view.h"
#include "pty_support.h"
#include "session/session.h"

namespace orlimo {
namespace {

class NetSessionTest : public ::testing::Test {
 protected:
  NetSessionTest() : session(view, Options()) { test::App(); }
  static SessionOptions Options() {
    SessionOptions o;
    o.manualTicks = true;
    return o;
  }
  FakeSessionView view;
  TSession session;
};

TEST_F(NetSessionTest, ReadOnlySourceKeepsCommandsAndDetectionOff) {
  QUdpSocket probe;  // a port that is free now
  probe.setProxy(QNetworkProxy::NoProxy);  // as the source: no desktop proxy lookup
  ASSERT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
  view.port = "udp://127.0.0.1:" + std::to_string(probe.localPort());
  probe.close();
  session.TBOpenClick();
  ASSERT_TRUE(session.State().PortOpen) << (view.dialogs.empty() ? "" : view.dialogs.back());
  EXPECT_EQ(view.restartReason, kReadOnlyReason);
  EXPECT_FALSE(view.ButtonEnabled(TToolButton::AutoSync));
  session.State().VersionKnown = true;
  session.Connection().EnableSessionControls();
  EXPECT_EQ(view.commandControls, "session");  // not "enabled"
  EXPECT_FALSE(session.SendString("$PSRF101,0,0,0,96000,0,0,12,4*1F\r\n"));
  EXPECT_TRUE(test::SpinUntil([&] { return view.panels[2] == "Open (" + view.port + ")"; }));
}

}  // namespace
}  // namespace orlimo
