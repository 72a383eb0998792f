#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "app/views/artwork/view_art.h"
#include "app/views/speed_view.h"
#include "widget_test_support.h"

namespace orlimo {
namespace {

using test::px;

TEST(SpeedMath, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(495.5), 496);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(-3.6), -4);
  EXPECT_EQ(CourseHeading(0.5), 0);
  EXPECT_EQ(CourseHeading(359.6), 360);
  EXPECT_EQ(CourseHeading(251.43), 251);
  EXPECT_EQ(SliderNeedle(1).heading, 226);  // 226.5
  EXPECT_EQ(SliderNeedle(3).heading, 230);  // 229.5
}

TEST(SpeedMath, KmAndMileExamples) {
  EXPECT_EQ(SpeedCounterValue(0, kKmSpeedFactor), 0u);
  EXPECT_EQ(SpeedNeedle(0, kKmSpeedFactor, kKmFullScale).heading, 225);
  EXPECT_EQ(SpeedCounterValue(100, kKmSpeedFactor), 1852u);
  EXPECT_EQ(SpeedNeedle(100, kKmSpeedFactor, kKmFullScale).heading, 364);
  EXPECT_EQ(SpeedCounterValue(100, kMileSpeedFactor), 1152u);
  EXPECT_EQ(SpeedNeedle(100, kMileSpeedFactor, kMileFullScale).heading, 355);
  // up to the scale end the needle follows; past 495.5 it is held at the end
  for (double knots : {194.4, 194.5}) {
    const TNeedlePosition n = SpeedNeedle(knots, kKmSpeedFactor, kKmFullScale);
    EXPECT_EQ(n.heading, 495) << knots;
    EXPECT_FALSE(n.overRange);
  }
  const TNeedlePosition over = SpeedNeedle(195, kKmSpeedFactor, kKmFullScale);
  EXPECT_EQ(over.heading, 135);
  EXPECT_TRUE(over.overRange);
  EXPECT_FALSE(SliderNeedle(180).overRange);
  EXPECT_EQ(SliderNeedle(180).heading, 495);
  EXPECT_TRUE(SliderNeedle(181).overRange);  // 496.5 rounds to 496
}

TEST(SpeedMath, UnreasonableInputStaysInRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(SpeedCounterValue(-5, kKmSpeedFactor), 0u);
  EXPECT_EQ(SpeedCounterValue(nan, kKmSpeedFactor), 0u);
  EXPECT_EQ(SpeedCounterValue(1e300, kKmSpeedFactor), 4294967295u);
  EXPECT_EQ(SpeedCounterValue(inf, kKmSpeedFactor), 4294967295u);
  EXPECT_EQ(SpeedNeedle(-5, kKmSpeedFactor, kKmFullScale).heading, 225);
  EXPECT_EQ(SpeedNeedle(nan, kKmSpeedFactor, kKmFullScale).heading, 225);
  EXPECT_TRUE(SpeedNeedle(1e300, kKmSpeedFactor, kKmFullScale).overRange);
  EXPECT_EQ(CourseHeading(nan), 0);
  EXPECT_EQ(CourseHeading(1e300) % 360, int(RoundHalfEven(std::fmod(1e300, 360.0))) % 360);
  EXPECT_EQ(CourseHeading(-1e12), int(RoundHalfEven(std::fmod(-1e12, 360.0))));
}

class SpeedViewTest : public test::WidgetFixture {
 protected:
  TSpeedView view;
  TqvNMEA nmea;
  int refreshes = 0;

  SpeedViewTest() {
    view.SetOnRefreshViews([this] { ++refreshes; });
  }
  void Show(double knots, double course = 0) {
    nmea.RMC.SpeedKnots = knots;
    nmea.RMC.Course = course;
    view.ShowSpeedAndCourse(nmea);
  }
  // The hub of the speed needle, as painted: a pixel beside its centre, off the needle's path.
  QColor Hub() { return px(test::render(view), 2 + 2 + 120 + 5, 2 + 1 + 120 - 5); }
};

