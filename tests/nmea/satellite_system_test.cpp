#include "nmea/satellite_system.h"

#include <gtest/gtest.h>

namespace orlimo {
namespace {

using S = TSatSystem;

TEST(SatelliteSystem, TalkersNameTheirSystem) {
  EXPECT_EQ(TalkerSystem("$GPGSV,"), S::GPS);
  EXPECT_EQ(TalkerSystem("$GLGSV,"), S::GLONASS);
  EXPECT_EQ(TalkerSystem("$GAGSV,"), S::Galileo);
  EXPECT_EQ(TalkerSystem("$GBGSV,"), S::BeiDou);
  EXPECT_EQ(TalkerSystem("$BDGSV,"), S::BeiDou);
  EXPECT_EQ(TalkerSystem("$GQGSV,"), S::QZSS);
  EXPECT_EQ(TalkerSystem("$QZGSV,"), S::QZSS);
  EXPECT_EQ(TalkerSystem("$PQGSV,"), S::QZSS);
  EXPECT_EQ(TalkerSystem("$GIGSV,"), S::NavIC);
  EXPECT_EQ(TalkerSystem("$GNGSA,"), S::Combined);
  for (const char* other : {"", "$", "$G", "GPGSV", "$IIGSV", "$gpgsv"})
    EXPECT_EQ(TalkerSystem(other), S::Unknown) << other;
}

TEST(SatelliteSystem, SystemIdsAndNumberRanges) {
  const S byId[] = {S::Unknown, S::GPS, S::GLONASS, S::Galileo, S::BeiDou, S::QZSS, S::NavIC,
                    S::Unknown};
  for (int id = 0; id <= 7; ++id) EXPECT_EQ(SystemFromId(id), byId[id]) << id;
  EXPECT_EQ(SystemFromId(-1), S::Unknown);

  struct Range { int low, high; S system; };
  for (const Range& r : {Range{1, 32, S::GPS}, Range{33, 64, S::SBAS}, Range{65, 96, S::GLONASS},
                         Range{120, 158, S::SBAS}, Range{193, 200, S::QZSS},
                         Range{201, 237, S::BeiDou}, Range{301, 336, S::Galileo},
                         Range{401, 437, S::BeiDou}}) {
    EXPECT_EQ(SystemFromNumber(r.low), r.system) << r.low;
    EXPECT_EQ(SystemFromNumber(r.high), r.system) << r.high;
    EXPECT_NE(SystemFromNumber(r.low - 1), r.system) << r.low - 1;
    EXPECT_NE(SystemFromNumber(r.high + 1), r.system) << r.high + 1;
  }
  for (int n : {0, -5, 97, 119, 159, 192, 238, 300, 337, 400, 438, 100000})
    EXPECT_EQ(SystemFromNumber(n), S::Unknown) << n;
}

TEST(SatelliteSystem, SentenceSystemWeighsIdTalkerAndNumber) {
  // The system ID decides over talker and number.
  EXPECT_EQ(SentenceSystem("$GNGSA,", 4, 13), S::BeiDou);
  EXPECT_EQ(SentenceSystem("$GPGSA,", 2, 5), S::GLONASS);
  // A talker of one system keeps its own numbering (BeiDou 13, Galileo 33, QZSS 201)...
  EXPECT_EQ(SentenceSystem("$GBGSV,", 0, 13), S::BeiDou);
  EXPECT_EQ(SentenceSystem("$GAGSV,", 0, 33), S::Galileo);
  EXPECT_EQ(SentenceSystem("$GQGSV,", 0, 201), S::QZSS);
  EXPECT_EQ(SentenceSystem("$GBGSV,", 0, 201), S::BeiDou);
  EXPECT_EQ(SentenceSystem("$GLGSV,", 0, 0), S::GLONASS);
  // ...but a number only another system uses wins.
  EXPECT_EQ(SentenceSystem("$GLGSV,", 0, 120), S::SBAS);
  EXPECT_EQ(SentenceSystem("$GAGSV,", 0, 71), S::GLONASS);
  // Under GN and GP the number tells; without one GP is GPS and GN stays combined.
  EXPECT_EQ(SentenceSystem("$GNGSA,", 0, 71), S::GLONASS);
  EXPECT_EQ(SentenceSystem("$GNGSA,", 0, 5), S::GPS);
  EXPECT_EQ(SentenceSystem("$GNGSV,", 0, 311), S::Galileo);
  EXPECT_EQ(SentenceSystem("$GNGSA,", 0, 0), S::Combined);
  EXPECT_EQ(SentenceSystem("$GPGSV,", 0, 40), S::SBAS);
  EXPECT_EQ(SentenceSystem("$GPGSV,", 0, 88), S::GLONASS);
  EXPECT_EQ(SentenceSystem("$GPGSV,", 0, 0), S::GPS);
  EXPECT_EQ(SentenceSystem("$GPGSV,", 0, 999), S::GPS);
  EXPECT_EQ(SentenceSystem("junk", 0, 0), S::Unknown);
}

TEST(SatelliteSystem, NamesAsUsersReadThem) {
  struct Case { S system; int number; const char* name; };
  for (const Case& c : {Case{S::GPS, 5, "G05"}, Case{S::GLONASS, 71, "R07"},
                        Case{S::GLONASS, 7, "R07"}, Case{S::Galileo, 11, "E11"},
                        Case{S::Galileo, 311, "E11"}, Case{S::BeiDou, 23, "C23"},
                        Case{S::BeiDou, 223, "C23"}, Case{S::BeiDou, 423, "C23"},
                        Case{S::QZSS, 2, "J02"}, Case{S::QZSS, 194, "J02"},
                        Case{S::NavIC, 5, "I05"}, Case{S::SBAS, 33, "S120"},
                        Case{S::SBAS, 120, "S120"}, Case{S::GPS, 32, "G32"},
                        Case{S::Unknown, 500, "500"}, Case{S::Combined, 7, "7"}}) {
    EXPECT_EQ(TSatName(c.system, c.number).View(), c.name) << c.number;
  }
  // Out-of-range numbers from a hostile line still fit.
  EXPECT_EQ(TSatName(S::GPS, -2147483647 - 1).View(), "G-2147483648");
  EXPECT_EQ(SatSystemName(S::BeiDou), "BeiDou");
  EXPECT_EQ(SatSystemName(S::Unknown), "unknown");
}

}  // namespace
}  // namespace orlimo
