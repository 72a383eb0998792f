// Connection control and the one-second supervisor against a pty.
#include <gtest/gtest.h>

#include "nmea/sentence.h"
#include "session_fixture.h"

namespace orlimo {
namespace {

const std::string kRMC =
    "$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B\r\n";
const std::string kGGA =
    "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D\r\n";

using Connection = SessionTest;

TEST_F(Connection, ConnectRecognisesNMEAAndFillsThePanels) {
  EXPECT_EQ(view.readInterval, -1);
  Connect("9600");
  EXPECT_EQ(view.readInterval, 13) << "shows the interval of the previous open";
  EXPECT_EQ(view.panels[2], "Open (" + pty.SlavePath() + ",9600 bps)");
  EXPECT_EQ(view.bevels[2], TPanelBevel::Raised);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10");
  EXPECT_EQ(view.buttons[TToolButton::Open].hint, "Disconnect");
  EXPECT_EQ(view.buttons[TToolButton::Open].image, kImagePlugsApart);
  EXPECT_TRUE(view.buttons[TToolButton::AutoSync].enabled);
  EXPECT_TRUE(view.buttons[TToolButton::Pause].enabled);
  EXPECT_TRUE(session.Tm1sRunning());
  EXPECT_EQ(session.CommGPS().ReadIntervalTimeout(), 33u);
  EXPECT_EQ(session.State().VersionWaitLimit, 3);

  Receive("noise" + kRMC + kGGA);
  EXPECT_TRUE(session.Indicator().IsOn());
  session.Tm1sTimer();
  EXPECT_EQ(session.State().LinkState, TLinkState::NMEA);
  EXPECT_EQ(view.panels[1], "GPS Baud Rate :9600");
  EXPECT_EQ(view.panels[3], "NMEA");
  EXPECT_EQ(view.panels[4], " Rx(Bps):" + std::to_string(5 + kRMC.size() + kGGA.size()));
  EXPECT_EQ(view.panels[6], "00:00:01");
  EXPECT_EQ(view.monitor.size(), 1u) << "the noisy first line is dropped, the next shows at once";
  EXPECT_DOUBLE_EQ(session.NMEAData().GGA.Altitude, 78.3);

  Receive(kRMC);
  session.Tm1sTimer();
  EXPECT_EQ(view.panels[5], "Fix after :00:00:01");
  EXPECT_EQ(view.traces[4].back(), "Fix after :00:00:01");
  EXPECT_FALSE(session.State().FirstFixTiming);
}

TEST_F(Connection, RateDecidesTimeoutsAndVersionWait) {
  Connect("4800");
  EXPECT_EQ(session.CommGPS().ReadIntervalTimeout(), 1u);
  EXPECT_EQ(session.State().VersionWaitLimit, 100);
  session.TBOpenClick();
  EXPECT_FALSE(session.State().PortOpen);
  EXPECT_EQ(view.readInterval, 1);
  Connect("57600");
  EXPECT_EQ(session.CommGPS().ReadIntervalTimeout(), 33u);
  EXPECT_EQ(session.State().VersionWaitLimit, 3);
}

TEST_F(Connection, FailedOpenLeavesARetryPossible) {
  view.port = "/dev/orlimo-no-such-port";
  session.TBOpenClick();
  EXPECT_FALSE(session.State().PortOpen);
  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs[0], "error: /dev/orlimo-no-such-port Connection Error !\r\nNo such file or directory");
  EXPECT_EQ(view.panels[2], "Connection Fail");
  EXPECT_EQ(view.buttons[TToolButton::Open].hint, "Connect to GPS");
  EXPECT_TRUE(view.buttons[TToolButton::Open].enabled);
  EXPECT_FALSE(view.buttons[TToolButton::Open].down);
  EXPECT_FALSE(session.Tm1sRunning());
  Connect("9600");