TEST_F(SpeedViewTest, StartsInKmAtRest) {
  EXPECT_EQ(view.SpeedFactor(), 1.852);
  EXPECT_EQ(view.SpeedCaption(), "Km/H");
  Show(0);
  EXPECT_EQ(view.SpeedNeedleMeter()->heading(), 225);
  EXPECT_EQ(view.CoursePointer()->heading(), 0);
  EXPECT_EQ(TdkOdometer::digitText(view.Counter()->value(), TBaseType::btDecimal, 4), "0000");
  EXPECT_EQ(Hub(), kHubColor);
}

TEST_F(SpeedViewTest, KmAndMileReadings) {
  Show(100, 359.6);
  EXPECT_EQ(view.Counter()->value(), 1852u);
  EXPECT_EQ(view.SpeedNeedleMeter()->heading(), 364);
  EXPECT_EQ(view.CoursePointer()->heading(), 360);

  const QImage kmDial = view.DialImage();
  view.rgUNITClick(1);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(view.SpeedFactor(), 1.15151515);
  EXPECT_EQ(view.SpeedCaption(), "Mile/H");
  EXPECT_NE(view.DialImage(), kmDial);
  Show(100, 0.5);
  EXPECT_EQ(view.Counter()->value(), 1152u);
  EXPECT_EQ(view.SpeedNeedleMeter()->heading(), 355);
  EXPECT_EQ(view.CoursePointer()->heading(), 0);

  view.rgUNITClick(2);  // not an item: nothing changes, nothing refreshed
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(view.UnitIndex(), 1);
  view.rgUNITClick(0);
  EXPECT_EQ(refreshes, 2);
  EXPECT_EQ(view.DialImage(), kmDial);

  Show(1000.0 / 1.852);  // 1000.0 km/h is 10000 tenths: past the four wheels
  EXPECT_EQ(view.Counter()->value(), 1u);
}

TEST_F(SpeedViewTest, OverRangeTurnsTheHubAndBack) {
  Show(194.5);
  EXPECT_EQ(view.SpeedNeedleMeter()->heading(), 495);
  EXPECT_EQ(Hub(), kHubColor);
  Show(250);
  EXPECT_EQ(view.SpeedNeedleMeter()->heading(), 135);
  EXPECT_EQ(view.SpeedNeedleMeter()->color(), kOverRangeHubColor);
  EXPECT_EQ(Hub(), kOverRangeHubColor);
  Show(10);
  EXPECT_EQ(view.SpeedNeedleMeter()->color(), kHubColor);
  EXPECT_EQ(Hub(), kHubColor);
  // a hub colour set by someone else is left alone while in range
  view.SpeedNeedleMeter()->setColor(Qt::blue);
  Show(20);
  EXPECT_EQ(view.SpeedNeedleMeter()->color(), QColor(Qt::blue));
}

TEST_F(SpeedViewTest, NeedleIsDrawnAtItsHeading) {
  Show(0);
  // speed needle 225 degrees from its centre (122, 121 in the client): down-left
  const QImage rest = test::render(view);
  const QColor needle(0xFF, 0x80, 0x80);
  const QPoint c(2 + 2 + 120, 2 + 1 + 120);
  EXPECT_EQ(px(rest, c.x() - 45, c.y() + 45), needle);
  Show(120 / 1.852);  // 120 km/h: up to the left (heading 315)
  const QImage left = test::render(view);
  EXPECT_EQ(px(left, c.x() - 40, c.y() - 40), needle);
  EXPECT_NE(px(left, c.x() - 45, c.y() + 45), needle);
}

