// Receiver commands and identification against the simulated receiver, for real: the
// receiver checks the bytes it gets, obeys them, and its answers identify it.
#include <gtest/gtest.h>

#include <algorithm>

#include "frames/hex.h"
#include "session/receiver_identification.h"
#include "sim_session_fixture.h"

namespace orlimo {
namespace {

class Commanded : public WithReceiver {
 protected:
  // Connects at the receiver's rate and runs seconds until it identified itself.
  void ConnectAndIdentify(const std::string& rate) {
    view.rate = rate;
    session->TBOpenClick();
    ASSERT_TRUE(session->State().PortOpen);
    for (int i = 0; i < 6 && !session->State().VersionKnown; ++i) Second();
    ASSERT_TRUE(session->State().VersionKnown) << view.title;
  }

  std::deque<std::string> Received() const { return sim->Status().counters.received; }
  long CountReceived(const std::string& message) const {
    const auto r = Received();
    return std::count(r.begin(), r.end(), message);
  }
  bool ReceiverGot(const std::string& message) {
    return test::SpinUntil([&] { return CountReceived(message) > 0; }, 3000);
  }

  // Runs seconds until panel 5 shows the restart's clock and then the new fix.
  void ExpectFixLostAndRegained() {
    bool counting = false;
    for (int i = 0; i < 10 && view.panels[5].rfind("Fix after :", 0) != 0; ++i) {
      Second();
      counting = counting || view.panels[5].rfind("Timer :", 0) == 0;
    }
    EXPECT_TRUE(counting) << "the first-fix clock ran";
    EXPECT_EQ(view.panels[5].rfind("Fix after :", 0), 0u) << view.panels[5];
  }