  // The second line says why: a port another program holds, a plain file.
  FakeSessionView other;
  TSession second(other, Options());
  other.port = pty.SlavePath();
  second.TBOpenClick();
  other.port = "/proc/self/status";
  second.TBOpenClick();
  EXPECT_EQ(other.dialogs, (std::vector<std::string>{
                               "error: " + pty.SlavePath() + " Connection Error !\r\nThe port is in use by another program.",
                               "error: /proc/self/status Connection Error !\r\nThis is not a serial port."}));
}

TEST_F(Connection, HangupEndsTheConnectionAtOnce) {
  Connect();
  pty.CloseMaster();  // the far end of the line is gone
  ASSERT_TRUE(test::SpinUntil([&] { return !session.State().PortOpen; }, 3000));
  EXPECT_EQ(view.dialogs, std::vector<std::string>{"warning: " + pty.SlavePath() +
                                                   " was disconnected: the device is gone or its line was hung up !"});
  EXPECT_EQ(view.panels[2], pty.SlavePath() + " Hang up");
  EXPECT_FALSE(session.Tm1sRunning());
}

TEST_F(Connection, PauseThenCloseLeavesPauseUpAndDisabled) {
  Connect();
  session.TBPauseClick(true);
  EXPECT_TRUE(session.State().Paused);
  EXPECT_EQ(view.panels[2], "Pause (" + pty.SlavePath() + ",9600 bps)");
  EXPECT_EQ(view.bevels[2], TPanelBevel::Lowered);
  EXPECT_EQ(view.commandControls, "commands disabled");
  Receive(kRMC);
  session.Tm1sTimer();
  EXPECT_EQ(view.panels[2], "Pause (" + pty.SlavePath() + ",9600 bps)") << "left alone while paused";
  session.TBPauseClick(false);
  EXPECT_EQ(view.panels[2], "Open (" + pty.SlavePath() + ",9600 bps)");
  session.TBPauseClick(true);
  session.TBOpenClick();
  const auto& pause = view.buttons[TToolButton::Pause];
  EXPECT_FALSE(pause.down);
  EXPECT_FALSE(pause.enabled);
  EXPECT_EQ(pause.image, kImagePause);
  EXPECT_EQ(view.panels[2], pty.SlavePath() + " Close");
  EXPECT_EQ(view.panels[3], "UNKNOW");
  EXPECT_FALSE(session.Tm1sRunning());
}

TEST_F(Connection, SendStringWritesEveryByteInOrder) {
  EXPECT_FALSE(session.SendString("$PSRF")) << "closed";
  Connect();
  EXPECT_TRUE(session.SendString(""));
  std::string frame("\xA0\xA2\x00\x02\x84\x00\x00\x84\xB0\xB3", 10);
  ASSERT_TRUE(session.SendString(frame));
  EXPECT_EQ(pty.Read(static_cast<qsizetype>(frame.size())).toStdString(), frame);
}

TEST_F(Connection, DelayKeepsTimersRunning) {
  int fired = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++fired; });
  timer.start(5);
  TSession::DelayMs(60);
  EXPECT_GE(fired, 2);
}

using Supervisor = SessionTest;

TEST_F(Supervisor, SilentLineWarnsOnceAndCloses) {
  Connect();
  for (int i = 0; i < 10; ++i) session.Tm1sTimer();
  EXPECT_TRUE(session.State().PortOpen);
  EXPECT_TRUE(view.dialogs.empty());
  EXPECT_EQ(view.traces[2].back(), "00:00:10 => 0");
  session.Tm1sTimer();
  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs[0], "warning: Can not receive data from " + pty.SlavePath() +
                                 " !!\r\n\r\nPlease change another COM Port and try again !\r\n");
  EXPECT_FALSE(session.State().PortOpen);
  EXPECT_FALSE(session.Tm1sRunning());
}

TEST_F(Supervisor, SilentUbloxReceiverClosesEarlierAndChecksPorts) {
  Connect();
  session.State().ReceiverKind = 2;
  for (int i = 0; i < 11; ++i) session.Tm1sTimer();
  EXPECT_FALSE(session.State().PortOpen);
  EXPECT_EQ(view.portListCheckMs, 2000);
  EXPECT_TRUE(view.dialogs.empty());
}

