// The session against the simulated receiver on a pty, for real: what the session
// recognises comes out of the receiver's bytes on the line, at its true rate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "nmea/sentence.h"
#include "session/file_places.h"
#include "sim_session_fixture.h"

namespace orlimo {
namespace {

TEST_F(WithReceiver, ConnectAtItsRateShowsNMEAAndTheFix) {
  StartReceiver(SimPersonality::SiRF, 9600);
  StartSession();
  view.rate = "9600";
  session->TBOpenClick();
  ASSERT_TRUE(session->State().PortOpen);
  Second();
  EXPECT_EQ(session->State().LinkState, TLinkState::NMEA);
  EXPECT_EQ(view.panels[1], "GPS Baud Rate :9600");
  EXPECT_EQ(view.panels[3], "NMEA");
  EXPECT_EQ(view.panels[4].rfind(" Rx(Bps):", 0), 0u);
  for (int i = 0; i < 6 && view.panels[5].rfind("Fix after :", 0) != 0; ++i) Second();
  EXPECT_EQ(view.panels[5].rfind("Fix after :", 0), 0u) << view.panels[5];
  EXPECT_NEAR(session->NMEAData().GGA.Latitude, 37.504, 0.01);
  EXPECT_GT(view.monitor.size(), 10u);
}

class DetectsRate : public WithReceiver, public ::testing::WithParamInterface<int> {};

TEST_P(DetectsRate, FromAWrongRateToNMEA) {
  const int rate = GetParam();
  StartReceiver(SimPersonality::SiRF, rate);
  StartSession();
  view.rate = rate == 9600 ? "4800" : "9600";
  session->TBOpenClick();
  ASSERT_TRUE(session->State().PortOpen);
  session->TBAutoSyncClick();
  ASSERT_EQ(session->State().LinkState, TLinkState::Auto);
  DetectUntilDone();
  ASSERT_EQ(session->State().LinkState, TLinkState::NMEA) << view.PanelText(1);
  EXPECT_EQ(session->State().DetectedBaudRate, rate);
  EXPECT_EQ(session->CommGPS().BaudRate(), static_cast<std::uint32_t>(rate));
  EXPECT_EQ(view.rate, std::to_string(rate));
  EXPECT_EQ(view.panels[1], "GPS Baud Rate :" + std::to_string(rate));
  view.monitor.clear();
  Second();
  Second();
  EXPECT_GT(view.monitor.size(), 3u) << "sentences flow at the detected rate";
}

INSTANTIATE_TEST_SUITE_P(SixRates, DetectsRate, ::testing::Values(4800, 9600, 19200, 38400, 57600, 115200));
// Above them, heard at 921600 after the six have been tried.
INSTANTIATE_TEST_SUITE_P(HighRate, DetectsRate, ::testing::Values(460800));

TEST_F(WithReceiver, GarbageForThreeSecondsStartsTheDetectionByItself) {
  StartReceiver(SimPersonality::SiRF, 38400);
  StartSession();
  view.rate = "9600";
  session->TBOpenClick();
  for (int i = 0; i < 6 && session->State().LinkState == TLinkState::Unknow; ++i) Second();
  ASSERT_EQ(session->State().LinkState, TLinkState::Auto) << "no button pressed";
  DetectUntilDone();
  ASSERT_EQ(session->State().LinkState, TLinkState::NMEA);
  EXPECT_EQ(session->State().DetectedBaudRate, 38400);
  for (int i = 0; i < 8 && !session->NMEAData().FixValid; ++i) Second();
  ASSERT_TRUE(session->NMEAData().FixValid);

  // Told behind the session's back, the receiver moves to 9600: what it then sends
  // is garbage at the port's rate, and the old fix must not stay on show.
  const std::string command = "$PSRF100,1,9600,8,1,0";
  const std::string line = command + NMEAChecksumSuffix(command) + "\r\n";
  ASSERT_TRUE(session->CommGPS().WriteData(line.data(), line.size()));
  for (int i = 0; i < 12 && session->State().LinkState == TLinkState::NMEA; ++i) Second();
  ASSERT_EQ(session->State().LinkState, TLinkState::Auto);
  EXPECT_FALSE(session->NMEAData().FixValid);
  DetectUntilDone();
  EXPECT_EQ(session->State().LinkState, TLinkState::NMEA);
  EXPECT_EQ(session->State().DetectedBaudRate, 9600);
}

// Detection seconds that end on what they wait for, not after a time, so that a busy
// machine cannot end one early: the receiver has sent a whole burst at the rate the
// port now listens at (it saw the rate before the burst began), and every byte it put
// on the line since it saw the rate has arrived.
// A receiver that speaks only binary is shown as an NMEA one: position, fix, speed,
// course and satellites, the link state naming its protocol, the first fix timed.
class BinaryReceiver : public WithReceiver, public ::testing::WithParamInterface<SimPersonality> {};

TEST_P(BinaryReceiver, ShowsTheScenarioLikeAnNMEAOne) {
  StartReceiver(GetParam(), 9600, [](SimOptions& o) {
    o.scenario.speedKnots = 20;
    o.scenario.courseDeg = 135;
  });
  StartSession();
  view.rate = "9600";
  session->TBOpenClick();
  view.answers = {false};  // SiRF: stay in binary
  for (int i = 0; i < 10 && view.panels[5].rfind("Fix after :", 0) != 0; ++i) Second();
  EXPECT_EQ(view.panels[5].rfind("Fix after :", 0), 0u) << view.panels[5];
  EXPECT_TRUE(session->State().PortOpen);
  const bool ubx = GetParam() == SimPersonality::Ubx;
  EXPECT_EQ(view.panels[3], ubx ? "UBX" : "SiRF");
  EXPECT_LE(view.dialogs.size(), 1u) << "the switch is offered once";
  const TqvNMEA& n = session->NMEAData();
  EXPECT_TRUE(n.FixValid);
  EXPECT_NEAR(n.GGA.Latitude, 37.50415, 1e-3);
  EXPECT_NEAR(n.GGA.Longitude, 127.04777, 1e-3);
  EXPECT_NEAR(n.RMC.SpeedKnots, 20, 0.5);
  EXPECT_NEAR(n.RMC.Course, 135, 2);
  EXPECT_GE(n.Sky.Satellites().size(), 4u);
  EXPECT_GE(n.Sky.UsedCount(), 4);
  EXPECT_TRUE(std::any_of(view.frameLines.begin(), view.frameLines.end(), [&](const std::string& line) {
    return line.rfind(ubx ? "UBX NAV-PVT 3D" : "SiRF 41 3D", 0) == 0;
  }));
}

INSTANTIATE_TEST_SUITE_P(UBXAndSiRF, BinaryReceiver, ::testing::Values(SimPersonality::Ubx, SimPersonality::SiRFBinary),
                         [](const auto& info) { return info.param == SimPersonality::Ubx ? "UBX" : "SiRF"; });

class DetectsBinary : public WithReceiver, public ::testing::WithParamInterface<int> {
 protected:
  void CountReceived() {
    QObject::connect(&session->CommGPS(), &ITransport::OnReceiveData,
                     [this](const QByteArray& chunk) { received += chunk.size(); });
  }
  void DataSecond() {
    const auto port = static_cast<int>(session->CommGPS().BaudRate());
    ASSERT_TRUE(test::SpinUntil([&] { return sim->Status().hostRate == port; }));
    const SimStatus seen = sim->Status();
    received = 0;
    ASSERT_TRUE(test::SpinUntil([&] { return sim->Status().counters.cycles >= seen.counters.cycles + 2; }));
    const long long sent = sim->Status().bytesToHost - seen.bytesToHost;
    ASSERT_TRUE(test::SpinUntil([&] { return received >= sent; }));
    session->Tm1sTimer();
  }
  long long received = 0;
};

TEST_P(DetectsBinary, SiRFBinaryStream) {
  const int rate = GetParam();
  StartReceiver(SimPersonality::SiRFBinary, rate);
  StartSession();
  CountReceived();
  view.rate = "38400";
  session->TBOpenClick();
  session->TBAutoSyncClick();
  for (int i = 0; i < 12 && !HasFatalFailure() && session->State().LinkState == TLinkState::Auto; ++i) DataSecond();
  EXPECT_EQ(session->State().LinkState, TLinkState::SiRF);
  EXPECT_EQ(session->State().DetectedBaudRate, rate);
}

INSTANTIATE_TEST_SUITE_P(TableRates, DetectsBinary, ::testing::Values(4800, 9600, 57600));

TEST_F(WithReceiver, SiRFBinaryReceiverIsSwitchedToNMEA) {
  StartReceiver(SimPersonality::SiRFBinary, 9600);
  StartSession();
  view.rate = "9600";
  session->TBOpenClick();
  Second();
  ASSERT_EQ(session->State().LinkState, TLinkState::SiRF);
  view.answers = {true};
  Second();
  EXPECT_EQ(view.dialogs.back().rfind("ask: GPS is in SiRF Binary mode.", 0), 0u);
  ASSERT_TRUE(test::SpinUntil([&] { return sim->Status().counters.lastRestartKind == 8; }))
      << "the receiver checked and obeyed the factory-default frame";
  EXPECT_EQ(session->State().LinkState, TLinkState::Auto);
  DetectUntilDone();
  EXPECT_EQ(session->State().LinkState, TLinkState::NMEA);
  EXPECT_EQ(session->State().DetectedBaudRate, sim->Status().rate);
}

TEST_F(WithReceiver, SilentReceiverIsGivenUpOnce) {
  StartReceiver(SimPersonality::Silent, 9600);
  StartSession();
  view.rate = "9600";
  session->TBOpenClick();
  for (int i = 0; i < 12; ++i) Second(20);
  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs[0], "warning: Can not receive data from " + view.port +
                                 " !!\r\n\r\nPlease change another COM Port and try again !\r\n");
  EXPECT_FALSE(session->State().PortOpen);
}

TEST_F(WithReceiver, UnpluggedReceiverEndsTheConnection) {
  StartReceiver(SimPersonality::SiRF, 9600);
  StartSession();
  view.rate = "9600";
  session->TBOpenClick();
  Second();
  ASSERT_EQ(session->State().LinkState, TLinkState::NMEA);
  sim->Stop();  // the receiver's side of the line is gone: at once, not after the silence
  ASSERT_TRUE(test::SpinUntil([&] { return !session->State().PortOpen; }, 2000));
  EXPECT_EQ(view.dialogs.back(), "warning: " + view.port + " was disconnected: the device is gone or its line was hung up !");
  // A new connection attempt to the vanished port fails cleanly.
  session->TBOpenClick();
  EXPECT_FALSE(session->State().PortOpen);
}

}  // namespace
}  // namespace orlimo

