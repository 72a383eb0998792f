#include "nmea/decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "nmea/sentence.h"

namespace orlimo {
namespace {

// Builds a valid sentence from its body (without '$' and checksum).
std::string Sentence(const std::string& body) {
  const std::string s = "$" + body;
  return s + NMEAChecksumSuffix(s);
}

class Decoder : public ::testing::Test {
 protected:
  TSentenceType Decode(const std::string& line) {
    TSentenceType type = stNIL;
    EXPECT_TRUE(nmea.DecodeSentence(line, type)) << line;
    return type;
  }
  TqvNMEA nmea;
};

TEST_F(Decoder, RMCWithAndWithoutMode) {
  const std::string rmc =
      "$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B";
  EXPECT_EQ(Decode(rmc), stRMC);
  const TRMCRecord& r = nmea.RMC;
  EXPECT_EQ(r.UTCTime.Hour, 2);
  EXPECT_EQ(r.UTCTime.Minute, 34);
  EXPECT_DOUBLE_EQ(r.UTCTime.Seconds, 41.0);
  EXPECT_EQ(r.Status, 'A');
  EXPECT_NEAR(r.Latitude, 37.504153333, 1e-8);
  EXPECT_NEAR(r.Longitude, 127.047771667, 1e-8);
  EXPECT_EQ(r.NS, 'N');
  EXPECT_EQ(r.EW, 'E');
  EXPECT_DOUBLE_EQ(r.SpeedKnots, 22.12);
  EXPECT_DOUBLE_EQ(r.Course, 251.43);
  EXPECT_EQ(r.Date.Year, 6);
  EXPECT_EQ(r.Date.Month, 4);
  EXPECT_EQ(r.Date.Day, 20);
  EXPECT_EQ(r.MagVar, 0);
  EXPECT_EQ(r.MagVarEW, 0);
  EXPECT_EQ(r.Mode, 'A');
  EXPECT_TRUE(nmea.FixValid);
  EXPECT_EQ(r.RawText.View(), rmc);

  Decode(Sentence("GPRMC,023441.000,V,3730.2492,S,12702.8663,W,0,0,200406,,"));
  EXPECT_EQ(nmea.RMC.Mode, ' ');
  EXPECT_LT(nmea.RMC.Latitude, 0);
  EXPECT_LT(nmea.RMC.Longitude, 0);
  EXPECT_FALSE(nmea.FixValid);
}

TEST_F(Decoder, GGAQualityDrivesTheFix) {
  Decode("$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D");
  const TGGARecord& g = nmea.GGA;
  EXPECT_EQ(g.Quality, 1);
  EXPECT_TRUE(nmea.FixValid);
  EXPECT_EQ(g.SatsUsed, 7);
  EXPECT_DOUBLE_EQ(g.HDOP, 1.2);
  EXPECT_DOUBLE_EQ(g.Altitude, 78.3);
  EXPECT_DOUBLE_EQ(g.GeoidSep, 19.6);
  EXPECT_EQ(g.DGPSAge, 0);
  EXPECT_EQ(g.DGPSStation, 0);

  Decode(Sentence("GPGGA,023442.000,3730.2492,N,12702.8663,E,0,00,,,M,,M,,"));
  EXPECT_FALSE(nmea.FixValid);
  nmea.FixValid = true;
  Decode(Sentence("GPGGA,023443.000,3730.2492,N,12702.8663,E,,00,,,M,,M,,"));
  EXPECT_TRUE(nmea.FixValid) << "an empty quality leaves the fix as it was";
  Decode(Sentence("GPGGA,023443.000,3730.2492,,12702.8663,E,1,00,,,M,,M,,"));
  EXPECT_LT(nmea.GGA.Latitude, 0) << "an absent hemisphere counts as south";
  EXPECT_EQ(nmea.GGA.NS, 0);
}

TEST_F(Decoder, WrongSeparatorCountLeavesOnlyTheRawText) {
  nmea.GGA.Altitude = 5;
  const std::string shortGGA = Sentence("GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2");
  Decode(shortGGA);
  EXPECT_EQ(nmea.GGA.Altitude, 0);
  EXPECT_EQ(nmea.GGA.Latitude, 0);
  EXPECT_EQ(nmea.GGA.RawText.View(), shortGGA);
}

TEST_F(Decoder, GSAKeepsSlotPositions) {
  Decode("$GPGSA,A,3,04,02,17,10,24,23,13,,,,,,2.2,1.2,1.9*3D");
  const TGSARecord& a = nmea.GSA;
  EXPECT_EQ(a.SelMode, 'A');
  EXPECT_EQ(a.FixMode, 3);
  EXPECT_EQ(a.UsedCount, 7);
  const std::array<std::uint8_t, 12> used = {4, 2, 17, 10, 24, 23, 13, 0, 0, 0, 0, 0};
  EXPECT_EQ(a.UsedPRN, used);
  EXPECT_DOUBLE_EQ(a.PDOP, 2.2);
  EXPECT_DOUBLE_EQ(a.HDOP, 1.2);
  EXPECT_DOUBLE_EQ(a.VDOP, 1.9);
  EXPECT_TRUE(nmea.FixValid);

  Decode(Sentence("GPGSA,A,1,,05,,,,,,,,,,,,,"));
  EXPECT_FALSE(nmea.FixValid);
  EXPECT_EQ(nmea.GSA.UsedCount, 1);
  EXPECT_EQ(nmea.GSA.UsedPRN[1], 5);
}

TEST_F(Decoder, GLLStatusOnlyWithModeField) {
  Decode("$GPGLL,3730.2492,N,12702.8663,E,023441.000,A,A*5E");
  EXPECT_EQ(nmea.GLL.Status, 'A');
  EXPECT_TRUE(nmea.FixValid);
  EXPECT_DOUBLE_EQ(nmea.GLL.UTCTime.Seconds, 41.0);
  nmea.FixValid = false;
  Decode(Sentence("GPGLL,3730.2492,N,12702.8663,E,023441.000,A"));
  EXPECT_EQ(nmea.GLL.Status, ' ');
  EXPECT_FALSE(nmea.FixValid) << "a 7-separator GLL leaves the fix alone";
}

TEST_F(Decoder, VTGAndMSS) {
  Decode(Sentence("GPVTG,251.43,T,,M,22.12,N,40.97,K,A"));
  EXPECT_DOUBLE_EQ(nmea.VTG.CourseTrue, 251.43);
  EXPECT_DOUBLE_EQ(nmea.VTG.SpeedKnots, 22.12);
  EXPECT_DOUBLE_EQ(nmea.VTG.SpeedKmh, 40.97);
  EXPECT_EQ(nmea.VTG.Mode, 'A');
  Decode(Sentence("GPVTG,251.43,T,,M,22.12,N,40.97,K"));
  EXPECT_EQ(nmea.VTG.Mode, ' ');
  const std::string mss = Sentence("GPMSS,55,27,318.0,100,1");
  EXPECT_EQ(Decode(mss), stMSS);
  EXPECT_EQ(nmea.MSS.RawText.View(), mss);
}

TEST_F(Decoder, TimeWithoutFractionIsRead) {
  Decode(Sentence("GPRMC,023441,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A"));
  EXPECT_EQ(nmea.RMC.UTCTime, (TNMEATime{2, 34, 41.0}));
  EXPECT_DOUBLE_EQ(nmea.RMC.SpeedKnots, 22.12);
}

const char* const kCycle[] = {
    "$GPGSV,3,1,10,04,65,054,42,02,60,325,26,13,40,063,35,10,36,245,40*78",
    "$GPGSV,3,2,10,24,31,087,30,17,25,155,34,05,14,276,21,23,13,039,24*79",
    "$GPGSV,3,3,10,30,09,305,16,27,02,115,*71",
};

TEST_F(Decoder, GSVCycleFillsTenSlots) {
  for (const char* line : kCycle) EXPECT_EQ(Decode(line), stGSV);
  const TGSVRecord& v = nmea.GSV;
  EXPECT_EQ(v.SatsInView, 10);
  EXPECT_EQ(v.MsgNum, 3);
  EXPECT_EQ(v.TotalMsgs, 3);
  EXPECT_EQ(v.Sats[0].PRN, 4);
  EXPECT_EQ(v.Sats[3].SNR, 40) << "the last field is read up to its '*'";
  EXPECT_EQ(v.Sats[9].PRN, 27);
  EXPECT_EQ(v.Sats[9].Elevation, 2);
  EXPECT_EQ(v.Sats[9].Azimuth, 115);
  EXPECT_EQ(v.Sats[9].SNR, 0);
  EXPECT_EQ(v.Sats[10].PRN, 0);
  EXPECT_EQ(v.Sats[11].PRN, 0);
  EXPECT_EQ(v.RawText.View(), kCycle[2]);
}

TEST_F(Decoder, GSVLostMessageAndNewCycle) {
  Decode(kCycle[0]);
  Decode(kCycle[2]);
  EXPECT_EQ(nmea.GSV.Sats[4].PRN, 0);
  EXPECT_EQ(nmea.GSV.Sats[7].PRN, 0);
  EXPECT_EQ(nmea.GSV.Sats[8].PRN, 30);
  Decode(Sentence("GPGSV,1,1,02,07,10,020,30,08,20,040,"));
  EXPECT_EQ(nmea.GSV.Sats[0].PRN, 7);
  EXPECT_EQ(nmea.GSV.Sats[8].PRN, 0) << "message 1 clears the previous cycle";
}

TEST_F(Decoder, GSVNeverWritesOutsideTheTwelveSlots) {
  // A fourth message, a count beyond 12, and messages numbered 0 or -1 or 9 of 3.
  for (const char* body :
       {"GPGSV,4,1,16,01,10,010,11,02,10,020,12,03,10,030,13,04,10,040,14",
        "GPGSV,4,4,16,13,10,130,23,14,10,140,24,15,10,150,25,16,10,160,26",
        "GPGSV,1,1,14,01,10,010,11,02,10,020,12,03,10,030,13,04,10,040,14,05,1,1,1,06,1,1,1,"
        "07,1,1,1,08,1,1,1,09,1,1,1,10,1,1,1,11,1,1,1,12,1,1,1,13,1,1,1,14,1,1,1",
        "GPGSV,3,0,10,30,09,305,16", "GPGSV,3,-1,10,30,09,305,16", "GPGSV,3,9,10,30,09,305,16",
        "GPGSV,3,3,200,30,09,305,16", "GPGSV,127,127,127,1,1,1,1"}) {
    Decode(Sentence(body));
  }
  // The 14-satellite single message kept its first twelve.
  EXPECT_EQ(nmea.GSV.Sats[11].PRN, 12);
}

TEST_F(Decoder, ClearRecordsKeepsMSS) {
  Decode(kCycle[0]);
  Decode(Sentence("GPMSS,55,27,318.0,100,1"));
  Decode("$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D");
  nmea.ClearRecords();
  EXPECT_EQ(nmea.GGA.Altitude, 0);
  EXPECT_EQ(nmea.GSV.Sats[0].PRN, 0);
  EXPECT_EQ(nmea.GSV.MsgNum, nmea.GSV.TotalMsgs);
  EXPECT_FALSE(nmea.MSS.RawText.View().empty());
}

TEST_F(Decoder, ZDATimeDateAndZoneOfAnyTalker) {
  EXPECT_EQ(Decode(Sentence("GPZDA,030807.00,10,08,2006,-03,30")), stZDA);
  const TZDARecord& z = nmea.ZDA;
  EXPECT_EQ(z.UTCTime, (TNMEATime{3, 8, 7.0}));
  EXPECT_EQ(z.Day, 10);
  EXPECT_EQ(z.Month, 8);
  EXPECT_EQ(z.Year, 2006);
  EXPECT_EQ(z.ZoneHours, -3);
  EXPECT_EQ(z.ZoneMinutes, 30);
  EXPECT_TRUE(z.Has.Year && z.Has.ZoneMinutes);
  EXPECT_EQ(Decode("$GNZDA,091232.000,10,10,2015,,*45"), stZDA);
  EXPECT_TRUE(nmea.ZDA.Has.Day);
  EXPECT_FALSE(nmea.ZDA.Has.ZoneHours || nmea.ZDA.Has.ZoneMinutes);
  EXPECT_EQ(Decode(Sentence("GPGSA,A,3,ZDA,,,,,,,,,,,,1,1,1")), stGSA) << "a tag elsewhere is no address";
}

TEST_F(Decoder, GSTErrorStatistics) {
  EXPECT_EQ(Decode("$GPGST,232713.000,1.3,105.1,9.1,-40.9,0.3,0.3,0.6*78"), stGST);
  const TGSTRecord& g = nmea.GST;
  EXPECT_DOUBLE_EQ(g.UTCTime.Seconds, 13.0);
  EXPECT_DOUBLE_EQ(g.RangeRMS, 1.3);
  EXPECT_DOUBLE_EQ(g.SemiMajor, 105.1);
  EXPECT_DOUBLE_EQ(g.SemiMinor, 9.1);
  EXPECT_DOUBLE_EQ(g.Orientation, -40.9);
  EXPECT_DOUBLE_EQ(g.LatError, 0.3);
  EXPECT_DOUBLE_EQ(g.LonError, 0.3);
  EXPECT_DOUBLE_EQ(g.AltError, 0.6);
  Decode("$GNGST,003956.00,235111,,,,2.3,3.5,4.0*46");
  EXPECT_TRUE(nmea.GST.Has.RangeRMS && nmea.GST.Has.AltError);
  EXPECT_FALSE(nmea.GST.Has.SemiMajor || nmea.GST.Has.Orientation);
}

TEST_F(Decoder, GBSInBothForms) {
  EXPECT_EQ(Decode(Sentence("GPGBS,143445.28,25.475,25.404,80.249,12,0.021,-5.2,1.9")), stGBS);
  const TGBSRecord& b = nmea.GBS;
  EXPECT_EQ(b.UTCTime, (TNMEATime{14, 34, 45.28}));
  EXPECT_DOUBLE_EQ(b.LatError, 25.475);
  EXPECT_DOUBLE_EQ(b.LonError, 25.404);
  EXPECT_DOUBLE_EQ(b.AltError, 80.249);
  EXPECT_EQ(b.FailedPRN, 12);
  EXPECT_DOUBLE_EQ(b.FailedProbability, 0.021);
  EXPECT_DOUBLE_EQ(b.Bias, -5.2);
  EXPECT_DOUBLE_EQ(b.BiasStdDev, 1.9);
  EXPECT_EQ(Decode("$GNGBS,003956.00,2.3,3.5,4.0,,,,,,*55"), stGBS);  // system and signal IDs
  EXPECT_DOUBLE_EQ(nmea.GBS.AltError, 4.0);
  EXPECT_FALSE(nmea.GBS.Has.FailedPRN || nmea.GBS.Has.BiasStdDev);
}

TEST_F(Decoder, InvalidLinesDecodeNothing) {
  TSentenceType type = stGGA;
  EXPECT_FALSE(nmea.DecodeSentence("$GPRMC,bad*01", type));
  EXPECT_EQ(type, stNIL);
  EXPECT_TRUE(nmea.RMC.RawText.View().empty());
  EXPECT_TRUE(nmea.DecodeSentence(Sentence("PQXR,201,GSW3.2.4"), type));
  EXPECT_EQ(type, stPQX);
}

}  // namespace
}  // namespace orlimo
