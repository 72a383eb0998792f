// The raw binary log: the frames of a receiver that sends them, byte for byte in a
// file beside the text log, named as it is, and played back by a replay.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "frames/frame_scan.h"
#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "nmea/sentence.h"
#include "session/file_places.h"
#include "sim/replay.h"
#include "sim/replay_stream.h"
#include "sim_session_fixture.h"

namespace orlimo {
namespace {

namespace fs = std::filesystem;

std::string MakeTempDir() {
  char name[] = "/tmp/orlimo-binlog-XXXXXX";
  return ::mkdtemp(name) != nullptr ? std::string(name) + "/" : std::string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::tm At(int second) {
  std::tm t{};
  t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 7, t.tm_hour = 10, t.tm_min = 30, t.tm_sec = second;
  return t;
}

// Each kind to its own file, whole frames only, the files of a run under one name,
// at a save as at the recovery of a run that died.
TEST_F(WithReceiver, FramesGoToFilesNamedLikeTheTextLog) {
  const std::string dir = MakeTempDir();
  ASSERT_FALSE(dir.empty());
  StartSession();
  RawDataLog& log = session->RawLog();
  log.SetPlaces(dir, At(0));
  log.SetClock([] { return At(0); });
  std::ofstream(dir + "NMEA_20261207-103000.ubx") << "another run's";
  session->TBStartLogClick();
  session->State().LinkState = TLinkState::NMEA;

  const std::string gga = "$GPGGA,103000.000,3730.2492,N,12702.8663,E,1,07,1.2,60.0,M,19.6,M,,0000";
  const std::string sentence = gga + NMEAChecksumSuffix(gga);
  const std::string ubx = BuildUBXFrame(0x01, 0x07, std::string(92, '\n'));
  std::string corrupt = BuildUBXFrame(0x01, 0x35, "payload");
  corrupt.back() ^= 1;
  const std::string sirf = BuildSiRFFrame(std::string("\x29") + std::string(90, '#'));
  const std::string bytes = sentence + "\r\n" + ubx + corrupt + sirf + ubx;
  for (std::size_t at = 0; at < bytes.size(); at += 37)  // frames split across chunks
    session->Pipeline().CommGPSReceiveData(bytes.data() + at, std::min<std::size_t>(37, bytes.size() - at));
  session->TBStartLogClick();

  const std::string stem = dir + "NMEA_20261207-103000-2";
  EXPECT_EQ(view.dialogs.back(), "confirm: " + stem + ".log and " + stem + ".ubx and " + stem + ".sirf were saved !");
  EXPECT_EQ(ReadFile(stem + ".log"), sentence + "\r\n");
  EXPECT_EQ(ReadFile(stem + ".ubx"), ubx + ubx);
  EXPECT_EQ(ReadFile(stem + ".sirf"), sirf);

  // A dead run's files: its frames are recovered beside its lines; a binary file
  // without a frame is not kept.
  std::ofstream(dir + "__tmp20261207-093000.tmp") << sentence << "\r\n";
  std::ofstream(dir + "__tmp20261207-093000.ubx.tmp") << ubx;
  std::ofstream(dir + "__tmp20261207-093000.sirf.tmp");
  std::ofstream(dir + "NMEA_20261207-093000.ubx") << "another run's";
  log.RecoverEarlierLogs();
  const std::string recovered = dir + "NMEA_20261207-093000-2";
  EXPECT_EQ(ReadFile(recovered + ".log"), sentence + "\r\n");
  EXPECT_EQ(ReadFile(recovered + ".ubx"), ubx);
  EXPECT_EQ(view.dialogs.back(),
            "information: Recovered the UBX log of an earlier run: " + recovered + ".ubx (100 bytes).");
  EXPECT_FALSE(fs::exists(dir + "__tmp20261207-093000.sirf.tmp"));
  EXPECT_FALSE(fs::exists(recovered + ".sirf"));
  fs::remove_all(dir);
}

// A UBX-only receiver at ten cycles a second, more than the once-a-second pass keeps,
// logged for a few seconds: the file holds nothing but whole frames with correct
// checksums, and played back at its pace it shows the live run's fix.
TEST_F(WithReceiver, UBXLogReplaysToTheLiveFix) {
  const std::string dir = MakeTempDir();
  ASSERT_FALSE(dir.empty());
  StartReceiver(SimPersonality::Ubx, 57600);
  StartSession();
  session->RawLog().SetPlaces(dir, LocalTimeNow());
  view.rate = "57600";
  session->TBOpenClick();
  for (int i = 0; i < 10 && !session->NMEAData().FixValid; ++i) Second();
  ASSERT_TRUE(session->NMEAData().FixValid);
  session->TBStartLogClick();
  for (int i = 0; i < 3; ++i) Second(1000);
  session->TBStartLogClick();
  const TGGARecord live = session->NMEAData().GGA;
  const int liveUsed = session->NMEAData().Sky.UsedCount();
  session->TBOpenClick();

  std::string path;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".ubx") path = e.path().string();
  ASSERT_FALSE(path.empty()) << view.dialogs.back();
  const std::string bytes = ReadFile(path);
  std::vector<std::uint32_t> times;  // of the NAV-PVT frames, ms of the week
  for (std::size_t at = 0; at < bytes.size();) {
    const TFoundFrame f = FindNextFrame(bytes, at);
    ASSERT_EQ(f.Offset, at) << "whole frames with correct checksums, nothing between them";
    ASSERT_EQ(f.Protocol, TFrameProtocol::UBX);
    if (UBXClass(f.Frame) == 0x01 && UBXId(f.Frame) == 0x07) {
      const std::string_view p = UBXPayload(f.Frame);
      times.push_back(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8 |
                      static_cast<unsigned char>(p[2]) << 16 | std::uint32_t{static_cast<unsigned char>(p[3])} << 24);
    }
    at += f.Frame.size();
  }
  ASSERT_GE(times.size(), 25u) << "three seconds at ten cycles a second";
  for (std::size_t i = 1; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], 100u) << "none lost, in order";

  std::string error, note;
  StartReceiver(SimPersonality::Ubx, 57600, [&](SimOptions& o) {
    ASSERT_TRUE(SetUpReplay(path, 57600, 1, o, error, note)) << error;
    const auto capture = ReplayStream::Open(path, error);
    ASSERT_TRUE(capture) << error;
    EXPECT_NEAR(capture->Interval(), 0.1, 1e-6) << "played at the pace it came";
  });
  StartSession();
  view.rate = "57600";
  session->TBOpenClick();
  for (int i = 0; i < 10 && !session->NMEAData().FixValid; ++i) Second();
  const TqvNMEA& replayed = session->NMEAData();
  EXPECT_TRUE(replayed.FixValid);
  EXPECT_EQ(view.panels[3], "UBX");
  EXPECT_NEAR(replayed.GGA.Latitude, live.Latitude, 1e-6);
  EXPECT_NEAR(replayed.GGA.Longitude, live.Longitude, 1e-6);
  EXPECT_EQ(replayed.GGA.Quality, live.Quality);
  EXPECT_EQ(replayed.Sky.UsedCount(), liveUsed);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orlimo
