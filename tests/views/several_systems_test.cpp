// The chart, table and sky of a receiver of several systems: the 12 most useful
// satellites in columns that keep their order, names with the system's letter, and
// every satellite of the sky on the sky view.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/views/satellite_choice.h"
#include "app/views/satellite_view.h"
#include "app/views/sky_view.h"
#include "nmea/sentence.h"
#include "widget_test_support.h"

namespace orlimo {
namespace {

void Feed(TqvNMEA& nmea, std::string body) {
  const std::string line = body + NMEAChecksumSuffix(body);
  nmea.Sky.AddSentence(GetSentenceType(line), line);
}

// GPS 1-8 and Galileo 1-8 in view at 45 degrees (C/N0 20 + number), GLONASS 65-72
// weak and low; 14 used.
void FourteenUsed(TqvNMEA& nmea, int g05snr = 25) {
  for (const char* talker : {"GP", "GA", "GL"}) {
    const int base = std::string(talker) == "GL" ? 64 : 0;
    for (int m = 1; m <= 2; ++m) {
      std::string body = std::string("$") + talker + "GSV,2," + std::to_string(m) + ",08";
      for (int i = 1; i <= 4; ++i) {
        const int n = base + 4 * (m - 1) + i;
        const int snr = base ? 10 : (std::string(talker) == "GP" && n == 5 ? g05snr : 20 + n);
        for (int field : {n, base ? 20 : 45, 40 * i, snr}) {
          body += ',';
          body += std::to_string(field);
        }
      }
      Feed(nmea, body);
    }
  }
  Feed(nmea, "$GNGSA,A,3,01,02,03,04,05,06,07,,,,,,1.0,0.6,0.8,1");
  Feed(nmea, "$GNGSA,A,3,01,02,03,04,05,06,07,,,,,,1.0,0.6,0.8,3");
  Feed(nmea, "$GNRMC,120000.00,A,4807.038,N,01131.000,E,0.0,0.0,010120,,,A,V");
}

TEST(SeveralSystems, UsedSatellitesFillTheColumnsFirstAndKeepTheirPlaces) {
  test::app();
  TSatelliteView view;
  TqvNMEA nmea;
  FourteenUsed(nmea);
  ASSERT_TRUE(nmea.Sky.SeveralCycles());
  view.ShowSatelliteTable(nmea);
  const TXStringGrid& g = *view.xgGPSSI();
  // 14 used: the 12 strongest of them, by system and number; the weak GLONASS wait.
  const char* names[] = {"G02", "G03", "G04", "G05", "G06", "G07", "E02", "E03", "E04", "E05", "E06", "E07"};
  for (int col = 1; col <= 12; ++col) EXPECT_EQ(g.cell(col, 1), names[col - 1]) << col;
  for (int col = 1; col <= 12; ++col) EXPECT_EQ(view.GetSatelliteState(col).state, kSatUsed);
  EXPECT_EQ(g.cell(4, 0), "25");

  // G05 fades below G01's 21 dB-Hz, not by enough to give up its column...
  FourteenUsed(nmea, 19);
  view.ShowSatelliteTable(nmea);
  EXPECT_EQ(g.cell(4, 1), "G05");
  // ...until it is clearly weaker: G01 takes its turn, in system order.
  FourteenUsed(nmea, 12);
  view.ShowSatelliteTable(nmea);
  EXPECT_EQ(g.cell(1, 1), "G01");
  EXPECT_EQ(g.cell(4, 1), "G04");
  EXPECT_EQ(g.cell(5, 1), "G06");
}

TEST(SeveralSystems, SkyViewShowsEverySystemsSatellites) {
  test::app();
  TSkyView view;
  TqvNMEA nmea;
  FourteenUsed(nmea);
  view.DrawSkyView(nmea);
  // Used GPS and Galileo satellites in green, the GLONASS ones tracked, in blue.
  const QImage& layer = view.Layer();
  const QPoint used = PolarToPoint(40, SkyRadius(45), layer.width(), layer.height());
  const QPoint glonass = PolarToPoint(40, SkyRadius(20), layer.width(), layer.height());
  EXPECT_EQ(layer.pixelColor(used + QPoint(0, -6)), kSatUsedColor);
  EXPECT_EQ(layer.pixelColor(glonass + QPoint(0, -6)), kSatTrackedColor);
  // No sky change, no redraw: a second call leaves the layer as it is.
  const QImage before = layer;
  view.DrawSkyView(nmea);
  EXPECT_EQ(view.Layer(), before);
}

TEST(SeveralSystems, PackedSkyNamesNeverOverlap) {
  test::app();
  TSkyView view;
  TqvNMEA nmea;
  // 40 satellites, 16 GPS and 12 each of Galileo and GLONASS, a few pixels apart
  // in one corner of the sky.
  int k = 0;
  for (auto [talker, count] : {std::pair{"GP", 16}, std::pair{"GA", 12}, std::pair{"GL", 12}}) {
    const int messages = count / 4;
    for (int m = 1; m <= messages; ++m) {
      std::string body = std::string("$") + talker + "GSV," + std::to_string(messages) + "," + std::to_string(m) +
                         "," + std::to_string(count);
      for (int i = 1; i <= 4; ++i, ++k) {
        const int n = (std::string(talker) == "GL" ? 64 : 0) + 4 * (m - 1) + i;
        for (int field : {n, 40 + (k % 8) * 3, 60 + (k / 8) * 5, 30}) {
          body += ',';
          body += std::to_string(field);
        }
      }
      Feed(nmea, body);
    }
  }
  Feed(nmea, "$GNRMC,120000.00,A,4807.038,N,01131.000,E,0.0,0.0,010120,,,A,V");
  ASSERT_EQ(nmea.Sky.Satellites().size(), 40u);
  view.DrawSkyView(nmea);
  const std::vector<QRect>& names = view.LabelRects();
  EXPECT_GE(names.size(), 8u);
  for (std::size_t i = 0; i < names.size(); ++i)
    for (std::size_t j = i + 1; j < names.size(); ++j) EXPECT_FALSE(names[i].intersects(names[j])) << i << " " << j;
}

TEST(SeveralSystems, ChoiceNeverExceedsItsColumns) {
  TSkySat sky[3] = {{TSatSystem::GPS, 1, 0, 0, 30, false, false},
                    {TSatSystem::GPS, 2, 0, 0, 40, false, true},
                    {TSatSystem::GLONASS, 65, 0, 0, 50, false, false}};
  TSkySat out[2];
  ASSERT_EQ(ChooseShownSatellites(sky, {}, out), 2u);
  EXPECT_EQ(out[0].Number, 2);  // used first
  EXPECT_EQ(out[1].Number, 65);
  EXPECT_EQ(ChooseShownSatellites({}, {}, out), 0u);
}

}  // namespace
}  // namespace orlimo