TEST_F(Supervisor, VersionWaitMarksTheTitle) {
  Connect("9600");
  DataSecond(kRMC);  // recognition: first query
  EXPECT_EQ(session.State().VersionQueryCount, 1);
  DataSecond(kRMC);
  DataSecond(kRMC);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10");
  session.State().VersionQueryPending = true;
  DataSecond(kRMC);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (??)");
  EXPECT_EQ(view.restartReason, kUnidentifiedReason) << "the grey restart buttons say why";
  EXPECT_TRUE(session.State().VersionQueryPending);
  DataSecond(kRMC);
  EXPECT_FALSE(session.State().VersionQueryPending);
  session.TBOpenClick();
  EXPECT_EQ(view.restartReason, "");
}

TEST_F(Supervisor, VersionWaitAt4800TakesAHundredDataSeconds) {
  Connect("4800");
  DataSecond(kRMC);
  for (int i = 0; i < 99; ++i) {
    DataSecond(kRMC);
    session.Tm1sTimer();  // silent seconds do not count
  }
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10");
  DataSecond(kRMC);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (??)");
}

TEST_F(Supervisor, DetectionFailsAfterTenDataSeconds) {
  Connect("9600");
  session.TBAutoSyncClick();
  EXPECT_EQ(session.State().LinkState, TLinkState::Auto);
  EXPECT_EQ(view.panels[1], "GPS Baud Rate Detection");
  EXPECT_EQ(session.CommGPS().BaudRate(), 19200u);
  EXPECT_EQ(pty.SlaveSettings().c_cflag & CBAUD, static_cast<tcflag_t>(B19200));
  const std::uint32_t schedule[] = {19200, 115200, 115200, 19200, 19200, 115200, 115200, 921600, 921600};
  for (std::uint32_t rate : schedule) {
    DataSecond("\x55\x55");
    session.Tm1sTimer();  // silent: does not advance
    EXPECT_EQ(session.CommGPS().BaudRate(), rate);
  }
  EXPECT_EQ(view.panels[1], "GPS Baud Rate Detection.........");
  EXPECT_TRUE(view.dialogs.empty());
  DataSecond("\x55\x55");
  EXPECT_FALSE(session.State().PortOpen);
  EXPECT_EQ(session.State().LinkState, TLinkState::Unknow);
  EXPECT_EQ(view.panels[1], "");
  EXPECT_EQ(view.dialogs.back(), "error: " + pty.SlavePath() + " can not find GPS Data !!");
  EXPECT_EQ(view.traces[2].back(), "Auto Baud Rate : Fail !!");
  EXPECT_EQ(session.State().AutoSyncStep, 0);
}

TEST_F(Supervisor, DetectionCutShortKeepsItsSteps) {
  Connect("9600");
  session.TBAutoSyncClick();
  for (int i = 0; i < 3; ++i) DataSecond("\x55");
  session.TBOpenClick();
  EXPECT_EQ(session.State().AutoSyncStep, 3);
  Connect("9600");
  session.TBAutoSyncClick();
  for (int i = 0; i < 6; ++i) DataSecond("\x55");
  EXPECT_TRUE(session.State().PortOpen);
  DataSecond("\x55");
  EXPECT_FALSE(session.State().PortOpen) << "3 + 7 data seconds";
}

TEST_F(Supervisor, DetectionButtonOnlyWhereItMakesSense) {
  session.TBAutoSyncClick();
  EXPECT_EQ(view.dialogs.back(), "error:  COM Port not Open !!");
  Connect();
  DataSecond(kRMC);
  ASSERT_EQ(session.State().LinkState, TLinkState::NMEA);
  session.TBAutoSyncClick();
  EXPECT_EQ(session.State().LinkState, TLinkState::NMEA);
  EXPECT_TRUE(view.buttons[TToolButton::AutoSync].enabled);
  EXPECT_FALSE(view.buttons[TToolButton::AutoSync].down);
  session.State().ReceiverKind = 2;
  session.State().LinkState = TLinkState::Unknow;
  session.TBAutoSyncClick();
  EXPECT_EQ(session.State().LinkState, TLinkState::Unknow) << "u-blox receivers are not detected";
  EXPECT_EQ(view.panels[1], "GPS Baud Rate :9600");
}

