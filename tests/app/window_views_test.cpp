// The instruments inside the window: what the session decodes reaches the satellite
// table and chart, the sky view and the speed instrument, at their places in the
// window; the window's unit switch drives the instrument and the read-outs together.
#include <QRadioButton>

#include <gtest/gtest.h>

#include "app/navi_panel.h"
#include "app/views/satellite_view.h"
#include "app/views/sky_view.h"
#include "app/views/speed_view.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

// Where the views' own drawing surfaces sit in the window: the top strip starts
// 62 pixels down; the satellite panel at (3, 3) of it with the chart at (3, 3)
// inside, the sky panel at (362, 3) with its picture at (3, 3) inside, the
// instrument at (1, 1) of the right-hand column, 248 wide.
constexpr QPoint kChart{3 + 3, 62 + 3 + 3};
constexpr QPoint kSky{362 + 3, 62 + 3 + 3};
constexpr QPoint kNeedleCentre{598 + 1 + 2 + 2 + 120, 62 + 1 + 2 + 1 + 120};

const QColor kUsed(0xBB, 0xFF, 0x77), kTracked(0x80, 0xBF, 0xFF), kIdle(0xFF, 0x80, 0xC0);
const QColor kChartNavy(0x00, 0x00, 0x40), kGridGreen(0x32, 0xC9, 0x48);
const QColor kNeedle(0xFF, 0x80, 0x80);

// The session's own receive path: the bytes as the port delivers them, then one pass.
void Receive(TFrmOrlimo& w, const std::vector<std::string>& lines) {
  std::string data;
  for (const std::string& l : lines) data += l + "\r\n";
  w.Session().Pipeline().CommGPSReceiveData(data.data(), data.size());
  w.Session().Pipeline().ProcessRxBuffer();
}

QImage Shot(TFrmOrlimo& w) {
  // The window below its menu bar, where every position was designed.
  QImage img(w.Client()->size(), QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::magenta);
  w.Client()->render(&img);
  return img;
}

// Bounding box of the pixels of colour `c` within 10 pixels of `centre`.
QRect Extent(const QImage& img, QPoint centre, const QColor& c) {
  QRect box;
  for (int y = centre.y() - 10; y <= centre.y() + 10; ++y)
    for (int x = centre.x() - 10; x <= centre.x() + 10; ++x)
      if (img.pixelColor(x, y) == c) box |= QRect(x, y, 1, 1);
  return box;
}

int CountNear(const QImage& img, QPoint p, const QColor& c, int reach = 2) {
  int n = 0;
  for (int y = p.y() - reach; y <= p.y() + reach; ++y)
    for (int x = p.x() - reach; x <= p.x() + reach; ++x) n += img.pixelColor(x, y) == c;
  return n;
}

// A point `radius` pixels from the needle's centre at compass `heading`.
QPoint OnNeedle(int heading, int radius) {
  const double a = heading * 3.14159265358979 / 180.0;
  return kNeedleCentre + QPoint(qRound(radius * std::sin(a)), qRound(-radius * std::cos(a)));
}

