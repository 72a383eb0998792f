// Replays the captures of real receivers through the pipeline and the decoder, and
// checks the decoded positions against what another decoder made of the same lines.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <regex>

#include "nmea/sentence.h"
#include "pipeline_fixture.h"
#include "session/session.h"

namespace orlimo {
namespace {

namespace fs = std::filesystem;

fs::path LogsDir() { return fs::path(ORLIMO_TESTDATA_DIR) / "receiver-logs"; }

// The capture format opens with '#' comment lines; the rest is what the receiver
// sent, though many captures were stored with bare LF line ends: a receiver ends its
// sentences with CR LF, so the CR is put back.
std::string ReceiverBytes(const fs::path& log) {
  const std::string file = ReadFile(log.string());
  std::size_t start = 0;
  while (start < file.size() && file[start] == '#') {
    const std::size_t eol = file.find('\n', start);
    start = eol == std::string::npos ? file.size() : eol + 1;
  }
  std::string bytes;
  for (std::size_t i = start; i < file.size(); ++i) {
    if (file[i] == '\n' && (i == start || file[i - 1] != '\r')) bytes.push_back('\r');
    bytes.push_back(file[i]);
  }
  return bytes;
}

TEST(ReplayLogs, EveryCaptureDecodesSensibly) {
  if (!fs::is_directory(LogsDir())) GTEST_SKIP() << "no receiver logs at " << LogsDir();
  int logs = 0;
  for (const auto& entry : fs::directory_iterator(LogsDir())) {
    if (entry.path().extension() != ".log") continue;
    ++logs;
    const std::string bytes = ReceiverBytes(entry.path());
    PipelineRig rig;
    // About a second of a 9600 bit/s line per pass, in reader-sized chunks.
    for (std::size_t at = 0; at < bytes.size(); at += 100) {
      rig.Feed(std::string_view(bytes).substr(at, 100));
      if (at % 1000 == 900) rig.pipeline.ProcessRxBuffer();
    }
    rig.pipeline.ProcessRxBuffer();

    const auto expected = ValidLines(bytes);
    const std::size_t accepted = rig.view.monitor.size();
    const std::string name = entry.path().filename().string();
    // Noise ahead of the first line of a pass may be skipped, so a pass can take one
    // line the strict per-line test refuses; it never loses a valid line.
    EXPECT_GE(accepted, expected.size()) << name;
    EXPECT_LE(accepted, expected.size() + bytes.size() / 1000 + 1) << name;
    for (const std::string& line : rig.view.monitor) EXPECT_TRUE(IsValidSentence(line)) << name;
    if (name.rfind("bu303", 0) != 0 && name != "ublox-aek-4t.log" && name != "ublox-zed-f9p-hp.log") {
      EXPECT_GT(accepted, 5u) << name << " is an NMEA capture";
    }
  }
  EXPECT_GE(logs, 20);
}

// The binary captures, played as they were received through the pipeline, end on the
// position that another decoder made of them (to 1e-5 degrees: SiRF message 41's
// resolution), and every frame shows in the monitor.
TEST(ReplayLogs, BinaryCapturesEndWhereTheReferenceDecoderDoes) {
  if (!fs::is_directory(LogsDir())) GTEST_SKIP() << "no receiver logs at " << LogsDir();
  const std::regex latlon("\"lat\":(-?[0-9.]+),\"lon\":(-?[0-9.]+)");
  for (const char* name : {"ublox-zed-f9p-hp.log", "bu303-moving.log"}) {
    const std::string bytes = ReadFile((LogsDir() / name).string());
    PipelineRig rig;
    for (std::size_t at = 0; at < bytes.size(); at += 100) {
      rig.Feed(std::string_view(bytes).substr(at, 100));
      if (at % 1000 == 900) rig.pipeline.ProcessRxBuffer();
    }
    rig.pipeline.ProcessRxBuffer();
    const std::string chk = ReadFile((LogsDir() / (std::string(name) + ".chk")).string());
    std::smatch last;
    for (auto it = std::sregex_iterator(chk.begin(), chk.end(), latlon); it != std::sregex_iterator(); ++it) last = *it;
    ASSERT_FALSE(last.empty()) << name;
    EXPECT_TRUE(rig.nmea.FixValid) << name;
    EXPECT_NEAR(rig.nmea.GGA.Latitude, std::stod(last[1]), 1e-5) << name;
    EXPECT_NEAR(rig.nmea.GGA.Longitude, std::stod(last[2]), 1e-5) << name;
    EXPECT_GT(rig.view.frameLines.size(), 10u) << name;
    EXPECT_EQ(rig.pipeline.Statistics.Accepted(), rig.pipeline.FramesTaken + rig.view.monitor.size()) << name;
  }
}

// The captures that carry a u-blox banner identify the receiver through the session's
// own scanners, with a title that reads as text; nothing else identifies, as no
// capture answers the SiRF version query ("GSW" alone is not enough).
TEST(ReplayLogs, OnlyTheUBloxBannersIdentifyAReceiver) {
  if (!fs::is_directory(LogsDir())) GTEST_SKIP() << "no receiver logs at " << LogsDir();
  const std::map<std::string, std::pair<int, std::string>> expected = {
      {"bt451.log", {kANTARISReceiver, "KELDAR Orlimo V:1.10 (ANTARIS ATR062x HW 80040001_V:5.00)"}},
      {"ublox-aek-4t.log", {kANTARISReceiver, "KELDAR Orlimo V:1.10 (ANTARIS ATR062x HW 00040001_V:)"}},
      {"nl2008u.log", {kUBloxReceiver, "KELDAR Orlimo V:1.10 (u-blox M8 ROM CORE 2.01 (75331) PROTVER 15.00)"}},
  };
  std::size_t identified = 0;
  for (const auto& entry : fs::directory_iterator(LogsDir())) {
    if (entry.path().extension() != ".log") continue;
    const std::string name = entry.path().filename().string();
    const std::string bytes = ReceiverBytes(entry.path());
    FakeSessionView view;
    SessionOptions options;
    options.manualTicks = true;
    TSession session(view, options);
    SessionState& s = session.State();
    s.LinkState = TLinkState::NMEA;
    for (std::size_t at = 0; at < bytes.size(); at += 1000) {
      s.VersionQueryPending = !s.VersionKnown;  // the supervisor keeps asking
      session.Pipeline().CommGPSReceiveData(bytes.data() + at, std::min<std::size_t>(1000, bytes.size() - at));
      session.Pipeline().ProcessRxBuffer();
    }
    const auto it = expected.find(name);
    if (it == expected.end()) {
      EXPECT_EQ(s.ReceiverKind, 0) << name;
      EXPECT_EQ(view.title, "") << name;
      continue;
    }
    ++identified;
    EXPECT_EQ(s.ReceiverKind, it->second.first) << name;
    EXPECT_EQ(view.title, it->second.second) << name;
    EXPECT_EQ(view.traces[1].size(), 7u) << name << ": the seven rate polls";
  }
  EXPECT_EQ(identified, expected.size());
}

// Another decoder's output lists each sentence, then the fix it made of it. For RMC
// sentences with a valid fix the position must agree with ours.
TEST(ReplayLogs, PositionsAgreeWithTheReferenceDecoder) {
  if (!fs::is_directory(LogsDir())) GTEST_SKIP() << "no receiver logs at " << LogsDir();
  const std::regex latlon("\"lat\":(-?[0-9.]+),\"lon\":(-?[0-9.]+)");
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(LogsDir())) {
    if (entry.path().extension() != ".chk") continue;
    const std::string chk = ReadFile(entry.path().string());
    std::istringstream in(chk);
    std::string line, previous;
    while (std::getline(in, line)) {
      std::smatch m;
      if (previous.find("RMC,") != std::string::npos && line.find("\"class\":\"TPV\"") != std::string::npos &&
          std::regex_search(line, m, latlon)) {
        TqvNMEA nmea;
        TSentenceType type;
        if (nmea.DecodeSentence(previous, type) && type == stRMC && nmea.RMC.Status == 'A') {
          EXPECT_NEAR(nmea.RMC.Latitude, std::stod(m[1]), 1e-6) << previous;
          EXPECT_NEAR(nmea.RMC.Longitude, std::stod(m[2]), 1e-6) << previous;
          ++compared;
        }
      }
      previous = line;
    }
  }
  EXPECT_GT(compared, 20);
}

}  // namespace
}  // namespace orlimo
