#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QScreen>

#include <vector>

#include "widget_test_support.h"
#include "widgets/odometer.h"

namespace orlimo {
namespace {

constexpr int kH = 20;

// A 15 x 340 strip whose every row says which row it is: red and green hold
// the row number, blue tells the red strip (0xFF) from the normal one.
QImage codedStrip(bool red)
{
    QImage img(15, 17 * kH, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(y & 0xFF, y >> 8, red ? 0xFF : 0));
    return img;
}

int stripRow(const QImage& display, int wheel, int y)
{
    const QRgb c = display.pixel(wheel * 15 + 7, y);
    return qRed(c) | (qGreen(c) << 8);
}
bool isRed(const QImage& display, int wheel) { return qBlue(display.pixel(wheel * 15 + 7, 0)) == 0xFF; }
int wheelDigit(const QImage& display, int wheel) { return stripRow(display, wheel, 0) / kH; }

QString shown(const TdkOdometer& o)
{
    QString s;
    for (int i = 0; i < o.digitCount(); ++i)
        s += QLatin1Char("0123456789ABCDEF_"[wheelDigit(o.displayImage(), i)]);
    return s;
}

int shiftOfFrame(int n) { return kH * (n * 255 / kH) / 255; }

class OdometerTest : public test::WidgetFixture {
protected:
    void SetUp() override
    {
        odo.setDigitStrip(codedStrip(false));
        odo.setRedDigitStrip(codedStrip(true));
        odo.setDigitCount(4);
        odo.setAnimationType(TAnimationType::atAsynchronous);
        odo.setFrameInterval(1);
        QObject::connect(&odo, &TdkOdometer::frameDrawn, [this](int n) {
            frames.push_back(n);
            images.push_back(odo.displayImage().copy());
        });
    }

