// The commands a session sends, read back byte for byte from the far side of a pty.
#include <gtest/gtest.h>

#include "frames/hex.h"
#include "pipeline_fixture.h"
#include "session/receiver_clues.h"
#include "session/receiver_commands.h"
#include "session_fixture.h"

namespace orlimo {
namespace {

class Commands : public SessionTest {
 protected:
  // Everything the session wrote to the receiver so far: a loaded machine (or a
  // sanitizer) may take a while to start the writer, not to finish a command.
  std::string Sent() { return pty.Read(1 << 16, 200, 2000).toStdString(); }
  const std::vector<std::string>& MessageLog() { return view.traces[2]; }
  bool Logged(const std::string& line) {
    const auto& log = MessageLog();
    return std::find(log.begin(), log.end(), line) != log.end();
  }
};

TEST_F(Commands, RestartsByReceiverKind) {
  session.TBColdStartClick();
  EXPECT_EQ(view.dialogs, std::vector<std::string>{"warning: Please Open GPS First !!"});
  Connect();
  Sent();

  session.State().ReceiverKind = 1;
  session.TBColdStartClick();
  EXPECT_EQ(Sent(), "$PSRF101,0,0,0,96000,0,0,12,4*1F\r\n");
  EXPECT_EQ(MessageLog().back(), " CMD OK!!");
  EXPECT_TRUE(Logged("$PSRF101,0,0,0,96000,0,0,12,4*1F"));
  EXPECT_EQ(session.State().FirstFixGrace, 15);
  session.TBHotStartClick();
  EXPECT_EQ(Sent(), "$PSRF101,0,0,0,96000,0,0,12,1*1A\r\n");
  EXPECT_EQ(session.State().FirstFixGrace, 3);

  session.State().ReceiverKind = 2;
  session.TBHotStartClick();
  EXPECT_EQ(BytesToHex(Sent()), "B56206040400000002001068");
  session.TBFactoryClick();
  EXPECT_EQ(BytesToHex(Sent()), "B56206040400FF0702001679"
                                "B56206090C00FFFFFFFF00000000FFFFFFFF135B");

  // Unknown receiver: nothing goes out, but the first-fix clock starts again.
  session.State().ReceiverKind = 0;
  view.panels[5] = "Fix after :00:00:09";
  session.State().FirstFixTiming = false;
  const std::size_t logged = MessageLog().size();
  session.TBColdStartClick();
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(MessageLog().size(), logged);
  EXPECT_EQ(view.dialogs.back().rfind("failure: No restart was sent", 0), 0u) << "not a silent no-op";
  EXPECT_EQ(view.panels[5], "");
  EXPECT_TRUE(session.State().FirstFixTiming);
  EXPECT_TRUE(session.State().AwaitFixLoss);
}

TEST_F(Commands, SiRFFactoryDefaultWatchesTheListAt4800AndDetectsElsewhere) {
  Connect("4800");
  session.State().ReceiverKind = 1;
  view.selected = 7;
  session.TBFactoryClick();
  EXPECT_EQ(session.State().RestartMarkIndex, 7);
  EXPECT_FALSE(session.State().AwaitFixLoss);
  EXPECT_EQ(session.State().LinkState, TLinkState::Unknow);

  session.TBOpenClick();
  Connect("9600");
  session.State().ReceiverKind = 1;
  session.TBFactoryClick();
  EXPECT_EQ(session.State().LinkState, TLinkState::Auto);
  EXPECT_EQ(session.CommGPS().BaudRate(), 19200u);
  EXPECT_TRUE(session.State().DiscardRxOnce);
  EXPECT_TRUE(session.State().AwaitFixLoss);
}

TEST_F(Commands, RateChangeSendsReopensAndKeepsTheIdentity) {
  Connect("9600");
  Sent();
  view.gpsRate = "9600";
  session.btnGPSBRApplyClick();
  EXPECT_EQ(MessageLog().back(), " GPS baud Rate no Change !");
  EXPECT_TRUE(view.dialogs.empty());

  view.gpsRate = "38400";
  view.answers = {false};
  session.btnGPSBRApplyClick();
  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs[0].rfind("ask: If your GPS device is a bluetooth GPS receiver,\r\n\r\n", 0), 0u);
  EXPECT_EQ(Sent(), "");

