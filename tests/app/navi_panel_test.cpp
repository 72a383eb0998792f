#include <gtest/gtest.h>

#include "app/navi_format.h"
#include "app/navi_panel.h"
#include "app/views/satellite_view.h"
#include "app/views/sky_view.h"
#include "app/views/speed_view.h"
#include "app_test_support.h"
#include "nmea/decoder.h"
#include "nmea/sentence.h"
#include "widgets/pz_label.h"

namespace orlimo {
namespace {

using test::kGGA;
using test::kGLL;
using test::kGSA;
using test::kRMC;

constexpr int kSeoul = 9 * 3600;

TqvNMEA Decoded(std::initializer_list<std::string> lines) {
  TqvNMEA nmea;
  TSentenceType type{};
  for (const std::string& l : lines) {
    EXPECT_TRUE(nmea.DecodeSentence(l, type)) << l;
    nmea.SentenceSeen[type] = true;  // as the receive pipeline marks them
  }
  return nmea;
}

std::string Text(const TNaviTexts& t, TNaviLabel which) { return t.Text[which].value_or("<unchanged>"); }

TEST(NaviTexts, SampleFixInKilometresAndMiles) {
  const TqvNMEA nmea = Decoded({kRMC, kGGA, kGSA});
  const TNaviTexts km = ComputeNaviTexts(nmea, TUnitSelection::Km(), kSeoul);
  ASSERT_FALSE(km.Clear);
  EXPECT_EQ(Text(km, nlLat), "N  37.504153\xB0");
  EXPECT_EQ(Text(km, nlLon), "E 127.047772\xB0");
  EXPECT_EQ(Text(km, nlAlt), "78.3 m ");
  EXPECT_EQ(Text(km, nlFix), "3D ");
  EXPECT_EQ(Text(km, nlSOG), "41.0 Km/H ");
  EXPECT_EQ(Text(km, nlCOG), "251.4\xB0");
  EXPECT_EQ(Text(km, nlSVCNT), "7 ");
  EXPECT_EQ(Text(km, nlGPSTime), "2006/04/20 02:34:41 ");
  EXPECT_EQ(Text(km, nlLocalTime), "2006/04/20 11:34:41 ");

  const TNaviTexts mile = ComputeNaviTexts(nmea, TUnitSelection::Mile(), kSeoul);
  EXPECT_EQ(Text(mile, nlAlt), "256.9 ft ");
  EXPECT_EQ(Text(mile, nlSOG), "25.5 Mile/H ");
}

TEST(NaviTexts, LocalTimeCrossesTheDateLineBothWays) {
  const TqvNMEA nmea = Decoded({kRMC});
  EXPECT_EQ(Text(ComputeNaviTexts(nmea, TUnitSelection::Km(), -5 * 3600), nlLocalTime),
            "2006/04/19 21:34:41 ");
  EXPECT_EQ(Text(ComputeNaviTexts(nmea, TUnitSelection::Km(), 22 * 3600), nlLocalTime),
            "2006/04/21 00:34:41 ");
}

TEST(NaviTexts, OnlyGGAGivesTimeOfDayAndKeepsSpeed) {
  const TqvNMEA nmea = Decoded({kGGA});
  const TNaviTexts t = ComputeNaviTexts(nmea, TUnitSelection::Km(), kSeoul);
  EXPECT_EQ(Text(t, nlLat), "N  37.504153\xB0");
  EXPECT_EQ(Text(t, nlGPSTime), "           02:34:41 ");
  EXPECT_EQ(Text(t, nlLocalTime), "           11:34:41 ");
  EXPECT_FALSE(t.Text[nlSOG].has_value());
  EXPECT_FALSE(t.Text[nlCOG].has_value());
  EXPECT_EQ(Text(t, nlFix), "  ");  // no GSA yet: the blank entry and the blank after it
  EXPECT_EQ(Text(t, nlSVCNT), "0 ");
}

TEST(NaviTexts, SourcePriorityAndSilentRefresh) {
  TqvNMEA nmea = Decoded({kGLL, kGGA});
  nmea.GGA.Latitude = 10.0;  // GLL outranks GGA
  EXPECT_EQ(Text(ComputeNaviTexts(nmea, TUnitSelection::Km(), 0), nlLat), "N  37.504153\xB0");

  nmea.SentenceSeen.fill(false);  // fix still valid, nothing new: nothing changes
  const TNaviTexts t = ComputeNaviTexts(nmea, TUnitSelection::Km(), 0);
  EXPECT_FALSE(t.Clear);
  for (const auto& text : t.Text) EXPECT_FALSE(text.has_value());
}

TEST(NaviTexts, CenturyRuleAndDatesThatDoNotExist) {
  TqvNMEA nmea = Decoded({kRMC});
  nmea.RMC.Date.Year = 99;
  EXPECT_EQ(Text(ComputeNaviTexts(nmea, TUnitSelection::Km(), 0), nlGPSTime), "1999/04/20 02:34:41 ");
  nmea.RMC.Date.Year = 50;
  EXPECT_EQ(Text(ComputeNaviTexts(nmea, TUnitSelection::Km(), 0), nlGPSTime), "2050/04/20 02:34:41 ");

  // No date field: the GPS text is still written, the local time has nothing to show.
  nmea.RMC.Date = {};
  const TNaviTexts t = ComputeNaviTexts(nmea, TUnitSelection::Km(), kSeoul);
  EXPECT_EQ(Text(t, nlGPSTime), "2000/00/00 02:34:41 ");
  EXPECT_EQ(Text(t, nlLocalTime), "");
}

TEST(NaviTexts, LostFixClearsEverything) {
  const TqvNMEA nmea = Decoded({kRMC, kGGA,
                                "$GPRMC,023442.000,V,3730.2492,N,12702.8663,E,0.00,251.43,200406,,,N*73"});
  EXPECT_TRUE(ComputeNaviTexts(nmea, TUnitSelection::Km(), 0).Clear);
}

// Checksum-valid sentences with numbers that no receiver sends, through the texts,
// the panel and the views (the sanitizer build aborts on an out-of-range conversion).
TEST(NaviTexts, ValuesNoReceiverSendsShowAsNoValue) {
  test::App();
  const auto framed = [](const std::string& body) { return body + NMEAChecksumSuffix(body); };
  const struct {
    std::string line;
    std::vector<TNaviLabel> empty;
  } cases[] = {
      {"$GPRMC,000099e99,A,4807.0380,N,01131.0000,E,12.5,84.4,230394,003.1,W,A*6D", {nlGPSTime, nlLocalTime}},
      {framed("$GPRMC,240000,A,9100.0,N,1e300,E,1e308,360.1,230394,,,A"),
       {nlLat, nlLon, nlSOG, nlCOG, nlGPSTime, nlLocalTime}},
      {framed("$GPRMC,235961.5,A,3730.0,N,12702.0,E,20001,-0.1,230394,,,A"),
       {nlSOG, nlCOG, nlGPSTime, nlLocalTime}},
      {framed("$GPGGA,0000-0.5,3730.0,N,12702.0,E,1,07,1.0,1e300,M,,M,,"), {nlAlt, nlGPSTime, nlLocalTime}},
      {framed("$GPVTG,1e300,T,,M,-1,N,,K,A"), {nlSOG, nlCOG}},
  };
  TNaviPanel panel;
  TSpeedView speed;
  for (const auto& c : cases) {
    TqvNMEA nmea = Decoded({kRMC, kGGA, c.line});
    if (c.line.find("RMC") == std::string::npos) nmea.SentenceSeen[stRMC] = false;  // GGA's time, VTG's speed
    const TNaviTexts t = ComputeNaviTexts(nmea, TUnitSelection::Km(), kSeoul);
    for (TNaviLabel label : c.empty) EXPECT_EQ(Text(t, label), "") << c.line << " label " << label;
    panel.UpdateNaviPanel(nmea, TUnitSelection::Km());
    panel.ShowInUnit(TUnitSelection::Mile());
    for (TNaviLabel label : c.empty) EXPECT_EQ(panel.Text(label), "") << c.line << " label " << label;
  }
  EXPECT_EQ(Text(ComputeNaviTexts(Decoded({cases[0].line}), TUnitSelection::Km(), 0), nlSOG), "23.2 Km/H ");

  // The instrument rests, as with no value.
  speed.ShowSpeedAndCourse(Decoded({kRMC}));
  speed.ShowSpeedAndCourse(Decoded({cases[1].line}));
  EXPECT_EQ(speed.Counter()->value(), 0u);
  EXPECT_EQ(speed.SpeedNeedleMeter()->heading(), kScaleZeroHeading);
  EXPECT_EQ(speed.CoursePointer()->heading(), 0);

  // Satellites above the zenith, below the nadir or off the circle have no dot.
  const TqvNMEA gsv =
      Decoded({framed("$GPGSV,1,1,04,01,127,100,40,02,-91,100,40,03,45,361,40,-1,-128,-32768,-128")});
  TSkyView sky;
  sky.DrawSkyView(gsv);
  QImage empty(sky.Layer().size(), sky.Layer().format());
  empty.fill(Qt::transparent);
  EXPECT_EQ(sky.Layer(), empty);
  TSatelliteView sats;
  sats.ShowSatelliteTable(gsv);
  for (QWidget* w : std::initializer_list<QWidget*>{&panel, &speed, &sky, &sats})
    EXPECT_FALSE(w->grab().isNull());
}

TEST(NaviPanel, ReadOutsSitWhereTheyBelongAndEmptyOnLostFix) {
  test::App();
  TNaviPanel panel;
  panel.SetUtcOffsetSource([] { return kSeoul; });
  TqvNMEA nmea = Decoded({kRMC, kGGA, kGSA});
  panel.UpdateNaviPanel(nmea, TUnitSelection::Km());
  EXPECT_EQ(panel.Text(nlLat), "N  37.504153\xB0");
  EXPECT_EQ(panel.Text(nlLocalTime), "2006/04/20 11:34:41 ");

  const TpzLabel* svcnt = panel.Label(nlSVCNT);
  EXPECT_EQ(svcnt->geometry(), QRect(144, 183, 95, 25));
  EXPECT_EQ(panel.Label(nlGPSTime)->geometry(), QRect(87, 213, 153, 25));
  EXPECT_EQ(panel.Label(nlGPSTime)->font().pixelSize(), 11);
  EXPECT_EQ(svcnt->font().pixelSize(), 15);
  EXPECT_TRUE(svcnt->font().bold());
  EXPECT_EQ(svcnt->alignment(), TAlignment::taRightJustify);
  EXPECT_EQ(svcnt->bevelOuter(), TLabelBevel::lbRaised);
  EXPECT_EQ(svcnt->fontColor(), QColor(0xFF, 0xB3, 0xB3));
  EXPECT_TRUE(panel.Captions()->text().startsWith(QStringLiteral("Latitude :\n\nLongitude : \n")));

  // Speed only from RMC or VTG: a GGA alone leaves it as it was.
  nmea.SentenceSeen.fill(false);
  nmea.SentenceSeen[stGGA] = true;
  panel.UpdateNaviPanel(nmea, TUnitSelection::Km());
  EXPECT_EQ(panel.Text(nlSOG), "41.0 Km/H ");
  EXPECT_EQ(panel.Text(nlGPSTime), "           02:34:41 ");

  nmea.FixValid = false;
  panel.UpdateNaviPanel(nmea, TUnitSelection::Km());
  for (int i = 0; i < kNaviLabelCount; ++i) EXPECT_EQ(panel.Text(static_cast<TNaviLabel>(i)), "");
}

TEST(NaviPanel, ChangeOfUnitRewritesTheSpeedAndAltitudeOnShow) {
  test::App();
  TNaviPanel panel;
  panel.SetUtcOffsetSource([] { return 0; });
  panel.ShowInUnit(TUnitSelection::Mile());  // nothing shown yet: stays empty
  EXPECT_EQ(panel.Text(nlSOG), "");
  EXPECT_EQ(panel.Text(nlAlt), "");

  panel.UpdateNaviPanel(Decoded({kRMC, kGGA, kGSA}), TUnitSelection::Km());
  panel.ShowInUnit(TUnitSelection::Mile());
  EXPECT_EQ(panel.Text(nlSOG), "25.5 Mile/H ");
  EXPECT_EQ(panel.Text(nlAlt), "256.9 ft ");
  EXPECT_EQ(panel.Text(nlCOG), "251.4\xB0");

  // The last speed shown counts, whichever sentence brought it.
  panel.UpdateNaviPanel(Decoded({"$GPVTG,90.00,T,,M,10.00,N,18.52,K,A*0B", kGLL}), TUnitSelection::Mile());
  EXPECT_EQ(panel.Text(nlSOG), "11.5 Mile/H ");
  panel.ShowInUnit(TUnitSelection::Km());
  EXPECT_EQ(panel.Text(nlSOG), "18.5 Km/H ");
  EXPECT_EQ(panel.Text(nlAlt), "78.3 m ");

  // A lost fix empties the read-outs for good, not until the next change of unit.
  TqvNMEA lost = Decoded({kRMC});
  lost.FixValid = false;
  panel.UpdateNaviPanel(lost, TUnitSelection::Km());
  panel.ShowInUnit(TUnitSelection::Mile());
  EXPECT_EQ(panel.Text(nlSOG), "");
  EXPECT_EQ(panel.Text(nlAlt), "");
}

}  // namespace
}  // namespace orlimo