namespace orlimo {
namespace {

// A fast line: the once-a-second pass keeps only the last 4096 bytes of what came, but
// the log gets every sentence, in order.
TEST_F(WithReceiver, FastLineLogsEverySentence) {
  StartReceiver(SimPersonality::SiRF, 115200);  // ten cycles a second
  StartSession();
  char name[] = "/tmp/orlimo-fast-XXXXXX";
  ASSERT_NE(::mkdtemp(name), nullptr);
  const std::string dir = std::string(name) + "/";
  session->RawLog().SetPlaces(dir, LocalTimeNow());
  view.rate = "115200";
  session->TBOpenClick();
  session->TBStartLogClick();
  for (int i = 0; i < 3; ++i) Second(1000);
  session->TBOpenClick();
  session->TBStartLogClick();
  std::string log;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(e.path(), std::ios::binary);
    log.assign(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::remove_all(dir);

  // One GGA a cycle, their times a tenth of a second apart with none missing.
  std::vector<double> times;
  std::size_t lines = 0;
  for (std::size_t at = 0, end; (end = log.find("\r\n", at)) != std::string::npos; at = end + 2, ++lines) {
    const std::string line = log.substr(at, end - at);
    ASSERT_TRUE(IsValidSentence(line)) << line;
    if (line.rfind("$GPGGA,", 0) == 0) {
      times.push_back(std::stoi(line.substr(7, 2)) * 3600 + std::stoi(line.substr(9, 2)) * 60 +
                      std::stod(line.substr(11, 6)));
    }
  }
  ASSERT_GE(times.size(), 25u) << "three seconds at ten cycles a second";
  for (std::size_t i = 1; i < times.size(); ++i) {
    const double step = times[i] - times[i - 1];
    EXPECT_TRUE(std::abs(step - 0.1) < 0.002 || std::abs(step + 86399.9) < 0.002) << i << ": " << step;
  }
  EXPECT_GT(lines, view.monitor.size()) << "the display drops what the log keeps";
  std::printf("fast line: %zu cycles, %zu sentences logged, %zu shown\n", times.size(), lines, view.monitor.size());
}

}  // namespace
}  // namespace orlimo