  session.State().ReceiverKind = 1;
  session.State().VersionKnown = false;
  view.answers = {true};
  session.btnGPSBRApplyClick();
  EXPECT_EQ(Sent(), "$PSRF100,1,38400,8,1,0*3D\r\n");
  EXPECT_EQ(MessageLog().back(), " Change BR CMD OK!!");
  EXPECT_TRUE(session.State().PortOpen);
  EXPECT_EQ(session.CommGPS().BaudRate(), 38400u);
  EXPECT_EQ(view.rate, "38400");
  EXPECT_EQ(view.panels[1], "GPS Baud Rate :38400");
  EXPECT_TRUE(session.State().VersionKnown);
  EXPECT_EQ(session.State().ReceiverKind, 1);

  // A u-blox receiver is asked its port settings first; one that does not answer
  // keeps its rate, and the user is told.
  session.State().ReceiverKind = 2;
  view.gpsRate = "4800";
  view.answers = {true};
  session.btnGPSBRApplyClick();
  EXPECT_EQ(BytesToHex(Sent()), "B562060000000618");
  EXPECT_EQ(session.CommGPS().BaudRate(), 38400u);
  EXPECT_EQ(view.dialogs.back().rfind("failure: The GPS receiver did not answer the port query", 0), 0u);
  EXPECT_EQ(session.State().ReceiverKind, 2);
}

TEST_F(Commands, RatesAbove115200GoOnlyToUBloxReceivers) {
  Connect("9600");
  Sent();
  session.State().ReceiverKind = kMediaTekReceiver;
  view.gpsRate = "460800";
  view.answers = {true};
  session.btnGPSBRApplyClick();
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(session.CommGPS().BaudRate(), 9600u);
  EXPECT_EQ(view.dialogs.back(),
            "warning: The GPS receiver (MediaTek) is set to at most 115200 bps here: 460800 bps is not sent to it.");
}

TEST_F(Commands, ConsoleAddsOrChecksTheChecksumAndKeepsHistory) {
  FakeSessionView view2;
  TSession logged(view2, Options());
  view2.port = pty.SlavePath();
  logged.TBOpenClick();
  ASSERT_TRUE(logged.State().PortOpen);
  logged.State().LogActive = true;

  view2.commandText = "  $PQXC,201  (Query the version) ";
  logged.btnCMDSendClick();
  EXPECT_EQ(Sent(), "$PQXC,201*05\r\n");
  EXPECT_EQ(view2.traces[2].back(), "...[$PQXC,201*05]....Send CMD Success !!");
  EXPECT_EQ(view2.monitor.back(), "$PQXC,201*05");
  EXPECT_EQ(logged.RawLog().LogLineCount(), 1u) << "the command waits for the log";
  EXPECT_EQ(view2.history, std::vector<std::string>{"$PQXC,201  (Query the version)"});

  view2.commandText = "$pqxc,201  (query the version)";  // same item in other letters
  logged.btnCMDSendClick();
  EXPECT_EQ(Sent(), "$pqxc,201*05\r\n") << "sent as typed, the checksum over what was typed";
  EXPECT_EQ(view2.history.size(), 1u);

  // Refused whole, not kept: a wrong or lower-case checksum, an over-long or
  // non-ASCII text. A bare description sends nothing at all.
  for (const std::string& bad : {std::string("$PQXC,201*06"), std::string("$PQXC,200,0*1a"),
                                 "$PQXC," + std::string(kMaxConsoleCommand, '1'), std::string("$PQXC,\xB0")}) {
    view2.commandText = bad;
    logged.btnCMDSendClick();
  }
  view2.commandText = "(only a note)";
  logged.btnCMDSendClick();
  EXPECT_EQ(Sent(), "");
  ASSERT_EQ(view2.dialogs.size(), 4u);
  EXPECT_EQ(view2.dialogs[0], "error: \"$PQXC,201*06\" Checksum error !");
  EXPECT_EQ(view2.dialogs[3].rfind("error: \"$PQXC,\xB0\" can not be sent !", 0), 0u);
  EXPECT_EQ(view2.commandBoxFocused, 4);
  EXPECT_EQ(view2.history.size(), 1u);

  // A failed send still enters the history.
  logged.TBCloseClick();
  view2.commandText = "$PSRF103,00,01,00,01";
  logged.btnCMDSendClick();
  EXPECT_EQ(view2.traces[2].back(), "Send Data Fail !!");
  EXPECT_EQ(view2.history.front(), "$PSRF103,00,01,00,01");
}

TEST_F(Commands, TrickleQueriesAndDiagnosticFrames) {
  Connect();
  Sent();
  session.TBTPClick();
  EXPECT_EQ(Sent(), "$PQXC,200,2,400,1000,300000,30000\r\n");
  EXPECT_EQ(MessageLog().back(), "...[$PQXC,200,2,400,1000,300000,30000]....Send TMC CMD Success !!");
  EXPECT_TRUE(session.State().PowerReplyWatch);
  EXPECT_EQ(session.State().PowerReplyCount, 3);

  session.State().VersionQueryCount = 2;
  session.Commands().QueryReceiverVersion();
  EXPECT_EQ(Sent(), "$PQXC,201*05\r\n$PQYCM,V\r\n" + std::string(kUBXMonVerPoll) + "$PMTK605*31\r\n")
      << "every family's query, no power query without the trickle button";
  EXPECT_TRUE(Logged(" CkVer ...Send CMD Success !! => 2"));
  EXPECT_TRUE(session.State().VersionQueryPending);

  session.Button20Click();
  EXPECT_EQ(BytesToHex(Sent()), "A0A2001881020101010101010501010101010001000100010001" "12C00169B0B3");
  EXPECT_EQ(MessageLog().back(), " CMD OK!!");
  session.ButtonTestClick();
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(MessageLog()[MessageLog().size() - 2], "7,961E510006001E,0129,96");
  EXPECT_EQ(MessageLog().back(), "SiRF format OK !");
  EXPECT_EQ(SiRFSelfTestLines("A0A20007961E510007001E0129B0B3").back(), "SiRF format Error !");
  EXPECT_EQ(SiRFSelfTestLines("A0A2FFFF96").back(), "SiRF format Error !") << "length past the end";

  session.TBCloseClick();
  session.TBTPClick();
  session.Commands().QueryReceiverVersion();
  EXPECT_EQ(MessageLog().back(), "Send TMC Cmd Fail !!");
  EXPECT_TRUE(Logged("  CkVer Send Data Fail !!"));
}

// Every family's restarts, byte for byte; an unknown receiver is sent none.
TEST(ReceiverFamilies, RestartMessages) {
  auto hex = [](int kind, TRestartKind restart) {
    std::string out;
    for (const std::string& m : FamilyOf(kind).RestartMessages(restart))
      out += (FamilyOf(kind).SendsText() ? m : BytesToHex(m)) + " ";
    return out;
  };
  EXPECT_EQ(hex(kSiRFReceiver, kWarmStart), "$PSRF101,0,0,0,96000,0,0,12,2*19 ");
  EXPECT_EQ(hex(kUBloxReceiver, kHotStart), "B56206040400000002001068 ");
  EXPECT_EQ(hex(kUBloxReceiver, kWarmStart), "B5620604040001000200116C ");
  EXPECT_EQ(hex(kUBloxReceiver, kFactoryDefault),
            "B56206090C00FFFFFFFF00000000FFFFFFFF135B B56206040400FFFF02000E61 ");
  EXPECT_EQ(hex(kMediaTekReceiver, kFactoryDefault), "$PMTK104*37 ");
  EXPECT_EQ(hex(kUnknownReceiver, kColdStart), "");
  EXPECT_EQ(FamilyOf(kMediaTekReceiver).RateCommand(38400), "$PMTK251,38400*27");
}

TEST(ReceiverFamilies, UBloxRateFrames) {
  // CFG-VALSET, RAM layer, CFG-UART1-BAUDRATE = 115200.
  EXPECT_EQ(BytesToHex(UBXUart1RateFrame(115200)), "B562068A0C00000100000100524000C20100F3A5");
  std::string port(20, '\x01');
  const std::string changed = WithUBXPortRate(port, 9600);
  EXPECT_EQ(BytesToHex(changed.substr(8, 4)), "80250000");
  EXPECT_EQ(changed.substr(12), port.substr(12)) << "frame format and protocol masks kept";
}

TEST(CommandText, AnnotationRule) {
  EXPECT_EQ(StripAnnotation(" $PQXC,200,0*18 (Query the Power Mode)"), "$PQXC,200,0*18");
  EXPECT_EQ(StripAnnotation("\t$PQYCM,V\r\n"), "$PQYCM,V");
  EXPECT_EQ(StripAnnotation(" (a description only)"), "");
}

}  // namespace
}  // namespace orlimo
