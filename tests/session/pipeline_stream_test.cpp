// The pipeline against whole streams: a clean stream cut anywhere, hostile bytes,
// and the captures of real receivers.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "nmea/sentence.h"
#include "pipeline_fixture.h"

namespace orlimo {
namespace {

// The start of the sample log, cut at a line end and small enough for one buffer.
std::string CleanStream() {
  const std::string log = SampleLog();
  const std::size_t end = log.rfind("\r\n", 3900);
  return log.substr(0, end + 2);
}

void ExpectSameOutcome(const PipelineRig& a, const PipelineRig& b, const std::string& what) {
  EXPECT_EQ(a.view.monitor, b.view.monitor) << what;
  EXPECT_TRUE(a.nmea.RMC == b.nmea.RMC) << what;
  EXPECT_TRUE(a.nmea.GGA == b.nmea.GGA) << what;
  EXPECT_TRUE(a.nmea.GLL == b.nmea.GLL) << what;
  EXPECT_TRUE(a.nmea.GSA == b.nmea.GSA) << what;
  EXPECT_TRUE(a.nmea.VTG == b.nmea.VTG) << what;
  EXPECT_EQ(a.nmea.FixValid, b.nmea.FixValid) << what;
  EXPECT_EQ(a.pipeline.RxBuffer, b.pipeline.RxBuffer) << what;
}

TEST(PipelineStream, CutAtAnyByteGivesTheSameSentencesAndRecords) {
  const std::string stream = CleanStream();
  PipelineRig whole;
  whole.Feed(stream);
  whole.pipeline.ProcessRxBuffer();
  ASSERT_GT(whole.view.monitor.size(), 40u);

  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    PipelineRig split;
    split.Feed(std::string_view(stream).substr(0, cut));
    split.pipeline.ProcessRxBuffer();
    split.Feed(std::string_view(stream).substr(cut));
    split.pipeline.ProcessRxBuffer();
    ExpectSameOutcome(whole, split, "cut at " + std::to_string(cut));
    if (HasFailure()) break;
  }
}

TEST(PipelineStream, ManySmallPassesGiveTheSameResult) {
  const std::string stream = CleanStream();
  PipelineRig whole;
  whole.Feed(stream);
  whole.pipeline.ProcessRxBuffer();
  std::mt19937 random(42);
  for (int round = 0; round < 50; ++round) {
    PipelineRig pieces;
    for (std::size_t at = 0; at < stream.size();) {
      const std::size_t n = std::uniform_int_distribution<std::size_t>(1, 300)(random);
      pieces.Feed(std::string_view(stream).substr(at, n));
      pieces.pipeline.ProcessRxBuffer();
      at += n;
    }
    ExpectSameOutcome(whole, pieces, "round " + std::to_string(round));
  }
}

TEST(PipelineStream, HostileBytesNeverStopTheNextSentence) {
  const std::string good =
      "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";
  std::string allBytes;
  for (int i = 0; i < 256; ++i) allBytes.push_back(static_cast<char>(i));
  const std::vector<std::string> hostile = {
      std::string(10000, 'A'), std::string(10000, '$'), std::string(4096, '\0'), allBytes,
      "$GPRMC" + std::string(150, ',') + "*00", good + good, "$GP$GP$GP", "\r\n\r\n\r\n",
      std::string("\x80\xFF$GPGGA\x00,1*00", 14), good.substr(0, good.size() - 2) + "6d",
      "$GPGSV,3,1,200,1,2,3,4*00", "\r", "\n"};
  PipelineRig rig;
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    const std::string& junk = hostile[random() % hostile.size()];
    rig.Feed(junk);
    if (random() % 2) rig.pipeline.ProcessRxBuffer();
    ASSERT_LE(rig.pipeline.RxBuffer.size(), ReceivePipeline::kRxBufferCap);
    rig.Feed("\r\n" + good + "\r\n");
    rig.nmea.GGA.Altitude = 0;
    rig.pipeline.ProcessRxBuffer();
    EXPECT_DOUBLE_EQ(rig.nmea.GGA.Altitude, 78.3) << "after junk " << junk.substr(0, 40);
    EXPECT_EQ(rig.view.monitor.back(), good);
  }
  // NUL and high bytes inside an accepted sentence are kept verbatim.
  std::string body = "GPMSS,";
  body.push_back('\0');
  body += "\xB0\xFF";
  const std::string withBytes = "$" + body + NMEAChecksumSuffix("$" + body);
  rig.Feed(withBytes + "\r\n");
  rig.pipeline.ProcessRxBuffer();
  EXPECT_EQ(rig.view.monitor.back(), withBytes);
}

}  // namespace
}  // namespace orlimo
