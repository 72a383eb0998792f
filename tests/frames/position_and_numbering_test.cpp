#include <gtest/gtest.h>

#include "frames/geodetic.h"
#include "frames/sat_numbering.h"

namespace orlimo {
namespace {

TEST(Geodetic, PublishedWGS84ExampleBothWays) {
  // The worked example of geocentric/geographic conversion in IOGP's EPSG
  // Guidance Note 7-2: 53°48'33.820"N 2°07'46.380"E, 73.0 m.
  const double lat = 53 + 48 / 60.0 + 33.820 / 3600;
  const double lon = 2 + 7 / 60.0 + 46.380 / 3600;
  const TGeodetic g = EcefToGeodetic(3771793.968, 140253.342, 5124304.349);
  ASSERT_TRUE(g.Valid);
  EXPECT_NEAR(g.Latitude, lat, 1e-8);  // 1 mm
  EXPECT_NEAR(g.Longitude, lon, 1e-8);
  EXPECT_NEAR(g.Height, 73.0, 1e-3);
  double x, y, z;
  GeodeticToEcef(lat, lon, 73.0, x, y, z);
  EXPECT_NEAR(x, 3771793.968, 1e-3);
  EXPECT_NEAR(y, 140253.342, 1e-3);
  EXPECT_NEAR(z, 5124304.349, 1e-3);
  // The poles, and the all-zero position of a receiver without a fix.
  EXPECT_NEAR(EcefToGeodetic(0, 0, -6356752.3142).Latitude, -90, 1e-9);
  EXPECT_FALSE(EcefToGeodetic(0, 0, 0).Valid);
}

TEST(SatNumbering, UBloxNumberingsGiveSystemAndNumber) {
  // NAV-SVINFO's single range.
  EXPECT_EQ(SatFromUBXSvid(33), (TSatId{TSatSystem::BeiDou, 6}));
  EXPECT_EQ(SatFromUBXSvid(71), (TSatId{TSatSystem::GLONASS, 7}));
  EXPECT_EQ(SatFromUBXSvid(159), (TSatId{TSatSystem::BeiDou, 1}));
  EXPECT_EQ(SatFromUBXSvid(221), (TSatId{TSatSystem::Galileo, 11}));
  EXPECT_EQ(SatFromUBXSvid(255), (TSatId{TSatSystem::GLONASS, 0}));
  EXPECT_EQ(SatFromUBXSvid(175).System, TSatSystem::Unknown);  // IMES
  // NAV-SAT's system and number.
  EXPECT_EQ(SatFromGnssId(3, 23), (TSatId{TSatSystem::BeiDou, 23}));
  EXPECT_EQ(SatFromGnssId(6, 255), (TSatId{TSatSystem::GLONASS, 0}));
  // Shown as people read them, and as NMEA numbers them.
  EXPECT_EQ(TSatName(SatFromUBXSvid(71).System, SatFromUBXSvid(71).Number), "R07");
  EXPECT_EQ(NMEASatNumber({TSatSystem::GLONASS, 7}), 71);
  EXPECT_EQ(NMEASatNumber({TSatSystem::SBAS, 135}), 48);
}

}  // namespace
}  // namespace orlimo
