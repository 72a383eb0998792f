// Hostile lines through the validity test and the decoder: nothing may crash or
// write out of bounds (the sanitizer build watches), and a good sentence after the
// garbage decodes as usual.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nmea/decoder.h"
#include "nmea/fields.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

std::string Sentence(const std::string& body) {
  const std::string s = "$" + body;
  return s + NMEAChecksumSuffix(s);
}

const std::string kGood =
    "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";

std::vector<std::string> HostileLines() {
  std::vector<std::string> lines;
  for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 5u, 99u, 100u, 101u, 255u, 256u, 4096u, 10000u}) {
    lines.push_back(std::string(n, 'A'));
    lines.push_back(Sentence("GPRMC," + std::string(n, '9')));
    lines.push_back(Sentence("GPGSV,3,1," + std::string(n, ',')));
  }
  std::string binary;
  for (int i = 0; i < 256; ++i) binary.push_back(static_cast<char>(i));
  lines.push_back(binary);
  lines.push_back(Sentence("GPGGA," + binary));
  lines.push_back(Sentence("GPGSV," + std::string(150, ',')));
  lines.push_back(Sentence("GPRMC," + std::string(150, ',')));
  lines.push_back(Sentence("GPRMC,1$2,A"));
  lines.push_back(kGood + kGood);
  lines.push_back(kGood.substr(0, kGood.size() - 2) + "6d");
  lines.push_back(kGood.substr(0, kGood.size() - 2) + "ZZ");
  lines.push_back(Sentence("GPGSV,3,1,200,01,02,03,04"));
  for (const char* n : {"0", "-1", "9", "1e308", "nan", "99999999999999999999", "$FFFFFFFFF"})
    lines.push_back(Sentence(std::string("GPGSV,3,") + n + ",10,01," + n + "," + n + "," + n));
  for (const char* n : {"1e308", "-1e308", "nan", "inf", "1e-400", "99999999999999999999"}) {
    const std::string v = n;
    lines.push_back(Sentence("GPRMC," + v + ",A," + v + ",N," + v + ",E," + v + "," + v + "," +
                             v + "," + v + ",E,A"));
    lines.push_back(Sentence("GPGGA," + v + "," + v + ",N," + v + ",E," + v + "," + v + "," + v +
                             "," + v + ",M," + v + ",M," + v + "," + v));
    lines.push_back(Sentence("GPGSA,A," + v + std::string(12, ',') + "," + v + "," + v + "," + v));
  }
  // Fields exactly as long as the raw-text buffer, and one past it.
  lines.push_back(Sentence("GPMSS," + std::string(100 - 10, 'x')));
  lines.push_back(Sentence("GPMSS," + std::string(100 - 9, 'x')));
  return lines;
}

TEST(BadInput, NothingBreaksAndTheNextSentenceDecodes) {
  TqvNMEA nmea;
  for (const std::string& line : HostileLines()) {
    TSentenceType type;
    nmea.DecodeSentence(line, type);
    EXPECT_LE(nmea.RMC.RawText.View().size(), 100u);
    // Field helpers on the same line must be safe too.
    (void)GetField(200, line, FieldSeparators);
    (void)CountSeparators(line, CommaSeparator);

    TqvNMEA fresh = nmea;
    ASSERT_TRUE(fresh.DecodeSentence(kGood, type));
    EXPECT_EQ(type, stGGA);
    EXPECT_DOUBLE_EQ(fresh.GGA.Altitude, 78.3) << "after: " << line.substr(0, 60);
  }
}

TEST(BadInput, ValidityTestRejectsGarbage) {
  for (const std::string& line : HostileLines()) {
    if (line.size() < 4 || line[0] != '$') {
      EXPECT_FALSE(IsValidSentence(line));
    }
  }
  EXPECT_FALSE(IsValidSentence(kGood + kGood)) << "two glued sentences";
}

TEST(BadInput, HugeNumbersAreNotReadings) {
  TqvNMEA nmea;
  TSentenceType type;
  nmea.DecodeSentence(Sentence("GPRMC,023441.000,A,1e400,N,nan,E,1e400,inf,200406,,,A"), type);
  EXPECT_EQ(nmea.RMC.Latitude, 0);
  EXPECT_EQ(nmea.RMC.Longitude, 0);
  EXPECT_EQ(nmea.RMC.SpeedKnots, 0);
  EXPECT_EQ(nmea.RMC.Course, 0);
  EXPECT_EQ(nmea.RMC.Date.Day, 20);
}

}  // namespace
}  // namespace orlimo
