#include "nmeadump/sentence_json.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "nmea/sentence.h"
#include "nmeadump/dump.h"

namespace orlimo {
namespace {

TEST(SentenceJson, RecordFieldsAndEscapes) {
  TqvNMEA nmea;
  TSentenceType type;
  const std::string gga =
      "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";
  ASSERT_TRUE(nmea.DecodeSentence(gga, type));
  EXPECT_EQ(SentenceToJson(nmea, type, gga),
            "{\"type\":\"GGA\",\"time\":\"02:34:41.000\",\"lat\":37.50415333,\"lon\":127.0477717,"
            "\"quality\":1,\"sats_used\":7,\"hdop\":1.2,\"alt\":78.3,\"geoid_sep\":19.6,"
            "\"dgps_age\":null,\"dgps_station\":0,\"fix\":true,\"raw\":\"" + gga + "\"}");
  EXPECT_EQ(JsonString(std::string("a\"\\\x01\xB0", 5)), "\"a\\\"\\\\\\u0001\\u00b0\"");
}

TEST(SentenceJson, SatellitesOfTheCycleSoFar) {
  TqvNMEA nmea;
  TSentenceType type;
  const std::string gsv = "$GPGSV,3,3,10,30,09,305,16,27,02,115,*71";
  ASSERT_TRUE(nmea.DecodeSentence(gsv, type));
  const std::string json = SentenceToJson(nmea, type, gsv);
  EXPECT_NE(json.find("\"sats\":[{\"prn\":30,\"el\":9,\"az\":305,\"snr\":16},"
                      "{\"prn\":27,\"el\":2,\"az\":115,\"snr\":0}]"),
            std::string::npos)
      << json;
}

TEST(SentenceJson, SystemsAndTheNewerFormsFields) {
  TqvNMEA nmea;
  TSentenceType type;
  const auto json = [&](const std::string& line) {
    EXPECT_TRUE(nmea.DecodeSentence(line, type)) << line;
    return SentenceToJson(nmea, type, line);
  };
  EXPECT_NE(json("$GNGSA,A,3,13,12,22,19,08,21,,,,,,,1.05,0.64,0.83,4*0B")
                .find("\"vdop\":0.83,\"system\":\"BeiDou\",\"system_id\":4,\"fix\""),
            std::string::npos);
  EXPECT_NE(json("$GNGSA,A,3,67,83,76,82,68,,,,,,,,1.56,0.91,1.27*1D")
                .find("\"system\":\"GLONASS\",\"system_id\":null"),
            std::string::npos);
  EXPECT_NE(json("$GAGSV,3,3,09,33,62,034,08,7*41")
                .find("\"snr\":8}],\"system\":\"Galileo\",\"signal_id\":7,"),
            std::string::npos);
  EXPECT_NE(json("$GPGSV,3,3,10,30,09,305,16,27,02,115,*71")
                .find("\"system\":\"GPS\",\"signal_id\":null"),
            std::string::npos);
  EXPECT_NE(json("$GNRMC,003956.00,A,4552.65403,S,17030.00668,E,0.025,,120419,,,A,V*07")
                .find("\"mode\":\"A\",\"nav_status\":\"V\""),
            std::string::npos);
}

// An empty field is null, a zero that was sent stays 0; ZDA, GST and GBS have their
// own members.
TEST(SentenceJson, EmptyFieldsAreNullAndTheNewerTypes) {
  TqvNMEA nmea;
  TSentenceType type;
  const auto json = [&](const std::string& line) {
    EXPECT_TRUE(nmea.DecodeSentence(line, type)) << line;
    const std::string all = SentenceToJson(nmea, type, line);
    return all.substr(0, all.find(",\"fix\""));
  };
  EXPECT_EQ(json("$GPRMC,030851.00,V,,,,,,,100806,,,N*7D"),
            "{\"type\":\"RMC\",\"time\":\"03:08:51.000\",\"status\":\"V\",\"lat\":null,\"lon\":null,"
            "\"speed_knots\":null,\"course\":null,\"date\":\"10-08-06\",\"magvar\":null,"
            "\"mode\":\"N\",\"nav_status\":null");
  EXPECT_EQ(json("$GPGGA,030851.00,,,,,0,03,9.93,,,,,,*59"),
            "{\"type\":\"GGA\",\"time\":\"03:08:51.000\",\"lat\":null,\"lon\":null,\"quality\":0,"
            "\"sats_used\":3,\"hdop\":9.93,\"alt\":null,\"geoid_sep\":null,\"dgps_age\":null,"
            "\"dgps_station\":null");
  EXPECT_EQ(json("$GPVTG,,,,,,,,,N*30"),
            "{\"type\":\"VTG\",\"course_true\":null,\"course_mag\":null,\"speed_knots\":null,"
            "\"speed_kmh\":null,\"mode\":\"N\"");
  EXPECT_EQ(json("$GPZDA,,,,,00,00*48"),
            "{\"type\":\"ZDA\",\"time\":null,\"day\":null,\"month\":null,\"year\":null,"
            "\"zone_hours\":0,\"zone_minutes\":0");
  EXPECT_EQ(json("$GNGST,003956.00,235111,,,,2.3,3.5,4.0*46"),
            "{\"type\":\"GST\",\"time\":\"00:39:56.000\",\"range_rms\":235111,\"semi_major\":null,"
            "\"semi_minor\":null,\"orientation\":null,\"lat_error\":2.3,\"lon_error\":3.5,"
            "\"alt_error\":4");
  EXPECT_EQ(json("$GPGBS,143445.28,25.475,25.404,80.249,,,,*79"),
            "{\"type\":\"GBS\",\"time\":\"14:34:45.280\",\"lat_error\":25.475,\"lon_error\":25.404,"
            "\"alt_error\":80.249,\"failed_prn\":null,\"failed_probability\":null,\"bias\":null,"
            "\"bias_stddev\":null");
}

TEST(NmeaDump, HugeSecondsCommentsJunkBeforeASentenceAndHelp) {
  const std::string body = "$GPGGA,000001e100,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
  const std::string huge = body + NMEAChecksumSuffix(body);
  const std::string rmc = "$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B";
  std::istringstream in("# a capture's header\r\nnot a sentence\n" + huge + "\n\x01\xFFjunk" + rmc + "\r\n");
  std::ostringstream out, err;
  ASSERT_EQ(RunNmeaDump(0, nullptr, in, out, err), 0);
  const std::string json = out.str();
  // The seconds print whole, and the string still closes before the next key.
  EXPECT_NE(json.find("\"time\":\"00:00:1000000000000000015"), std::string::npos) << json;
  EXPECT_NE(json.find(".000\",\"lat\":48.1173"), std::string::npos) << json;
  EXPECT_NE(json.find("\"raw\":\"" + rmc + "\"}\n"), std::string::npos) << json;
  EXPECT_EQ(err.str(), "lines read: 4, accepted: 2, rejected: 1, comments: 1\n  RMC: 1\n  GGA: 1\n");

  const char* help[] = {"--help"};
  std::ostringstream helpOut, helpErr;
  EXPECT_EQ(RunNmeaDump(1, help, in, helpOut, helpErr), 0);
  EXPECT_EQ(helpOut.str().rfind("usage: nmeadump", 0), 0u);
  EXPECT_EQ(helpErr.str(), "");
}

// The printf conversions the output has always used, for comparison.
std::string Printf(const char* format, auto... values) {
  char buf[400];
  std::snprintf(buf, sizeof buf, format, values...);
  return buf;
}

TEST(SentenceJson, NumbersAsPrintfGeneral10) {
  std::vector<double> values = {0.0, -0.0, 1.0, -1.5, 0.1, 1e-5, 1e-4, 123456789.0, 1234567890.0,
                                12345678901.0, 9999999999.5, 0.99999999995, 1e100, -1e-300,
                                5e-324, std::numeric_limits<double>::max(),
                                -std::numeric_limits<double>::infinity(), 48.1173, 127.0477717};
  std::mt19937_64 rng(5);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::bit_cast<double>(rng());
    if (!std::isnan(v)) values.push_back(v);
    values.push_back(static_cast<double>(rng() % 100000000) / std::pow(10.0, rng() % 9));
  }
  TqvNMEA nmea;
  for (const double v : values) {
    nmea.VTG.CourseTrue = v;
    nmea.VTG.Has.CourseTrue = true;
    const std::string json = SentenceToJson(nmea, stVTG, "");
    ASSERT_EQ(json.substr(0, json.find(",\"course_mag\"")),
              "{\"type\":\"VTG\",\"course_true\":" + Printf("%.10g", v));
  }
}

TEST(SentenceJson, TimesAndDatesAsPrintfWroteThem) {
  TqvNMEA nmea;
  for (const double seconds : {0.0, -0.0, 5.0, 9.9995, 9.99949, 59.999, -1.5, -0.0004, 123.4567, 1e20}) {
    nmea.RMC.UTCTime = {23, 5, seconds};
    nmea.RMC.Date = {-7, 12, 3};
    nmea.RMC.Has.UTCTime = nmea.RMC.Has.Date = true;
    const std::string json = SentenceToJson(nmea, stRMC, "");
    EXPECT_NE(json.find(Printf("\"time\":\"%02u:%02u:%06.3f\",", 23u, 5u, seconds)), std::string::npos)
        << json;
    EXPECT_NE(json.find("\"date\":\"03-12--7\""), std::string::npos) << json;
  }
  nmea.GLL.UTCTime = {255, 100, 1.25};
  nmea.GLL.Has.UTCTime = true;
  EXPECT_NE(SentenceToJson(nmea, stGLL, "").find("\"time\":\"255:100:01.250\""), std::string::npos);
}

TEST(NmeaDump, LinesLongerThanAReadAndALastLineWithoutNewline) {
  const std::string rmc = "$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B";
  std::string input;
  int lines = 0;
  while (input.size() < (3u << 20)) {  // lines cross every block boundary
    input += rmc + "\r\n";
    ++lines;
  }
  input += std::string(3u << 20, 'x') + rmc + "\n" + rmc;  // junk longer than a block
  lines += 2;
  std::istringstream in(input);
  std::ostringstream out, err;
  ASSERT_EQ(RunNmeaDump(0, nullptr, in, out, err), 0);

  TqvNMEA nmea;
  TSentenceType type;
  ASSERT_TRUE(nmea.DecodeSentence(rmc, type));
  const std::string one = SentenceToJson(nmea, type, rmc) + "\n";
  std::string expected;
  for (int i = 0; i < lines; ++i) expected += one;
  EXPECT_TRUE(out.str() == expected) << out.str().size() << " bytes, " << expected.size() << " expected";
  EXPECT_EQ(err.str(), "lines read: " + std::to_string(lines) + ", accepted: " + std::to_string(lines) +
                           ", rejected: 0\n  RMC: " + std::to_string(lines) + "\n");
}

}  // namespace
}  // namespace orlimo