// The pointer and the needle on a ring letter or a scale label leave all of its
// ink showing as the dial has it; at rest they point at the red N and the "0".
TEST_F(SpeedViewTest, PointerAndNeedleNeverHideTheLetterOrLabelTheyPointAt) {
  const QImage& dial = view.DialImage();
  // Ink pixels within `half` of a dial point, and how many the view shows unchanged.
  const auto inkShown = [&](double heading, double radius, int half, auto isInk) {
    const QImage shown = test::render(view);
    const double a = heading * std::numbers::pi / 180;
    const QPoint c(int(viewart::kDialCentre.x() + 0.5 + radius * std::sin(a)),
                   int(viewart::kDialCentre.y() + 0.5 - radius * std::cos(a)));
    int ink = 0, same = 0;
    for (int y = c.y() - half; y <= c.y() + half; ++y)
      for (int x = c.x() - half; x <= c.x() + half; ++x)
        if (isInk(dial.pixelColor(x, y))) {
          ++ink;
          same += px(shown, x + 2, y + 2) == dial.pixelColor(x, y) ? 1 : 0;
        }
    EXPECT_GT(ink, 4) << heading << " at " << radius;
    EXPECT_EQ(same, ink) << heading << " at " << radius;
  };
  const auto red = [](QColor c) { return c.red() > 180 && c.green() < 140; };
  const auto light = [](QColor c) { return c.lightness() > 150; };
  for (int i = 0; i < 4; ++i) {
    Show(0, 90 * i);
    inkShown(90 * i, viewart::kRingLetterRadius, 4, i == 0 ? +red : +light);
    inkShown(225, viewart::kScaleLabelRadius, 3, light);
  }
  for (int k = 0; k <= 12; ++k) {  // labels every 30 km/h, 22.5 degrees apart
    const double at = std::fmod(225 + 22.5 * k, 360);
    Show(30.0 * k / kKmSpeedFactor, at);
    inkShown(at, viewart::kScaleLabelRadius, 3, light);
  }
}

TEST_F(SpeedViewTest, TestSliderIgnoresTheUnit) {
  view.SetTenthsSource([] { return 7; });
  view.rgUNITClick(1);
  view.ScrollBarMeterChange(12);
  EXPECT_EQ(view.Counter()->value(), 127u);
  EXPECT_EQ(view.CoursePointer()->heading(), 12);
  EXPECT_EQ(view.SpeedNeedleMeter()->heading(), 243);
  view.ScrollBarMeterChange(181);
  EXPECT_EQ(view.SpeedNeedleMeter()->heading(), 135);
  EXPECT_EQ(view.SpeedNeedleMeter()->color(), kOverRangeHubColor);
  view.ScrollBarMeterChange(180);
  EXPECT_EQ(view.SpeedNeedleMeter()->color(), kHubColor);
}

TEST(ViewArtwork, SizesAndBands) {
  test::app();
  EXPECT_EQ(viewart::KmDialPicture().size(), QSize(245, 243));
  EXPECT_EQ(viewart::MileDialPicture().size(), QSize(245, 243));
  EXPECT_EQ(viewart::DigitStrip().size(), QSize(15, 340));
  EXPECT_NE(viewart::DigitStrip(), viewart::RedDigitStrip());
  const QImage strip = viewart::ColourStrip();
  ASSERT_EQ(strip.size(), QSize(62, 119));
  const struct {
    int row;
    QRgb colour;
  } rows[] = {{0, 0x6363FF},   {1, 0x0000FF},   {9, 0x0000FF},  {10, 0x0063FF}, {38, 0x63FFFF},
              {39, 0xCEFFFF},  {58, 0xFFFF9C},  {68, 0xFFFF00}, {87, 0xFF9C63}, {88, 0xFF7B84},
              {107, 0xFF2929}, {117, 0xA50000}, {118, 0xB5EFBD}};
  for (const auto& r : rows)
    for (int x : {47, 53, 59}) EXPECT_EQ(strip.pixel(x, r.row) & 0xFFFFFF, r.colour) << r.row;
}

}  // namespace
}  // namespace orlimo
