// Captures cut into output cycles, and the pace the receiver plays them at.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "frames/hex.h"
#include "nmea/sentence.h"
#include "sim/receiver_core.h"
#include "sim/replay.h"
#include "sim/replay_stream.h"

namespace orlimo {
namespace {

namespace fs = std::filesystem;

std::string WithoutCR(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  return s;
}

TEST(Replay, AnEpochOfSeveralSystemsAndSignalsIsOneCycle) {
  // Two GSAs (one a system), GPS GSVs of two signals, GSVs only every few epochs.
  const auto epoch = [](int s, bool gsv) {
    const std::string t = "12000" + std::to_string(s) + ".00";
    std::string e = "$GNRMC," + t + ",A\r\n$GNGGA," + t + ",1\r\n$GNGSA,A,3,01\r\n$GNGSA,A,3,67\r\n";
    if (gsv) e += "$GPGSV,1,1,04,01,1\r\n$GPGSV,1,1,04,01,6\r\n$GLGSV,1,1,02,67,1\r\n";
    return e + "$GNGLL,4404.1,N,12118.8,W," + t + ",A\r\n";
  };
  const std::vector<std::string> epochs = {epoch(1, true), epoch(2, false), epoch(3, false), epoch(4, true)};
  std::string stream;
  for (const std::string& e : epochs) stream += e;
  EXPECT_EQ(SplitIntoCycles(stream), epochs);
  EXPECT_EQ(CaptureInterval(epochs), 1.0);
}

TEST(Replay, WhatComesBeforeAnEpochsTimeStartsItsCycle) {
  // A 2 Hz receiver that sends its satellites first.
  const auto epoch = [](const char* t) {
    return "$GPGSV,1,1,01,05\r\n$GPGSA,A,3,05\r\n$GPGGA," + std::string(t) + "\r\n$GPRMC," + t + ",A\r\n";
  };
  const std::vector<std::string> epochs = {epoch("235959.00"), epoch("235959.50"), epoch("000000.00")};
  EXPECT_EQ(SplitIntoCycles(epochs[0] + epochs[1] + epochs[2]), epochs);
  EXPECT_EQ(CaptureInterval(epochs), 0.5);  // across midnight too
}

TEST(Replay, NoCycleGrowsWithTheFile) {
  // A line that never ends and a run of junk: the line is at most a cycle at a time.
  const std::string stream = "$GPRMC,000001.00,A\r\n" + std::string(300000, '$') + std::string(300000, 'x');
  std::string joined;
  for (const std::string& c : SplitIntoCycles(stream)) {
    EXPECT_LE(c.size(), 65536u);
    joined += c;
  }
  EXPECT_EQ(joined, stream);
}

TEST(Replay, CapturesOfSeveralSystemsPlayOneCycleAnEpoch) {
  for (const char* name :
       {"neo-m8n.log", "sirfstarv-nmea.log", "ublox-zed-f9p-nmea.log", "beidou-gb.log", "nl2008u.log"}) {
    const fs::path path = fs::path(ORLIMO_TESTDATA_DIR) / "receiver-logs" / name;
    if (!fs::exists(path)) GTEST_SKIP() << "no captures at " << path;
    const auto cycles = LoadReplay(path);
    ASSERT_TRUE(cycles) << name;
    std::string joined;
    for (std::size_t i = 0; i < cycles->size(); ++i) {
      const std::string& c = (*cycles)[i];
      std::size_t rmc = 0;
      for (std::size_t at = 0; (at = c.find("RMC,", at)) != std::string::npos; ++at) ++rmc;
      // The first cycle may be the tail of an epoch whose start was not captured.
      EXPECT_TRUE(rmc == 1 || (i == 0 && rmc == 0)) << name << " cycle " << i << ":\n" << c;
      joined += c;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string raw{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(WithoutCR(joined), WithoutCR(StripCaptureComments(raw))) << name;
    EXPECT_EQ(CaptureInterval(*cycles), 1.0) << name;
  }
}

TEST(Replay, FilesThatCannotBePlayedSayWhy) {
  const fs::path dir = fs::path(testing::TempDir()) / "replay-files";
  fs::create_directories(dir);
  std::mt19937 rng(5);
  std::string junk(4096, '\0');
  for (char& c : junk) c = static_cast<char>(rng());
  const std::vector<std::pair<std::string, std::string>> files = {
      {"empty.log", ""}, {"comments.log", "# Name: x\n#\n"}, {"junk.bin", junk}};
  for (const auto& [name, bytes] : files) std::ofstream(dir / name, std::ios::binary) << bytes;
  std::ofstream(dir / "huge.log").close();
  fs::resize_file(dir / "huge.log", kReplayFileLimit + 1);  // sparse: nothing to read
  for (const auto& [name, reason] : std::vector<std::pair<std::string, std::string>>{
           {"empty.log", "is empty"}, {"comments.log", "holds no NMEA sentence"}, {"junk.bin", "holds no NMEA"},
           {"huge.log", "larger than 64 MiB"}, {"none.log", "does not exist"}, {"", "is a folder"}}) {
    std::string why;
    EXPECT_FALSE(LoadReplay((dir / name).string(), why)) << name;
    EXPECT_NE(why.find(reason), std::string::npos) << why;
    EXPECT_NE(why.find((dir / name).string()), std::string::npos) << why;
  }
  fs::remove_all(dir);
}

TEST(Replay, ALargeCaptureIsPlayedFromItsFileInBoundedMemory) {
  // 2 MB of the smallest SiRF frames, a cycle each: the first joins the second (it
  // brings another message), after that each repeat begins a cycle.
  const std::string first = HexToBytes("A0A2000104" "0004B0B3").value();
  const std::string frame = HexToBytes("A0A2000102" "0002B0B3").value();
  constexpr std::size_t kFrames = 250000;
  const fs::path path = fs::path(testing::TempDir()) / "large-capture.bin";
  {
    std::ofstream out(path, std::ios::binary);
    out << "# Name: generated\n" << first;
    for (std::size_t i = 0; i < kFrames; ++i) out << frame;
  }
  SimOptions o;
  std::string error, note;
  ASSERT_TRUE(SetUpReplay(path.string(), 0, 1, o, error, note)) << error;
  EXPECT_EQ(o.rate, 9600);
  EXPECT_EQ(note, "");
  auto opened = ReplayStream::Open(path.string(), error);
  ASSERT_TRUE(opened) << error;
  ReplayStream& stream = *opened;
  ReceiverCore core(o, 0, std::move(opened));
  EXPECT_EQ(core.Due(0), first + frame);  // the first cycle at once
  // The rest of the file, then its start again.
  std::size_t same = 0;
  for (std::size_t i = 1; i < kFrames; ++i) same += stream.Next() == frame;
  EXPECT_EQ(same, kFrames - 1);
  EXPECT_EQ(stream.Next(), first + frame);
  // What it read a piece at a time, never the file.
  EXPECT_LE(stream.MostHeld(), std::size_t{256} << 10);
  fs::remove(path);
}

// Cycles sent in `seconds` of 10 ms ticks, and the bytes they made.
int CyclesIn(ReceiverCore& core, double seconds, std::string* out = nullptr) {
  for (int k = 0; k < seconds * 100; ++k) {
    const std::string bytes = core.Due(k / 100.0);
    if (out) *out += bytes;
  }
  return core.Counters().cycles;
}

TEST(ReplayPace, SpeedPlaysCyclesThatManyTimesAsOften) {
  const std::vector<std::string> cycles = {"$GPRMC,000001.00,A\r\n", "$GPRMC,000002.00,A\r\n"};
  SimOptions o;
  for (int speed : {1, 4, 16}) {
    o.replaySpeed = speed;
    ReceiverCore core(o, 0, cycles);
    EXPECT_EQ(CyclesIn(core, 10), 10 * speed) << speed;
  }
  o.replaySpeed = 2;
  o.replayInterval = 0.2;  // gpssim's --hz 5
  ReceiverCore hz(o, 0, cycles);
  EXPECT_EQ(CyclesIn(hz, 10), 100);
}

TEST(ReplayPace, ACycleTooLongForTheLineStretchesAndLosesNothing) {
  const std::vector<std::string> cycles = {"$GPRMC,000001.00,A," + std::string(1000, 'x') + "\r\n",
                                           "$GPRMC,000002.00,A," + std::string(1000, 'y') + "\r\n"};
  SimOptions o;
  o.rate = 4800;
  ReceiverCore core(o, 0, cycles);
  std::string out;
  // Each takes 2.35 s of the line: they go out at 0, 2.35, 4.7, 7.05 and 9.4 s.
  EXPECT_EQ(CyclesIn(core, 10, &out), 5);
  EXPECT_EQ(out, cycles[0] + cycles[1] + cycles[0] + cycles[1] + cycles[0]);

  EXPECT_EQ(ReplayRate(cycles, 1), 19200);
  EXPECT_EQ(ReplayRate(cycles, 16), 115200);  // none keeps that pace: the fastest
  EXPECT_EQ(ReplayPaceNote(cycles, 19200, 1), "");
  const std::string note = ReplayPaceNote(cycles, 9600, 1);
  EXPECT_NE(note.find("2 of its 2 cycles"), std::string::npos) << note;
  EXPECT_NE(note.find("(19200 bit/s keeps the pace)"), std::string::npos) << note;
}

TEST(ReplayPace, TheCapturedReceiverObeysAndAnswersNothing) {
  const std::string commands = "$PQXC,201*05\r\n$PSRF100,1,38400,8,1,0" +
                               NMEAChecksumSuffix("$PSRF100,1,38400,8,1,0") + "\r\n";
  SimOptions o;
  o.replayOnly = true;
  ReceiverCore captured(o, 0, {"$GPRMC,000001.00,A\r\n"});
  captured.Due(0);
  captured.Receive(commands, 0.1);
  EXPECT_EQ(captured.Due(0.2), "");
  EXPECT_EQ(captured.Rate(), 9600);
  EXPECT_EQ(captured.Counters().commands, 2);
  // Without replayOnly the personality answers as ever.
  o.replayOnly = false;
  ReceiverCore sirf(o, 0, {"$GPRMC,000001.00,A\r\n"});
  sirf.Due(0);
  sirf.Receive(commands, 0.1);
  EXPECT_NE(sirf.Due(0.2).find("$PQXR,201,"), std::string::npos);
  EXPECT_EQ(sirf.Rate(), 38400);
}

}  // namespace
}  // namespace orlimo
