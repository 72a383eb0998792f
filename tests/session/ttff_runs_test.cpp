// Time-to-first-fix runs on hand-fed sentences and a hand-set clock: the session is
// connected to a pty (the restarts go out there), the receiver's sentences go straight
// to the receive handler, and the passes and the runs' ticks are driven by the test.
#include <gtest/gtest.h>

#include "nmea/sentence.h"
#include "session_fixture.h"

namespace orlimo {
namespace {

std::string Sentence(std::string body) {
  body += NMEAChecksumSuffix(body);
  return body + "\r\n";
}
// GGA with or without a fix.
std::string Gga(bool fix) {
  return Sentence(std::string("$GPGGA,123519,4807.038,N,01131.000,E,") + (fix ? "1" : "0") +
                  ",08,0.9,545.4,M,46.9,M,,");
}

class TtffRunsTest : public SessionTest {
 protected:
  TtffRunsTest() {
    runs().SetClock([this] { return now; });
    runs().OnRunFinished([this](const TtffRun& r) { finished.push_back(r); });
    runs().OnFinished([this](const TtffSummary& s) { summaries.push_back(s); });
  }

  TtffRuns& runs() { return session.TtffRuns(); }

  // Connected to a receiver of `kind` that sends NMEA and has said what it is.
  void Identified(int kind) {
    Connect("9600");
    session.State().LinkState = TLinkState::NMEA;
    session.State().ReceiverKind = kind;
    session.State().VersionKnown = true;
    Sent();
  }

  // The receiver's bytes arrive at `ms` (a chunk, as the port delivers them).
  void Arrive(std::int64_t ms, const std::string& bytes) {
    now = ms;
    session.Pipeline().CommGPSReceiveData(bytes.data(), bytes.size());
  }
  // The once-a-second pass, then a tick of the runs, at `ms`.
  void PassAndTick(std::int64_t ms) {
    now = ms;
    session.Tm1sTimer();
    runs().Tick();
  }
  void TickAt(std::int64_t ms) {
    now = ms;
    runs().Tick();
  }
  std::string Sent() { return pty.Read(1 << 16, 200, 500).toStdString(); }