    void waitIdle()
    {
        QElapsedTimer t;
        t.start();
        while (odo.isAnimating() && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ASSERT_FALSE(odo.isAnimating());
    }

    TdkOdometer odo;
    std::vector<int> frames;
    std::vector<QImage> images;
};

TEST_F(OdometerTest, LimitsAndDigitText)
{
    EXPECT_EQ(TdkOdometer::limitFor(TBaseType::btDecimal, 4), 9999u);
    EXPECT_EQ(TdkOdometer::limitFor(TBaseType::btDecimal, 9), 999999999u);
    EXPECT_EQ(TdkOdometer::limitFor(TBaseType::btDecimal, 10), 2147483647u);
    EXPECT_EQ(TdkOdometer::limitFor(TBaseType::btBinary, 8), 255u);
    EXPECT_EQ(TdkOdometer::limitFor(TBaseType::btBinary, 31), 2147483647u);
    EXPECT_EQ(TdkOdometer::limitFor(TBaseType::btBinary, 32), 2147483647u);
    EXPECT_EQ(TdkOdometer::limitFor(TBaseType::btHexadecimal, 7), 0xFFFFFFFu);
    EXPECT_EQ(TdkOdometer::limitFor(TBaseType::btHexadecimal, 8), 2147483647u);
    EXPECT_EQ(TdkOdometer::digitText(42, TBaseType::btDecimal, 4), "0042");
    EXPECT_EQ(TdkOdometer::digitText(5, TBaseType::btBinary, 4), "0101");
    EXPECT_EQ(TdkOdometer::digitText(0xABC, TBaseType::btHexadecimal, 4), "0ABC");
    EXPECT_EQ(TdkOdometer::digitText(2147483647u, TBaseType::btBinary, 32),
              "0" + QString(31, QLatin1Char('1')));
}

TEST_F(OdometerTest, SizeFollowsStripAndWheels)
{
    EXPECT_EQ(odo.size(), QSize(60, 20));
    odo.setDigitCount(0);
    odo.setDigitCount(33);
    EXPECT_EQ(odo.digitCount(), 4);
    odo.setRedDigitCount(5);
    EXPECT_EQ(odo.redDigitCount(), 0);
    odo.setRedDigitCount(3);
    odo.setDigitCount(2);  // pulls the red wheels down with it
    EXPECT_EQ(odo.redDigitCount(), 2);
    EXPECT_EQ(odo.size(), QSize(30, 20));
    odo.setFrameInterval(0);
    EXPECT_EQ(odo.frameInterval(), 1);
}

TEST_F(OdometerTest, ValuesBeyondLimitWrapByLimit)
{
    odo.setValue(12345);
    EXPECT_EQ(odo.value(), 2346u);
    EXPECT_EQ(shown(odo), "2346");
    odo.setValue(10000);
    EXPECT_EQ(shown(odo), "0001");
    odo.setValue(9999);
    EXPECT_EQ(shown(odo), "9999");
    odo.setValue(2346);
    odo.setDigitCount(2);  // re-applied against the new limit 99
    EXPECT_EQ(odo.value(), 2346u % 99u);
    EXPECT_TRUE(frames.empty());
}

TEST_F(OdometerTest, RedWheelsOnTheRight)
{
    odo.setRedDigitCount(1);
    odo.setValue(1234);
    const QImage& d = odo.displayImage();
    EXPECT_FALSE(isRed(d, 0));
    EXPECT_FALSE(isRed(d, 2));
    EXPECT_TRUE(isRed(d, 3));
    EXPECT_EQ(shown(odo), "1234");
}

// 41 -> 42: only the last wheel moves, a window sliding from cell 1 to cell 2,
// 21 frames with the new digit fully in place at the end.
TEST_F(OdometerTest, StepUpRollsLastWheel)
{
    odo.setValue(41);
    odo.setValue(42);
    waitIdle();
    ASSERT_EQ(frames.size(), size_t(kH + 1));
    for (int n = 0; n <= kH; ++n) {
        EXPECT_EQ(frames[n], n);
        const QImage& d = images[n];
        EXPECT_EQ(stripRow(d, 2, 0), 4 * kH) << n;
        EXPECT_EQ(stripRow(d, 3, 0), 1 * kH + shiftOfFrame(n)) << n;
        EXPECT_EQ(stripRow(d, 3, kH - 1), 1 * kH + shiftOfFrame(n) + kH - 1) << n;
    }
    EXPECT_EQ(shown(odo), "0042");
}

// 49 -> 50: the last wheel wraps 9 -> 0 entering from below, the one before goes 4 -> 5.
TEST_F(OdometerTest, StepUpWithCarryRollsTwoWheels)
{
    odo.setValue(49);
    odo.setValue(50);
    waitIdle();
    ASSERT_EQ(frames.size(), size_t(kH + 1));
    for (int n = 1; n < kH; ++n) {
        const int s = shiftOfFrame(n);
        const QImage& d = images[n];
        EXPECT_EQ(stripRow(d, 1, 0), 0);
        EXPECT_EQ(stripRow(d, 2, 0), 4 * kH + s);
        EXPECT_EQ(stripRow(d, 3, 0), 9 * kH + s) << n;  // old 9 moving up
        if (s > 0) {
            EXPECT_EQ(stripRow(d, 3, kH - s), 0) << n;  // top row of the new 0 below it
        }
    }
    EXPECT_EQ(shown(odo), "0050");
}

TEST_F(OdometerTest, StepDownWrapsFromAbove)
{
    odo.setValue(50);
    odo.setValue(49);
    waitIdle();
    ASSERT_EQ(frames.size(), size_t(kH + 1));
    const int n = 5, s = shiftOfFrame(n);
    ASSERT_GT(s, 0);
    EXPECT_EQ(stripRow(images[n], 3, 0), 9 * kH + kH - s);  // bottom of the new 9 on top
    EXPECT_EQ(stripRow(images[n], 3, s), 0);                // old 0 pushed down
    EXPECT_EQ(stripRow(images[n], 2, 0), 5 * kH - s);       // 5 -> 4 moves down
    EXPECT_EQ(shown(odo), "0049");
}

TEST_F(OdometerTest, IncTopToBottomReversesTheRoll)
{
    odo.setIncTopToBottom(true);
    odo.setValue(41);
    odo.setValue(42);
    waitIdle();
    const int n = 5, s = shiftOfFrame(n);
    EXPECT_EQ(stripRow(images[n], 3, 0), 2 * kH + kH - s);  // new 2 enters from above
    EXPECT_EQ(stripRow(images[n], 3, s), 1 * kH);           // old 1 moves down
    frames.clear();
    images.clear();
    odo.setValue(50);
    odo.setValue(49);  // wrap down now enters from below
    waitIdle();
    EXPECT_EQ(stripRow(images[n], 3, 0), 0 * kH + s);
    EXPECT_EQ(stripRow(images[n], 3, kH - s), 9 * kH);
}

TEST_F(OdometerTest, BinaryCarryRollsWithTheStep)
{
    odo.setBaseType(TBaseType::btBinary);
    odo.setValue(1);  // 0001
    odo.setValue(2);  // 0010: wheel 3 goes 1 -> 0 as a wrap, wheel 2 goes 0 -> 1
    waitIdle();
    const int n = 5, s = shiftOfFrame(n);
    EXPECT_EQ(stripRow(images[n], 3, 0), 1 * kH + s);
    EXPECT_EQ(stripRow(images[n], 2, 0), 0 * kH + s);
}

TEST_F(OdometerTest, LargerChangesAndEndsRenderAtOnce)
{
    odo.setValue(42);
    odo.setValue(45);
    EXPECT_EQ(shown(odo), "0045");
    odo.setValue(9999);
    odo.setValue(0);
    EXPECT_EQ(shown(odo), "0000");
    odo.setValue(9999);
    EXPECT_EQ(shown(odo), "9999");
    EXPECT_FALSE(odo.isAnimating());
    EXPECT_TRUE(frames.empty());
}

TEST_F(OdometerTest, AnimationModes)
{
    odo.setAnimationType(TAnimationType::atSynchronous);
    odo.setValue(7);
    odo.setValue(8);  // runs to its end before returning
    EXPECT_FALSE(odo.isAnimating());
    EXPECT_EQ(frames.size(), size_t(kH + 1));
    EXPECT_EQ(shown(odo), "0008");

    frames.clear();
    odo.setAnimationType(TAnimationType::atNone);
    odo.setValue(9);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(shown(odo), "0009");

    // a step during an animation restarts from the digits then current
    odo.setAnimationType(TAnimationType::atAsynchronous);
    odo.setValue(10);
    EXPECT_TRUE(odo.isAnimating());
    odo.setValue(11);
    waitIdle();
    EXPECT_EQ(shown(odo), "0011");
    EXPECT_EQ(stripRow(images.back(), 2, 0), 1 * kH);
}

// The window's paint shows a frame; after the first frame of a step only the wheels
// that roll are painted again, and the screen ends on the last frame.
TEST_F(OdometerTest, LaterFramesRepaintOnlyTheRollingWheels)
{
    odo.setValue(41);
    odo.show();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    struct PaintLog : QObject {
        std::vector<QRegion> regions;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                regions.push_back(static_cast<QPaintEvent*>(e)->region());
            return false;
        }
    } log;
    odo.installEventFilter(&log);
    odo.setValue(42);
    waitIdle();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    ASSERT_GE(log.regions.size(), 2u);
    for (std::size_t i = 1; i < log.regions.size(); ++i)
        EXPECT_EQ(log.regions[i] - QRect(3 * 15, 0, 15, kH), QRegion()) << i;
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(odo.winId()).toImage();
    EXPECT_EQ(screen.convertToFormat(QImage::Format_RGB32), odo.displayImage());
}

TEST_F(OdometerTest, WithoutStripsDrawsBlankWheels)
{
    TdkOdometer bare;
    bare.setDigitCount(3);
    bare.setAnimationType(TAnimationType::atSynchronous);
    bare.setFrameInterval(1);
    bare.setValue(1);
    bare.setValue(2);
    EXPECT_EQ(bare.size(), QSize(45, 20));
    bare.setDigitStrip(QImage(15, 10, QImage::Format_RGB32));  // too short: ignored
    EXPECT_EQ(bare.size(), QSize(45, 20));
    test::render(bare);
}

}  // namespace
}  // namespace orlimo
