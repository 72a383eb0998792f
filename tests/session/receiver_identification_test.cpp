// Recognising the receiver from what it answers: firmware, TMC, power mode, UBX replies.
#include <gtest/gtest.h>

#include "frames/hex.h"
#include "frames/ubx_frame.h"
#include "nmea/sentence.h"
#include "session_fixture.h"

namespace orlimo {
namespace {

std::string Line(const std::string& body) { return body + NMEAChecksumSuffix(body) + "\r\n"; }

std::string CfgMsgReply(std::uint8_t message, std::uint8_t rate) {
  return BuildUBXFrame(0x06, 0x01, std::string{'\xF0', static_cast<char>(message), 0, static_cast<char>(rate), 0, 0});
}

class Identification : public SessionTest {
 protected:
  void SetUp() override {
    Connect();
    pty.Read(1 << 16, 50);
    session.State().VersionQueryPending = true;
  }
  void Check(const std::string& buffer) { session.Identification().CheckFirmwareReply(buffer); }
  void ScanUBX(const std::string& buffer) { session.Identification().ScanUBXFrames(buffer); }
  const std::vector<std::string>& TimingLog() { return view.traces[4]; }
};

TEST_F(Identification, SiRFFromItsVersionReplyOnly) {
  // "GSW" elsewhere, "u-blox" without "ANTARIS", an unfinished reply: not yet.
  Check(Line("$GPTXT,01,01,02,GSW inside a text") + Line("$GPTXT,u-blox"));
  Check("$PQXR,201,GSW3.2.5_3.1.0");
  EXPECT_EQ(session.State().ReceiverKind, 0);
  EXPECT_FALSE(session.State().VersionKnown);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10");

  session.State().SessionSeconds = 4;
  session.TBPauseClick(true);
  Check("7.00*1C\r\n" + Line("$PQYTQ,V,TMC-2.01") + Line("$PQXR,201,GSW3.2.5_3.1.0"));
  EXPECT_EQ(view.traces[2].back(), "  ==> CkFWVer !");
  EXPECT_EQ(session.State().ReceiverKind, 1);
  EXPECT_TRUE(session.State().VersionKnown);
  EXPECT_FALSE(session.State().VersionQueryPending);
  EXPECT_TRUE(session.State().TMCPresent);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (GSW3.2.5_3.1.0)");
  EXPECT_EQ(TimingLog().back(), " FWVer: [GSW3.2.5_3.1.0]4");
  EXPECT_EQ(view.commandControls, "commands disabled") << "identified while paused";
  session.TBPauseClick(false);
  EXPECT_EQ(view.commandControls, "enabled");

  const std::size_t lines = view.traces[2].size();
  Check(Line("$PQXR,201,GSW9"));
  EXPECT_EQ(view.traces[2].size(), lines) << "identified once per connection";
}

TEST_F(Identification, UBloxBannerTitleAndTheSevenPolls) {
  const std::string banner = Line("$GPTXT,01,01,02,u-blox ag - www.u-blox.com") +
                             Line("$GPTXT,01,01,02,HW  ANTARIS ATR0620 HW 00040001") +
                             Line("$GPTXT,01,01,02,ROM CORE 5.00    Jan 09 2006 11:00:00");
  Check(banner);
  EXPECT_EQ(session.State().ReceiverKind, 2);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (ANTARIS ATR0620 HW 00040001_V:5.00    Jan 09)");
  std::string polls;
  for (std::uint8_t id : {0, 1, 2, 3, 4, 5, 8})
    polls += BuildUBXFrame(0x06, 0x01, std::string{'\xF0', static_cast<char>(id)});
  EXPECT_EQ(BytesToHex(pty.Read(static_cast<qsizetype>(polls.size())).toStdString()), BytesToHex(polls));
  ASSERT_EQ(view.traces[1].size(), 7u);
  EXPECT_EQ(view.traces[1][0], "suQryMsg:B56206010200F000F911");
  EXPECT_EQ(view.commandControls, "enabled");
}

TEST_F(Identification, UBloxTextsStopAtBinaryAndAtTheBufferEnd) {
  // A banner inside binary frames: no "*" for hundreds of bytes, then "ROM CORE" at
  // the very end of the buffer with fewer than 15 characters after it.
  std::string binary(300, '\x01');
  binary[10] = '\xB5';
  Check("u-blox\x05" "ANTARIS ATR0620" + binary + "ROM CORE 5.0");
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (ANTARIS ATR0620_V:5.0)");
}

TEST_F(Identification, PowerModeReplies) {
  session.Identification().ShowPowerMode(Line("$PQXR,200,1,0"));
  EXPECT_EQ(view.panels[7], "[1000/1000]");
  session.Identification().ShowPowerMode(Line("$PQXR,200,1,2,400,1000,300000,30000"));
  EXPECT_EQ(view.panels[7], "[400/1000]");
  EXPECT_EQ(TimingLog().back(), "<TP:>$PQXR,200,1,2,400,1000,300000,30000*");
  // The "*" of the next sentence is not this reply's.
  session.Identification().ShowPowerMode("$PQXR,200,1,2,400\r\n" + Line("$GPGGA,1,2,3,4,5,6"));
  EXPECT_EQ(TimingLog().back(), "<TP:>");
  EXPECT_EQ(view.panels[7], "[/]");
  session.Identification().ShowPowerMode(Line("$PQXR,200,1,2,400"));
  EXPECT_EQ(view.panels[7], "[400*/]") << "a field that ends at the star keeps it";

  session.State().PowerReplyWatch = true;
  session.State().PowerReplyCount = 3;
  for (int pass = 0; pass < 4; ++pass) session.Identification().WatchPowerReply(Line("$PQXR,200,1,0"));
  EXPECT_FALSE(session.State().PowerReplyWatch);
  EXPECT_EQ(std::count(TimingLog().begin(), TimingLog().end(), "<TP Cnt>1"), 1);
  EXPECT_EQ(std::count_if(TimingLog().begin(), TimingLog().end(),
                          [](const std::string& l) { return l.rfind("<TP Cnt>", 0) == 0; }),
            3);
}

TEST_F(Identification, UBXScanAcrossPassesAndBadFrames) {
  SessionState& s = session.State();
  const std::string gsv = CfgMsgReply(3, 5);
  // The last checksum byte not yet here: nothing handled this pass.
  ScanUBX(gsv.substr(0, gsv.size() - 1));
  EXPECT_TRUE(TimingLog().empty());
  ScanUBX("$GPGGA,junk\r\n" + gsv + CfgMsgReply(8, 0));
  ASSERT_EQ(TimingLog().size(), 2u);
  EXPECT_EQ(TimingLog()[0], "06 01 Len:6, uGSV(5)");
  EXPECT_EQ(TimingLog()[1], "06 01 Len:6, uZDA(0)");
  EXPECT_EQ(s.UBXSilenceLimit, 5);
  ScanUBX(CfgMsgReply(0, 1) + CfgMsgReply(4, 5));
  EXPECT_EQ(s.UBXSilenceLimit, 1) << "the smallest non-zero rate, never raised again";

  // A bad checksum is skipped, and a sync in its bytes still finds the frame after it;
  // a short CFG-MSG is logged plainly; an unknown message gets a name; a length past
  // the end ends the scan.
  std::string bad = CfgMsgReply(1, 2);
  bad[bad.size() - 1] ^= 1;
  ScanUBX(bad + BuildUBXFrame(0x06, 0x01, std::string("\xF0\x02", 2)) + CfgMsgReply(0x4B, 3) +
          BuildUBXFrame(0x05, 0x01, std::string("\x06\x01", 2)) + "\xB5\x62\x06\x01\xFF\xFF\x00");
  EXPECT_EQ(std::vector<std::string>(TimingLog().end() - 3, TimingLog().end()),
            (std::vector<std::string>{"06 01 Len:2", "06 01 Len:6, uMsg75(3)", "05 01 Len:2"}));
  EXPECT_EQ(s.UBXSilenceLimit, 1);
}

// A u-blox 5 to 10 names itself in its start-up banner, asked or not; a banner
// without its protocol line is taken as it stands once a pass brings nothing new.
TEST_F(Identification, UBloxBannerOverTwoPassesNamesTheGeneration) {
  session.State().VersionQueryPending = false;
  Check(Line("$GPTXT,01,01,02,u-blox ag - www.u-blox.com") + Line("$GPTXT,01,01,02,HW  UBX-G60xx  00040007 FFF9FFFFp"));
  Check(Line("$GPTXT,01,01,02,ROM CORE 7.03 (45969) Mar 17 2011 16:18:34") + Line("$GPGGA,1,2"));
  EXPECT_FALSE(session.State().VersionKnown) << "more of the banner may follow";
  Check(Line("$GPGGA,1,2"));
  EXPECT_EQ(session.State().ReceiverKind, kUBloxReceiver);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (u-blox 6 ROM CORE 7.03 (45969))");
  EXPECT_EQ(view.traces[1].size(), 7u) << "its NMEA rates are polled as an ANTARIS receiver's";
  EXPECT_EQ(view.commandControls, "enabled");
}

TEST_F(Identification, MonVerAndMediaTekReplies) {
  auto field = [](std::string text, std::size_t size) { return text.append(size - text.size(), '\0'); };
  const std::string monVer = BuildUBXFrame(
      0x0A, 0x04,
      field("EXT CORE 1.00 (94e56e)", 30) + field("00190000", 10) + field("ROM BASE 0xDD3FE36C", 30) +
          field("FWVER=HPG 1.11", 30) + field("PROTVER=27.10", 30) + field("MOD=ZED-F9P", 30));
  Check(Line("$GNGGA,1") + monVer + Line("$GNRMC,2"));
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (u-blox F9 ZED-F9P HPG 1.11 PROTVER 27.10)");
  EXPECT_EQ(session.State().Clues.ublox.ProtocolMajor(), 27);

  session.TBOpenClick();  // a new connection forgets the receiver
  Connect();
  Check("$PMTK705,AXN_1.30,0000,Fastrax IT500,");
  EXPECT_FALSE(session.State().VersionKnown) << "the reply is not complete";
  Check(Line("$PMTK705,AXN_1.30,0000,Fastrax IT500,"));
  EXPECT_EQ(session.State().ReceiverKind, kMediaTekReceiver);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (MediaTek AXN_1.30 Fastrax IT500)");

  // Its start-up sentences alone name the family, once no version reply follows.
  session.TBOpenClick();
  Connect();
  Check(Line("$PMTK011,MTKGPS") + Line("$PMTK010,001"));
  Check(Line("$GPGGA,1"));
  EXPECT_FALSE(session.State().VersionKnown);
  Check(Line("$GPGGA,1"));
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (MediaTek)");
}

// A reply after the last line end stays in the buffer for the next pass: it is
// handled once.
TEST_F(Identification, AReplyInTheUnfinishedTailIsHandledOnce) {
  session.State().ReceiverKind = kANTARISReceiver;
  session.State().VersionKnown = true;
  session.State().LinkState = TLinkState::NMEA;
  const std::string first = Line("$GPGGA,1") + CfgMsgReply(3, 5);
  session.Pipeline().CommGPSReceiveData(first.data(), first.size());
  session.Pipeline().ProcessRxBuffer();
  const std::string more = "$GPRM";
  session.Pipeline().CommGPSReceiveData(more.data(), more.size());
  session.Pipeline().ProcessRxBuffer();
  EXPECT_EQ(std::count(TimingLog().begin(), TimingLog().end(), "06 01 Len:6, uGSV(5)"), 1);
}

}  // namespace
}  // namespace orlimo