  std::int64_t now = 0;
  std::vector<TtffRun> finished;
  std::vector<TtffSummary> summaries;
};

TEST_F(TtffRunsTest, TimedFromTheCommandToTheFirstFixAfterTheOldOneWent) {
  Identified(kSiRFReceiver);
  Arrive(1000, Gga(true));
  PassAndTick(1000);
  // Just before the command the receiver lost and regained its fix; the pass decodes
  // that only after the command, which must not take it for the new fix.
  Arrive(1500, Gga(false) + Gga(true));

  now = 2000;
  ASSERT_TRUE(runs().Start({kColdStart, 1, 300'000, 10'000}));
  EXPECT_EQ(Sent(), "$PSRF101,0,0,0,96000,0,0,12,4*1F\r\n");
  Arrive(2300, Gga(true));  // sent before the receiver took the command: the old fix
  PassAndTick(2400);
  Arrive(2900, Gga(false));
  PassAndTick(3000);
  Arrive(20'000, Gga(false));
  PassAndTick(20'000);
  EXPECT_TRUE(runs().Running());
  EXPECT_TRUE(finished.empty());

  // The fix comes in a chunk delivered 100 ms after its line end: 96 more bytes at 9600 bit/s.
  const std::string tail = Sentence("$GPGSV,1,1,01,05,40,083,46" + std::string(65, '0'));
  ASSERT_EQ(tail.size(), 96u);
  Arrive(32'300, Gga(true) + tail);
  PassAndTick(33'000);
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(finished[0].number, 1);
  ASSERT_TRUE(finished[0].seconds);
  EXPECT_DOUBLE_EQ(*finished[0].seconds, 30.2);  // (32'300 - 100 - 2000) / 1000
  EXPECT_FALSE(runs().Running());
  ASSERT_EQ(summaries.size(), 1u);
  EXPECT_EQ(summaries[0].runs, 1);
  EXPECT_EQ(summaries[0].fixed, 1);
  EXPECT_EQ(runs().StopReason(), "");
  // The restart's own first-fix measurement (panel 5) still ran beside it.
  EXPECT_EQ(view.panels[5].rfind("Fix after :", 0), 0u) << view.panels[5];
}

TEST_F(TtffRunsTest, ATimeOutIsAFailureAndThePauseComesBeforeTheNextRestart) {
  Identified(kSiRFReceiver);
  now = 0;
  ASSERT_TRUE(runs().Start({kHotStart, 2, 5'000, 1'000}));
  EXPECT_EQ(Sent(), "$PSRF101,0,0,0,96000,0,0,12,1*1A\r\n");
  Arrive(500, Gga(false));
  PassAndTick(600);
  // A fix before the time-out is still awaited while a pass may not have decoded it.
  TickAt(5'000 + TtffRuns::kDecodeLagMs - 1);
  EXPECT_TRUE(finished.empty());
  TickAt(5'000 + TtffRuns::kDecodeLagMs);
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_FALSE(finished[0].seconds);

  const std::int64_t ended = now;
  TickAt(ended + 999);
  EXPECT_EQ(Sent(), "") << "still pausing";
  TickAt(ended + 1000);
  EXPECT_EQ(Sent(), "$PSRF101,0,0,0,96000,0,0,12,1*1A\r\n");
  // A fix that came after the time-out does not count either.
  Arrive(ended + 1000 + 5'001, Gga(true));
  PassAndTick(ended + 1000 + 5'100);
  ASSERT_EQ(finished.size(), 2u);
  EXPECT_FALSE(finished[1].seconds);
  ASSERT_EQ(summaries.size(), 1u);
  EXPECT_EQ(summaries[0].runs, 2);
  EXPECT_EQ(summaries[0].fixed, 0);
  EXPECT_FALSE(summaries[0].median);
}

TEST_F(TtffRunsTest, CancelStopsAfterTheCurrentRun) {
  Identified(kSiRFReceiver);
  now = 0;
  ASSERT_TRUE(runs().Start({kColdStart, 3, 300'000, 1'000}));
  Sent();
  runs().Cancel();
  EXPECT_TRUE(runs().Running()) << "the run that is going is finished";
  Arrive(4'000, Gga(false) + Gga(true));
  PassAndTick(4'100);
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_DOUBLE_EQ(finished[0].seconds.value_or(0), 4.0);
  EXPECT_FALSE(runs().Running());
  EXPECT_EQ(runs().StopReason(), "cancelled");
  EXPECT_EQ(summaries.size(), 1u);
  TickAt(10'000);
  EXPECT_EQ(Sent(), "") << "no further restart";

  // During the pause the runs end at once.
  ASSERT_TRUE(runs().Start({kColdStart, 3, 300'000, 1'000}));
  Arrive(12'000, Gga(false) + Gga(true));
  PassAndTick(12'100);
  ASSERT_EQ(finished.size(), 2u);
  runs().Cancel();
  EXPECT_FALSE(runs().Running());
  EXPECT_EQ(summaries.size(), 2u);
  EXPECT_EQ(summaries[1].runs, 1);
}

TEST_F(TtffRunsTest, RefusesWhatCannotBeTimed) {
  std::string why;
  EXPECT_FALSE(runs().Start({kColdStart, 1, 300'000, 10'000}, &why));
  EXPECT_EQ(why, "the port is not open");

  // A receiver that did not say what it is would be sent nothing: no run, no fake fix.
  Identified(kUnknownReceiver);
  EXPECT_FALSE(runs().Start({kColdStart, 1, 300'000, 10'000}, &why));
  EXPECT_NE(why.find("known receiver family"), std::string::npos) << why;
  EXPECT_FALSE(runs().Running());
  EXPECT_EQ(Sent(), "");

  session.State().ReceiverKind = kSiRFReceiver;
  EXPECT_FALSE(runs().Start({kColdStart, 0, 300'000, 10'000}, &why));
  session.State().LinkState = TLinkState::SiRF;
  EXPECT_FALSE(runs().Start({kColdStart, 1, 300'000, 10'000}, &why));
  EXPECT_NE(why.find("NMEA"), std::string::npos) << why;
  EXPECT_TRUE(finished.empty());
  EXPECT_TRUE(summaries.empty());
}

// The runs restart through the family's own commands (their bytes are tested with
// the families).
TEST_F(TtffRunsTest, RestartsGoOutInTheFamilysWords) {
  Identified(kMediaTekReceiver);
  ASSERT_TRUE(runs().Start({kWarmStart, 1, 1'000, 0}));
  EXPECT_EQ(Sent(), "$PMTK102*31\r\n");
}

}  // namespace
}  // namespace orlimo
