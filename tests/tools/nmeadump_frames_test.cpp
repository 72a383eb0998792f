// nmeadump on captures of receivers that send binary frames.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "nmeadump/dump.h"

namespace orlimo {
namespace {

struct TDumpOutput {
  std::string Json, Summary;
};

TDumpOutput Dump(std::istream& in) {
  std::ostringstream out, err;
  EXPECT_EQ(RunNmeaDump(0, nullptr, in, out, err), 0);
  return {out.str(), err.str()};
}

// The first record of `type`, or empty.
std::string FirstRecord(const std::string& json, const std::string& type) {
  const std::size_t at = json.find(std::string("{\"type\":\"").append(type).append("\""));
  if (at == std::string::npos) return {};
  return json.substr(at, json.find('\n', at) - at);
}

std::filesystem::path Capture(const char* name) {
  return std::filesystem::path(ORLIMO_TESTDATA_DIR) / "receiver-logs" / name;
}

TEST(NmeaDumpFrames, CapturesPrintAndCountTheirFrames) {
  const auto ubx = Capture("ublox-zed-f9p-hp.log"), sirf = Capture("bu303-moving.log");
  if (!std::filesystem::exists(ubx) || !std::filesystem::exists(sirf)) {
    GTEST_SKIP() << "receiver captures not found under " << ORLIMO_TESTDATA_DIR;
  }
  std::ifstream ubxIn(ubx, std::ios::binary);
  const TDumpOutput u = Dump(ubxIn);
  EXPECT_TRUE(FirstRecord(u.Json, "UBX-NAV-PVT").starts_with(
      "{\"type\":\"UBX-NAV-PVT\",\"itow\":163178000,\"date\":\"2019-04-22\",\"time\":\"21:19:20.000\","
      "\"fix_type\":\"3D\",\"lat\":-45.8775286,\"lon\":170.5001306,"))
      << FirstRecord(u.Json, "UBX-NAV-PVT");
  EXPECT_NE(u.Summary.find("  UBX-NAV-PVT: 29\n"), std::string::npos) << u.Summary;
  EXPECT_NE(u.Summary.find("binary frames: 293"), std::string::npos) << u.Summary;

  std::ifstream sirfIn(sirf, std::ios::binary);
  const TDumpOutput s = Dump(sirfIn);
  const std::string geodetic = FirstRecord(s.Json, "SIRF-41");
  EXPECT_NE(geodetic.find("\"lat\":46.4982948,\"lon\":7.5674069,"), std::string::npos) << geodetic;
  EXPECT_NE(s.Summary.find("  SIRF-41: 11\n"), std::string::npos) << s.Summary;
  EXPECT_NE(FirstRecord(s.Json, "SIRF-4").find("{\"sat\":\"G08\",\"el\":66,"), std::string::npos);
}

// Frames read across the input's 1 MB blocks, and the text lines around them.
TEST(NmeaDumpFrames, FramesAcrossReadBlocks) {
  std::ifstream capture(Capture("ublox-zed-f9p-hp.log"), std::ios::binary);
  if (!capture) GTEST_SKIP() << "receiver captures not found under " << ORLIMO_TESTDATA_DIR;
  const std::string frames(std::istreambuf_iterator<char>(capture), {});
  const std::string gga = "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D\r\n";
  std::string text;
  while (text.size() < (1u << 20) - 5000) text += gga;
  std::istringstream in(text + frames + gga);
  const TDumpOutput d = Dump(in);
  EXPECT_NE(d.Summary.find("  UBX-NAV-PVT: 29\n"), std::string::npos) << d.Summary;
  EXPECT_NE(d.Summary.find("binary frames: 293"), std::string::npos) << d.Summary;
  const std::size_t ggas = text.size() / gga.size() + 1;
  EXPECT_NE(d.Summary.find(std::string("  GGA: ").append(std::to_string(ggas))), std::string::npos)
      << d.Summary;
}

}  // namespace
}  // namespace orlimo