QRadioButton* UnitButton(TFrmOrlimo& w, const QString& text) {
  for (QRadioButton* b : w.findChildren<QRadioButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

class WindowViews : public ::testing::Test {
 protected:
  test::WindowRig rig;
  TFrmOrlimo& w = *rig.window;
  TXStringGrid& table = *w.SatelliteView()->xgGPSSI();

  QColor CellBackground(const QImage& shot, int col, int row) {
    const QRect r = table.cellRect(col, row).translated(table.mapTo(w.Client(), QPoint(0, 0)));
    return shot.pixelColor(r.left() + 1, r.top() + 2);
  }
};

TEST_F(WindowViews, ViewsSitInTheirPanels) {
  EXPECT_EQ(w.SatelliteView()->kx_GPSSI()->mapTo(w.Client(), QPoint(0, 0)), kChart);
  EXPECT_EQ(w.SkyView()->mapTo(w.Client(), TSkyView::kSkyOrigin), kSky);
  EXPECT_EQ(w.SpeedView()->SpeedNeedleMeter()->mapTo(w.Client(), QPoint(120, 120)), kNeedleCentre);
  EXPECT_EQ(w.SatelliteView()->size(), w.Panel5()->size());
  EXPECT_EQ(w.SkyView()->size(), w.Panel6()->size());
  EXPECT_EQ(w.SpeedView()->size(), w.Panel3()->size());
}

TEST_F(WindowViews, AReceivedCycleShowsInTableChartSkyAndInstrument) {
  Receive(w, {test::kRMC, test::kGGA, test::kGSA, test::kGSV, test::kGSV2, test::kGSV3});
  EXPECT_EQ(w.Session().NMEAData().GSV.MsgNum, 0);  // the cycle is marked drawn
  const QImage shot = Shot(w);

  // Table: PRNs in report order, state colours in the C/No and SV rows.
  const int prns[] = {4, 2, 13, 10, 24, 17, 5, 23, 30, 27};
  for (int col = 1; col <= 10; ++col) EXPECT_EQ(table.cell(col, 1), QString::number(prns[col - 1]));
  EXPECT_EQ(table.cell(11, 1), QString());
  EXPECT_EQ(CellBackground(shot, 1, 0), kUsed);
  EXPECT_EQ(CellBackground(shot, 7, 1), kTracked);
  EXPECT_EQ(CellBackground(shot, 10, 1), kIdle);
  EXPECT_EQ(CellBackground(shot, 2, 2), QColor(0x01, 0x28, 0x45));
  EXPECT_EQ(CellBackground(shot, 11, 0), QColor(Qt::black));

  // Chart: the first bar (42 dB-Hz) from row 41 down to the axis line, in
  // the strip's colours; nothing above it; no bar for slot 10 (no C/N0).
  const QPoint barTop = kChart + QPoint(38, 41);
  EXPECT_EQ(shot.pixelColor(barTop), QColor(0x63, 0xFF, 0xFF));
  EXPECT_EQ(shot.pixelColor(barTop + QPoint(0, 120 - 41)), QColor(0xA5, 0x00, 0x00));
  EXPECT_EQ(shot.pixelColor(barTop - QPoint(0, 1)), kChartNavy);
  EXPECT_EQ(shot.pixelColor(barTop + QPoint(12, 10)), kChartNavy);
  for (int y = 6; y < 124; ++y) {
    const QColor c = shot.pixelColor(kChart + QPoint(38 + 26 * 9 + 5, y));
    ASSERT_TRUE(c == kChartNavy || c == kGridGreen) << y;
  }

  // Sky: 14-pixel dots at the report's positions, in state colours.
  EXPECT_EQ(Extent(shot, kSky + QPoint(125, 91), kUsed), QRect(kSky + QPoint(118, 84), QSize(14, 14)));
  EXPECT_EQ(Extent(shot, kSky + QPoint(185, 143), kIdle), QRect(kSky + QPoint(178, 136), QSize(14, 14)));
  EXPECT_EQ(Extent(shot, kSky + QPoint(39, 60), kTracked), QRect(kSky + QPoint(32, 53), QSize(14, 14)));

  // Instrument: 22.12 knots is 41.0 km/h on the counter; the needle has left
  // zero for Round(40.97 x 0.75 + 225) = 256; the pointer shows the course.
  const TSpeedView& speed = *w.SpeedView();
  EXPECT_EQ(speed.Counter()->value(), 410u);
  EXPECT_EQ(speed.SpeedNeedleMeter()->heading(), 256);
  EXPECT_EQ(speed.CoursePointer()->heading(), 251);
  EXPECT_GE(CountNear(shot, OnNeedle(256, 40), kNeedle), 2);
  EXPECT_GE(CountNear(shot, OnNeedle(256, 70), kNeedle), 2);
  EXPECT_EQ(CountNear(shot, OnNeedle(225, 50), kNeedle), 0);
  EXPECT_EQ(w.Panel10()->Text(nlSOG), "41.0 Km/H ");
}

TEST_F(WindowViews, LaterPassesLeaveTheViewsUntilTheNextCycleCompletes) {
  Receive(w, {test::kGSA, test::kGSV, test::kGSV2, test::kGSV3});
  const QImage first = Shot(w);
  const QRect sky(kSky, QSize(211, 211));

  // A pass without satellites, then the first half of a new cycle: nothing moves.
  Receive(w, {test::kRMC});
  Receive(w, {"$GPGSV,2,1,05,07,80,010,45,08,50,100,40,09,30,200,35,11,10,300,30*77"});
  const QImage middle = Shot(w);
  EXPECT_EQ(table.cell(1, 1), QStringLiteral("4"));
  EXPECT_EQ(middle.copy(sky), first.copy(sky));
  EXPECT_EQ(middle.copy(QRect(kChart, QSize(349, 128))), first.copy(QRect(kChart, QSize(349, 128))));

  // The cycle completes: five satellites, the rest of the table emptied.
  Receive(w, {"$GPGSV,2,2,05,12,45,045,25*48"});
  const QImage second = Shot(w);
  EXPECT_EQ(table.cell(1, 1), QStringLiteral("7"));
  EXPECT_EQ(table.cell(5, 1), QStringLiteral("12"));
  EXPECT_EQ(table.cell(6, 1), QString());
  EXPECT_EQ(CellBackground(second, 6, 0), QColor(Qt::black));
  EXPECT_NE(second.copy(sky), first.copy(sky));
  // PRN 4 is gone from (125, 91); PRN 7, not used now, is tracked near the zenith.
  EXPECT_TRUE(Extent(second, kSky + QPoint(125, 91), kUsed).isEmpty());
  EXPECT_FALSE(Extent(second, kSky + QPoint(105 + 1, 106 - 10), kTracked).isEmpty());
}

TEST_F(WindowViews, UnitSwitchTurnsInstrumentAndReadOutsTogether) {
  Receive(w, {test::kRMC, test::kGGA, test::kGSA});
  const QImage kmDial = w.SpeedView()->DialImage();
  QRadioButton* mile = UnitButton(w, QStringLiteral("Mile"));
  QRadioButton* km = UnitButton(w, QStringLiteral("Km"));
  ASSERT_TRUE(mile && km);

  // No new sentence since the last pass: the switch alone redraws everything.
  mile->click();
  const TSpeedView& speed = *w.SpeedView();
  EXPECT_EQ(speed.SpeedCaption(), QStringLiteral("Mile/H"));
  EXPECT_NE(speed.DialImage(), kmDial);
  EXPECT_EQ(speed.Counter()->value(), 255u);                // 25.47 mile/h
  EXPECT_EQ(speed.SpeedNeedleMeter()->heading(), 254);      // Round(28.65 + 225)
  EXPECT_EQ(w.Panel10()->Text(nlSOG), "25.5 Mile/H ");
  EXPECT_EQ(w.Panel10()->Text(nlAlt), "256.9 ft ");
  EXPECT_DOUBLE_EQ(w.Unit().SpeedFactor, speed.SpeedFactor());
  EXPECT_GE(CountNear(Shot(w), OnNeedle(254, 60), kNeedle), 2);

  // The next pass keeps the new unit.
  Receive(w, {test::kRMC, test::kGGA});
  EXPECT_EQ(w.Panel10()->Text(nlSOG), "25.5 Mile/H ");

  km->click();
  EXPECT_EQ(speed.SpeedCaption(), QStringLiteral("Km/H"));
  EXPECT_EQ(speed.DialImage(), kmDial);
  EXPECT_EQ(speed.Counter()->value(), 410u);
  EXPECT_EQ(w.Panel10()->Text(nlSOG), "41.0 Km/H ");
  EXPECT_EQ(w.Panel10()->Text(nlAlt), "78.3 m ");
}

}  // namespace
}  // namespace orlimo
