#include <gtest/gtest.h>

#include <string>

#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "measure/stream_statistics.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

std::string Line(const std::string& body) { return body + NMEAChecksumSuffix(body) + "\r\n"; }

// A noisy mixed stream, fed in pieces that cut lines and frames anywhere: every item
// is counted once, the bad ones show, and the noise is counted in bytes.
TEST(StreamStatistics, CountsEveryItemOfAMixedStreamCutAnywhere) {
  const std::string gga = Line("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
  std::string bad = Line("$GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
  bad[bad.size() - 3] = bad[bad.size() - 3] == '0' ? '1' : '0';
  const std::string ubx = BuildUBXFrame(0x01, 0x07, std::string(92, '\0'));
  const std::string sirf = BuildSiRFFrame(std::string("\x29") + std::string(90, '\x24'));
  const std::string noise = "\x01\x02xyz";
  const std::string stream = noise + gga + bad + ubx + Line("$PMTK705,AXN_5.1.6,0001") + sirf + "$GPG" + gga;

  for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, stream.size()}) {
    StreamStatistics st;
    for (std::size_t at = 0; at < stream.size(); at += piece) st.Feed(std::string_view(stream).substr(at, piece));
    EXPECT_EQ(st.Lines(), 6u) << piece;
    EXPECT_EQ(st.Accepted(), 5u) << piece;
    EXPECT_EQ(st.BadChecksum(), 1u) << piece;
    EXPECT_EQ(st.JunkBytes(), noise.size() + 4) << piece;
    EXPECT_EQ(st.PerType().at("GGA"), 2u);
    EXPECT_EQ(st.PerType().at("PMTK"), 1u);
    EXPECT_EQ(st.PerType().at("SIRF-41"), 1u);
    EXPECT_EQ(st.PerType().size(), 4u) << "GGA, PMTK, SIRF-41 and the UBX message";
  }
}

TEST(StreamStatistics, RatesCoverTheLastTenSecondsInTheJsonLine) {
  const std::string gsv = Line("$GPGSV,1,1,01,05,40,083,46");
  StreamStatistics st;
  st.Tick();
  for (int second = 0; second < 20; ++second) {
    for (int i = 0; i < (second < 10 ? 1 : 3); ++i) st.Feed(gsv);
    st.Tick();
  }
  EXPECT_EQ(st.Json(),
            "{\"lines\":40,\"accepted\":40,\"bad_checksum\":0,\"junk_bytes\":0,"
            "\"per_type\":{\"GSV\":40},\"per_second\":{\"GSV\":3.0}}");
}

}  // namespace
}  // namespace orlimo