  static void SlowFix(SimOptions& o) {
    o.ttffHot = 2.5;  // long enough for a cycle without the fix
    o.ttffCold = 2.5;
    o.tmc = true;
  }
};

TEST_F(Commanded, SiRFIdentifiesRestartsAndStopsAsking) {
  StartReceiver(SimPersonality::SiRF, 9600, SlowFix);
  StartSession();
  ConnectAndIdentify("9600");
  EXPECT_EQ(session->State().ReceiverKind, 1);
  EXPECT_EQ(view.title.rfind("KELDAR Orlimo V:1.10 (GSW", 0), 0u) << view.title;
  EXPECT_EQ(view.title.back(), ')');
  EXPECT_EQ(view.commandControls, "enabled");
  EXPECT_TRUE(session->State().TMCPresent);
  const long queries = CountReceived("$PQXC,201*05");
  EXPECT_GE(queries, 1);

  session->TBHotStartClick();
  EXPECT_TRUE(ReceiverGot("$PSRF101,0,0,0,96000,0,0,12,1*1A"));
  ExpectFixLostAndRegained();
  session->TBColdStartClick();
  EXPECT_TRUE(ReceiverGot("$PSRF101,0,0,0,96000,0,0,12,4*1F"));
  ExpectFixLostAndRegained();
  EXPECT_EQ(sim->Status().counters.restarts, 2);
  EXPECT_EQ(CountReceived("$PQXC,201*05"), queries) << "a known receiver is not asked again";

  view.commandText = "$PQXC,201";
  session->btnCMDSendClick();
  EXPECT_TRUE(test::SpinUntil([&] { return CountReceived("$PQXC,201*05") == queries + 1; }, 3000));
}

TEST_F(Commanded, SiRFFactoryDefaultIsFoundAgainAtItsOwnRate) {
  StartReceiver(SimPersonality::SiRF, 9600, [](SimOptions& o) { o.factoryRate = 38400; });
  StartSession();
  ConnectAndIdentify("9600");
  session->TBFactoryClick();
  EXPECT_TRUE(ReceiverGot("$PSRF101,0,0,0,96000,0,0,12,8*13"));
  EXPECT_EQ(session->State().LinkState, TLinkState::Auto);
  DetectUntilDone();
  EXPECT_EQ(session->State().LinkState, TLinkState::NMEA);
  EXPECT_EQ(session->CommGPS().BaudRate(), 38400u);
}

TEST_F(Commanded, SiRFRateChangeToEachRate) {
  StartReceiver(SimPersonality::SiRF, 9600);
  StartSession();
  ConnectAndIdentify("9600");
  const long queries = CountReceived("$PQXC,201*05");
  for (const std::string rate : {"4800", "19200", "38400", "57600", "115200", "9600"}) {
    view.gpsRate = rate;
    view.answers = {true};
    session->btnGPSBRApplyClick();
    ASSERT_TRUE(session->State().PortOpen) << rate;
    EXPECT_EQ(sim->Status().rate, std::stoi(rate)) << "the receiver switched at once";
    EXPECT_EQ(session->CommGPS().BaudRate(), static_cast<std::uint32_t>(std::stoi(rate)));
    EXPECT_EQ(view.panels[1], "GPS Baud Rate :" + rate);
    view.monitor.clear();
    Second();
    Second();
    EXPECT_EQ(session->State().LinkState, TLinkState::NMEA) << rate;
    EXPECT_GT(view.monitor.size(), 3u) << rate << ": sentences flow at the new rate";
    EXPECT_EQ(session->State().ReceiverKind, 1);
  }
  EXPECT_EQ(CountReceived("$PQXC,201*05"), queries) << "no new query after a rate change";
}

TEST_F(Commanded, TricklePowerShowsInPanel7) {
  StartReceiver(SimPersonality::SiRF, 9600);
  Edition edition;
  edition.TrickleButtonEnabled = true;
  StartSession(edition);
  ConnectAndIdentify("9600");
  EXPECT_EQ(view.panels[7], "[1000/1000]") << "normal mode, from the power query";
  session->TBTPClick();
  EXPECT_TRUE(ReceiverGot("$PQXC,200,2,400,1000,300000,30000"));
  for (int i = 0; i < 3 && view.panels[7] != "[400/1000]"; ++i) Second();
  EXPECT_EQ(view.panels[7], "[400/1000]");
}

TEST_F(Commanded, UBloxIdentifiesPollsRestartsAndIsGivenUpAfterItsSilenceLimit) {
  StartReceiver(SimPersonality::UBlox, 9600, [](SimOptions& o) {
    SlowFix(o);
    o.ubxRates = {1, 2, 1, 5, 1, 1, 0, 0, 0, 0, 0};
  });
  StartSession();
  ConnectAndIdentify("9600");
  EXPECT_EQ(session->State().ReceiverKind, 2);
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (ANTARIS ATR0620 HW 00040001_V:5.00    Jan 09)");
  for (std::uint8_t id : kPolledNMEAMessages) EXPECT_TRUE(ReceiverGot(BytesToHex(UBXMessageRatePoll(id))));
  for (int i = 0; i < 3 && session->State().UBXSilenceLimit == 10; ++i) Second();
  EXPECT_GE(view.TraceLineCount(4), 7) << "each CFG-MSG reply in the timing log";
  EXPECT_EQ(session->State().UBXSilenceLimit, 1) << "the smallest non-zero rate it reported";

  session->TBHotStartClick();
  EXPECT_TRUE(ReceiverGot("B56206040400000002001068"));
  ExpectFixLostAndRegained();
  // This receiver does not answer the port query: its rate stays, and the user is told.
  view.gpsRate = "19200";
  view.answers = {true};
  session->btnGPSBRApplyClick();
  EXPECT_TRUE(ReceiverGot("B562060000000618"));
  EXPECT_EQ(session->CommGPS().BaudRate(), 9600u);
  EXPECT_EQ(session->State().ReceiverKind, 2);
  EXPECT_EQ(view.dialogs.back().rfind("failure: The GPS receiver did not answer the port query", 0), 0u);

  sim->Stop();
  for (int i = 0; i < 4 && session->State().PortOpen; ++i) session->Tm1sTimer();
  EXPECT_FALSE(session->State().PortOpen) << "silent for longer than its limit";
  EXPECT_EQ(view.dialogs.size(), 2u) << "no silence warning, only the rate question and its failure";
  EXPECT_EQ(view.portListCheckMs, 2000);
}

// The receivers sold today name themselves, restart in their own words and change
// their rate for real; the port follows them to it.
struct TodaysReceiver {
  SimPersonality personality;
  std::string title;
  std::string coldStart;  // as the receiver recorded it
  std::string newRate;
};

void PrintTo(const TodaysReceiver& r, std::ostream* os) { *os << SimPersonalityName(r.personality); }

class TodaysReceivers : public Commanded, public ::testing::WithParamInterface<TodaysReceiver> {};

TEST_P(TodaysReceivers, IdentifyRestartAndChangeRate) {
  const TodaysReceiver& r = GetParam();
  StartReceiver(r.personality, 38400, [](SimOptions& o) {
    o.ttffCold = 1.5;  // long enough for a cycle without the fix
  });
  StartSession();
  ConnectAndIdentify("38400");
  EXPECT_EQ(view.title, "KELDAR Orlimo V:1.10 (" + r.title + ")");
  EXPECT_EQ(view.commandControls, "enabled");

  session->TBColdStartClick();
  EXPECT_TRUE(ReceiverGot(r.coldStart));
  ExpectFixLostAndRegained();

  view.gpsRate = r.newRate;
  view.answers = {true};
  session->btnGPSBRApplyClick();
  ASSERT_TRUE(session->State().PortOpen);
  view.monitor.clear();
  Second();
  Second();
  EXPECT_EQ(sim->Status().rate, std::stoi(r.newRate));
  EXPECT_EQ(session->State().LinkState, TLinkState::NMEA);
  EXPECT_EQ(view.panels[1], "GPS Baud Rate :" + r.newRate);
  EXPECT_GT(view.monitor.size(), 3u) << "sentences flow at the new rate";
}

INSTANTIATE_TEST_SUITE_P(
    Families, TodaysReceivers,
    ::testing::Values(TodaysReceiver{SimPersonality::UBlox8, "u-blox M8 SPG 3.01 PROTVER 18.00",
                                     "B56206040400FFFF02000E61", "115200"},
                      TodaysReceiver{SimPersonality::MediaTek, "MediaTek AXN_2.31_3339_13101700 PA6H",
                                     "$PMTK103*30", "57600"}),
    [](const auto& info) { return std::string(SimPersonalityName(info.param.personality)); });
INSTANTIATE_TEST_SUITE_P(HighRate, TodaysReceivers,
                         ::testing::Values(TodaysReceiver{SimPersonality::UBlox8, "u-blox M8 SPG 3.01 PROTVER 18.00",
                                                          "B56206040400FFFF02000E61", "460800"}),
                         [](const auto& info) { return std::string(SimPersonalityName(info.param.personality)); });

TEST_F(Commanded, ARateChangeTheReceiverIgnoresGoesBack) {
  StartReceiver(SimPersonality::UBlox8, 38400, [](SimOptions& o) { o.ignoresRateChange = true; });
  StartSession();
  ConnectAndIdentify("38400");
  view.gpsRate = "57600";
  view.answers = {true};
  session->btnGPSBRApplyClick();
  EXPECT_EQ(session->CommGPS().BaudRate(), 57600u);
  // The check counts only seconds that brought bytes; one may pass empty while the
  // port reopens.
  for (int i = 0; i < ReceiverRateChange::kRateCheckSeconds + 2 && session->CommGPS().BaudRate() != 38400u; ++i)
    Second();
  EXPECT_EQ(session->CommGPS().BaudRate(), 38400u);
  EXPECT_EQ(view.rate, "38400");
  EXPECT_EQ(view.dialogs.back(),
            "failure: The GPS receiver is not heard at 57600 bps: the port is back at 38400 bps.");
  Second();
  EXPECT_EQ(session->State().LinkState, TLinkState::NMEA);
  EXPECT_EQ(session->State().ReceiverKind, kUBloxReceiver);
}

}  // namespace
}  // namespace orlimo
