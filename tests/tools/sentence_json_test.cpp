#include "nmeadump/sentence_json.h"

#include <gtest/gtest.h>

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
            "\"dgps_age\":0,\"dgps_station\":0,\"fix\":true,\"raw\":\"" + gga + "\"}");
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

}  // namespace
}  // namespace orlimo