TEST_F(Supervisor, SiRFBinaryQuestionNoKeepsTheConnectionAndIsAskedOnce) {
  Connect();
  DataSecond(std::string("\x01\xA0\xA2\x00\x09\x09\x02", 7));
  EXPECT_EQ(session.State().LinkState, TLinkState::SiRF);
  EXPECT_TRUE(session.Pipeline().RxBuffer.empty());
  view.answers = {false};
  DataSecond("\x01");
  EXPECT_EQ(view.dialogs.back(),
            "ask: GPS is in SiRF Binary mode.\r\n\r\nDo you want to switch to NMEA mode (Factory Default) ?");
  EXPECT_TRUE(session.State().PortOpen);
  EXPECT_TRUE(session.Tm1sRunning());
  const std::size_t asked = view.dialogs.size();
  DataSecond("\x01");
  EXPECT_EQ(view.dialogs.size(), asked);
}

TEST_F(Supervisor, SiRFBinaryQuestionYesSendsFactoryDefaultAndDetects) {
  Connect();
  DataSecond(std::string("\xA0\xA2\x00\x09\x09", 5));
  view.answers = {true};
  DataSecond("\x01");
  const QByteArray sent = pty.Read(33);
  EXPECT_EQ(sent.toStdString(), std::string(kSiRFFactoryDefaultFrame));
  EXPECT_EQ(session.State().LinkState, TLinkState::Auto);
  EXPECT_EQ(session.CommGPS().BaudRate(), 19200u);
  EXPECT_TRUE(session.Tm1sRunning());
}

TEST_F(Supervisor, OldFixAfterRestartIsGivenAGracePeriod) {
  Connect();
  DataSecond(kRMC);
  DataSecond(kRMC);  // fix reported
  SessionState& s = session.State();
  s.FirstFixTiming = true;
  s.FirstFixSeconds = 0;
  s.AwaitFixLoss = true;
  s.FirstFixGrace = 3;
  for (int i = 0; i < 3; ++i) DataSecond(kRMC);
  EXPECT_TRUE(s.AwaitFixLoss);
  DataSecond(kRMC);
  EXPECT_FALSE(s.AwaitFixLoss) << "the old fix never went: counting starts over";
  EXPECT_EQ(view.panels[5], "Fix after :00:00:01");
}

// A receiver that comes back from its factory default at 4800 bit/s never falls
// quiet: the watch ends on the lines that keep coming, and the first fix is timed.
TEST_F(Supervisor, FactoryDefaultAt4800ThatStaysAtTheRateIsTimed) {
  const std::string noFix = "$GPRMC,023442.000,V,,,,,,,200406,,,N";
  const std::string noFixLine = noFix + NMEAChecksumSuffix(noFix) + "\r\n";
  Connect("4800");
  DataSecond(kRMC + kRMC);
  session.State().ReceiverKind = kSiRFReceiver;
  session.TBFactoryClick();
  ASSERT_GT(session.State().RestartMarkIndex, 0) << "the watch runs";
  for (int i = 0; i < 4; ++i) DataSecond(noFixLine);
  EXPECT_EQ(session.State().RestartMarkIndex, 0) << "the watch is over";
  EXPECT_EQ(session.State().LinkState, TLinkState::NMEA) << "no detection";
  EXPECT_EQ(view.panels[5].rfind("Timer :", 0), 0u) << view.panels[5];
  DataSecond(kRMC);
  EXPECT_EQ(view.panels[5], "Fix after :00:00:05");
}

}  // namespace
}  // namespace orlimo
