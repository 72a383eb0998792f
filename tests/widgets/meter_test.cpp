#include <gtest/gtest.h>

#include <climits>

#include "widget_test_support.h"
#include "widgets/meter_x.h"

namespace orlimo {
namespace {

using test::kUnder;
using test::px;

class MeterTest : public ::testing::Test {
protected:
    void SetUp() override { test::app(); }
};

const QColor kNeedle(0xFF, 0x80, 0x80);
const QColor kHubRing(0x80, 0x00, 0x80);
const QColor kHub(0x80, 0x80, 0x80);
const QColor kFill(0x80, 0xFF, 0xFF);

// The speed needle of the instrument: 240 x 240, hub 20, needle 78 from the centre.
void configureSpeedNeedle(TqvMeterX& m)
{
    m.setMeterSize(240);
    m.setNeedleLength(78);
    m.setNeedleLen0(0);
    m.setNeedleWidth(2);
    m.setColor(kHub);
    m.setOuterCircleWidth(2);
    m.setCenterCircleWidth(20);
    m.setCenterCircleColor(kHubRing);
    m.setNeedleColor(kNeedle);
    m.setArrAngle(0);
    m.setHeading(0);
}

TEST_F(MeterTest, PointFormulaTruncates)
{
    EXPECT_EQ(TqvMeterX::pointAt(0, 78, 240, 240), QPoint(120, 42));
    EXPECT_EQ(TqvMeterX::pointAt(90, 78, 240, 240), QPoint(198, 120));
    EXPECT_EQ(TqvMeterX::pointAt(180, 78, 240, 240), QPoint(120, 198));
    // 45 degrees: 78 * 0.7071 = 55.15 -> x 175, y 240 - trunc(175.15) = 65
    EXPECT_EQ(TqvMeterX::pointAt(45, 78, 240, 240), QPoint(175, 65));
    // negative coordinates truncate toward zero, not down
    EXPECT_EQ(TqvMeterX::pointAt(300, 150, 240, 240).x(), -9);
    EXPECT_EQ(TqvMeterX::pointAt(495, 78, 240, 240), TqvMeterX::pointAt(135, 78, 240, 240));
    EXPECT_EQ(TqvMeterX::pointAt(-225, 78, 240, 240), TqvMeterX::pointAt(135, 78, 240, 240));
    EXPECT_EQ(TqvMeterX::pointAt(360, 78, 240, 240), QPoint(120, 42));
}

TEST_F(MeterTest, NeedleStraightUpFromCentre)
{
    TqvMeterX m;
    configureSpeedNeedle(m);
    m.setHeading(0);
    const QImage img = test::render(m);
    for (int y = 42; y <= 100; ++y)
        ASSERT_EQ(px(img, 120, y), kNeedle) << y;
    EXPECT_EQ(px(img, 120, 41), kUnder);
    EXPECT_EQ(px(img, 122, 60), kUnder);
    // hub: grey inside, purple ring at its edge, nothing outside
    EXPECT_EQ(px(img, 125, 125), kHub);
    EXPECT_EQ(px(img, 110, 121), kHubRing);
    EXPECT_EQ(px(img, 108, 121), kUnder);
    EXPECT_EQ(px(img, 121, 130), kHubRing);
    EXPECT_EQ(px(img, 121, 132), kUnder);
    // the meter never fills its background
    EXPECT_EQ(px(img, 0, 0), kUnder);
    EXPECT_EQ(px(img, 239, 239), kUnder);
}

TEST_F(MeterTest, BackgroundOfParentShowsThrough)
{
    QWidget host;
    host.resize(240, 240);
    host.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, Qt::red);
    host.setPalette(pal);
    auto* m = new TqvMeterX(&host);
    configureSpeedNeedle(*m);
    m->move(0, 0);
    const QImage img = test::render(host);
    EXPECT_EQ(px(img, 5, 5), QColor(Qt::red));
    EXPECT_EQ(px(img, 120, 60), kNeedle);
}

TEST_F(MeterTest, HeadingIsPeriodic)
{
    TqvMeterX m;
    configureSpeedNeedle(m);
    m.setArrAngle(5);
    m.setArrFill(true);
    m.setHeading(135);
    const QImage a = test::render(m);
    m.setHeading(495);
    EXPECT_EQ(test::render(m), a);
    m.setHeading(-225);
    EXPECT_EQ(test::render(m), a);
}

TEST_F(MeterTest, ArrowHeadOnlyWithAngle)
{
    TqvMeterX m;
    m.setMeterSize(250);
    m.setHeading(0);
    m.setNeedleLength(96);
    m.setNeedleLen0(94);
    m.setNeedleWidth(1);
    m.setNeedleColor(QColor(0x80, 0xBF, 0xFF));
    m.setArrLen(8);
    m.setArrAngleLen(92);
    m.setArrFillColor(kFill);
    m.setArrFill(true);

    m.setArrAngle(0);
    EXPECT_EQ(test::countColor(test::render(m), kFill), 0);

    m.setArrAngle(5);
    QImage img = test::render(m);
    EXPECT_GT(test::countColor(img, kFill), 5);
    // tip of the arrow (radius 104) is outlined, nothing beyond it
    const QPoint p2 = TqvMeterX::pointAt(0, 104, 250, 250);
    EXPECT_EQ(p2, QPoint(125, 21));
    EXPECT_EQ(px(img, 125, 22), QColor(0x80, 0xBF, 0xFF));
    EXPECT_EQ(px(img, 125, 18), kUnder);

    m.setArrFill(false);  // outline only
    img = test::render(m);
    EXPECT_EQ(test::countColor(img, kFill), 0);
    EXPECT_GT(test::countColor(img, QColor(0x80, 0xBF, 0xFF)), 15);
}

TEST_F(MeterTest, NoNeedleWhenBothLengthsEqual)
{
    TqvMeterX m;
    configureSpeedNeedle(m);
    m.setNeedleLen0(78);
    EXPECT_EQ(test::countColor(test::render(m), kNeedle), 0);
    m.setNeedleLen0(40);  // needle from radius 40 to 78 only
    m.setHeading(0);
    const QImage img = test::render(m);
    EXPECT_EQ(px(img, 120, 60), kNeedle);
    EXPECT_NE(px(img, 120, 90), kNeedle);
}

TEST_F(MeterTest, ExtremeValuesDrawWithoutFault)
{
    TqvMeterX m;
    m.setHeading(INT_MIN);
    m.setNeedleLength(INT_MAX);
    m.setNeedleLen0(INT_MIN);
    m.setArrAngle(70000);
    EXPECT_EQ(m.arrAngle(), 65535);
    m.setArrLen(-4);
    EXPECT_EQ(m.arrLen(), 0);
    m.setArrAngleLen(INT_MAX);
    m.setNeedleWidth(-3);
    EXPECT_EQ(m.needleWidth(), 0);
    m.setOuterCircleWidth(-1);
    m.setCenterCircleWidth(INT_MAX);
    test::render(m);
    m.setMeterSize(-10);
    EXPECT_EQ(m.size(), QSize(0, 0));
    m.setMeterSize(3);
    test::render(m);
}

}  // namespace
}  // namespace orlimo
