#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <functional>
#include <limits>
#include <vector>

#include "widget_test_support.h"
#include "widgets/xy_plot.h"

namespace orlimo {
namespace {

using test::px;

const QColor kNavy(0x00, 0x00, 0x40);
const QColor kGreen(0x32, 0xC9, 0x48);
const QColor kCyanText(0x80, 0xFF, 0xFF);

// The signal chart of the main window: 349 x 128, Arial 9 px.
void configureSignalChart(Tkx_XYPlot& plot)
{
    plot.resize(349, 128);
    QFont f("Arial");
    f.setPixelSize(9);
    plot.setFont(f);
    plot.setFontColor(kCyanText);
    plot.setColor(kNavy);
    plot.setFieldColor(kNavy);
    plot.setBufferedDisplay(true);

    Tkx_Axis* l = plot.leftAxis();
    l->setMargin(14);
    l->setCaption("dB-Hz");
    l->setMin(0);
    l->setMax(60);
    l->setTicksCount(13);
    l->setTicksLines(false);
    l->lineAttr()->setColor(kGreen);
    l->lineAttr()->setWidth(2);
    l->gridAttr()->setColor(kGreen);
    l->gridAttr()->setVisible(true);

    Tkx_Axis* r = plot.rightAxis();
    r->setMargin(4);
    r->lineAttr()->setColor(kGreen);
    r->lineAttr()->setWidth(2);

    Tkx_Axis* b = plot.bottomAxis();
    b->setMargin(0);
    b->setMin(0);
    b->setMax(276);
    b->setTicksCount(13);
    b->setNoTicksLabel(true);
    b->setTicksLines(false);
    b->setTicksAdjusted(false);
    b->lineAttr()->setColor(kGreen);
    b->lineAttr()->setWidth(2);
    b->gridAttr()->setColor(kGreen);
    b->gridAttr()->setVisible(true);

    Tkx_Axis* t = plot.topAxis();
    t->setMargin(2);
    t->setTicksCount(0);
    t->lineAttr()->setColor(kGreen);
    t->lineAttr()->setWidth(2);
}

class XYPlotTest : public test::WidgetFixture {
protected:
    Tkx_XYPlot plot;
};

TEST_F(XYPlotTest, TickValues)
{
    using V = std::vector<double>;
    EXPECT_EQ(Tkx_Scale::ticks(0, 60, 13, true), (V{0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60}));
    EXPECT_EQ(Tkx_Scale::ticks(0, 10, 5, true), (V{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(Tkx_Scale::ticks(0, 10, 5, false), (V{0, 2.5, 5, 7.5, 10}));
    EXPECT_EQ(Tkx_Scale::ticks(0, 276, 13, false)[1], 23);
    EXPECT_EQ(Tkx_Scale::ticks(0, 1, 3, true), (V{0, 0.5, 1}));
    EXPECT_TRUE(Tkx_Scale::ticks(0, 10, 0, true).empty());
    // degenerate input gives one tick instead of a division by zero
    EXPECT_EQ(Tkx_Scale::ticks(3, 10, 1, false), (V{3}));
    EXPECT_EQ(Tkx_Scale::ticks(3, 10, 1, true), (V{3}));
    EXPECT_EQ(Tkx_Scale::ticks(5, 5, 13, true), (V{5}));
    EXPECT_EQ(Tkx_Scale::ticks(9, 1, 13, false), (V{9}));
    EXPECT_EQ(Tkx_Scale::ticks(0, 1000, 255, false).size(), size_t(Tkx_Scale::kMaxTicks));
    EXPECT_LE(Tkx_Scale::ticks(0, 1e9, 255, true).size(), size_t(Tkx_Scale::kMaxTicks));
}

TEST_F(XYPlotTest, LabelFormats)
{
    EXPECT_EQ(Tkx_Scale::formatLabel(5, "###0.##"), "5");
    EXPECT_EQ(Tkx_Scale::formatLabel(2.5, "###0.##"), "2.5");
    EXPECT_EQ(Tkx_Scale::formatLabel(0.125, "###0.##"), "0.13");
    EXPECT_EQ(Tkx_Scale::formatLabel(-3, "###0.##"), "-3");
    EXPECT_EQ(Tkx_Scale::formatLabel(5, "0.00"), "5.00");
    EXPECT_EQ(Tkx_Scale::formatLabel(7, "000"), "007");
    EXPECT_EQ(Tkx_Scale::formatLabel(1234567, "#,##0"), "1,234,567");
    EXPECT_EQ(Tkx_Scale::formatLabel(-0.001, "0.##"), "0");
}

TEST_F(XYPlotTest, SignalChartLayout)
{
    configureSignalChart(plot);
    EXPECT_EQ(plot.fieldRect(), QRect(QPoint(31, 6), QPoint(342, 123)));
    EXPECT_EQ(plot.leftAxis()->tickLabels(),
              QStringList({"0", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50", "55", "60"}));
    EXPECT_EQ(plot.pixelOf(plot.leftAxis(), 0), 123);
    EXPECT_EQ(plot.pixelOf(plot.leftAxis(), 5), 113);   // 117/12 = 9.75 per tick
    EXPECT_EQ(plot.pixelOf(plot.leftAxis(), 60), 6);
    EXPECT_EQ(plot.pixelOf(plot.bottomAxis(), 23), 57);  // 311/12 = 25.9 per cell
    EXPECT_EQ(plot.pixelOf(plot.bottomAxis(), 276), 342);
}

TEST_F(XYPlotTest, SignalChartPixels)
{
    configureSignalChart(plot);
    const QImage img = test::render(plot);
    // axis lines
    EXPECT_EQ(px(img, 30, 60), kGreen);
    EXPECT_EQ(px(img, 343, 60), kGreen);
    EXPECT_EQ(px(img, 100, 124), kGreen);
    EXPECT_EQ(px(img, 100, 5), kGreen);
    // grid: horizontal lines at the left ticks, vertical ones at the bottom ticks
    for (int y : {123, 113, 103, 94, 84, 74, 65, 55, 45, 35, 25, 16, 6})
        EXPECT_EQ(px(img, 44, y), kGreen) << y;
    EXPECT_EQ(px(img, 44, 50), kNavy);
    for (int x : {31, 57, 83, 109, 135, 161, 187, 212, 238, 264, 290, 316, 342})
        EXPECT_EQ(px(img, x, 50), kGreen) << x;
    EXPECT_EQ(px(img, 45, 50), kNavy);
    // no tick marks: the column just outside the left axis line stays clear
    EXPECT_EQ(test::countColor(img, kCyanText, QRect(26, 6, 3, 118)), 0);
    // the "0" label sits left of the line, centred on y 123
    const auto ink = [](QColor c) { return c != kNavy; };
    EXPECT_GT(test::countPixels(img, ink, QRect(14, 120, 11, 6)), 3);
    EXPECT_EQ(test::countPixels(img, ink, QRect(0, 0, 26, 2)), 0);  // nothing above "60"
    // the rotated caption lies between the left edge and the labels, centred on the field
    const auto caption = test::rowSpan(img, [](QColor c) { return c != kNavy; }, QRect(2, 6, 12, 118));
    ASSERT_GE(caption.first, 0);
    EXPECT_NEAR((caption.first + caption.second) / 2.0, 64.5, 4);
    EXPECT_GT(caption.second - caption.first, 15);  // runs along the axis
    // corner of the frame in the plot colour
    EXPECT_EQ(px(img, 0, 0), kNavy);
    EXPECT_EQ(px(img, 348, 127), kNavy);
}

// The grid is the lines a pen strokes across the field at the ticks, over what the
// field handler drew: thin or thick, opaque or not.
TEST_F(XYPlotTest, GridIsTheStrokedLines)
{
    configureSignalChart(plot);
    plot.rightAxis()->setMax(10);
    plot.rightAxis()->setTicksCount(5);
    plot.setOnFieldDraw([](Tkx_XYPlot& sender) {
        sender.DrawCanvas()->fillRect(QRect(40, 30, 100, 60), QColor(0xC0, 0x40, 0x40));
    });
    Tkx_Axis* const gridded[] = {plot.leftAxis(), plot.bottomAxis(), plot.rightAxis()};
    for (const QColor& colour : {kGreen, QColor(0xFF, 0xFF, 0x00, 0x80)}) {
        for (int width : {1, 2}) {
            for (Tkx_Axis* a : gridded) {
                a->gridAttr()->setColor(colour);
                a->gridAttr()->setWidth(width);
                a->gridAttr()->setVisible(true);
            }
            const QImage shown = test::render(plot);
            for (Tkx_Axis* a : gridded)
                a->gridAttr()->setVisible(false);
            QImage expected = test::render(plot);
            {
                QPainter p(&expected);
                const QRect f = plot.fieldRect();
                p.setClipRect(f);
                for (Tkx_Axis* a : gridded) {
                    p.setPen(a->gridAttr()->pen());
                    for (double v : a->tickValues()) {
                        const int pos = plot.pixelOf(a, v);
                        if (a->isVertical())
                            p.drawLine(f.left(), pos, f.right(), pos);
                        else
                            p.drawLine(pos, f.top(), pos, f.bottom());
                    }
                }
            }
            EXPECT_EQ(shown, expected) << colour.name(QColor::HexArgb).toStdString() << " width " << width;
        }
    }
}

TEST_F(XYPlotTest, AxisWithoutLabelsOrMarksNeedsOnlyItsLine)
{
    plot.resize(200, 100);
    Tkx_Axis* l = plot.leftAxis();
    l->setNoTicksLabel(true);
    l->setTicksLines(false);
    l->lineAttr()->setWidth(3);
    l->setMargin(5);
    plot.bottomAxis()->setNoTicksLabel(true);
    EXPECT_EQ(plot.fieldRect().left(), 3 + 5);
    l->setTicksLines(true);  // tick marks add their length
    EXPECT_EQ(plot.fieldRect().left(), 3 + 4 + 5);
}

TEST_F(XYPlotTest, FieldDrawSeesFillBeforeGridAndIsClipped)
{
    configureSignalChart(plot);
    const QColor magenta(0xFF, 0x00, 0xFF);
    int calls = 0;
    QColor seenOnGridLine;
    plot.setOnFieldDraw([&](Tkx_XYPlot& sender) {
        ++calls;
        QPainter* p = sender.DrawCanvas();
        ASSERT_NE(p, nullptr);
        // what is on the canvas when the handler starts: the fill, no grid yet
        const auto* dev = static_cast<QImage*>(p->device());
        const QPoint gridPoint = QPoint(44, 113) - sender.fieldRect().topLeft();
        seenOnGridLine = dev->pixelColor(gridPoint);
        p->fillRect(sender.rect(), magenta);  // reaches far outside the field
    });
    const QImage img = test::render(plot);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenOnGridLine, kNavy);
    EXPECT_EQ(px(img, 44, 50), magenta);
    EXPECT_EQ(px(img, 44, 113), kGreen);  // grid over the handler's drawing
    EXPECT_EQ(px(img, 31, 5), kGreen);    // top axis line untouched
    EXPECT_EQ(px(img, 20, 60), kNavy);
    EXPECT_EQ(px(img, 100, 126), kNavy);
    EXPECT_EQ(test::countColor(img, magenta), test::countColor(img, magenta, plot.fieldRect()));
}

TEST_F(XYPlotTest, CachedLayersAndInvalidation)
{
    configureSignalChart(plot);
    int fieldCalls = 0, endCalls = 0;
    plot.setOnFieldDraw([&](Tkx_XYPlot&) { ++fieldCalls; });
    plot.setOnDrawEnd([&](Tkx_XYPlot& sender) {
        ++endCalls;
        EXPECT_NE(sender.DrawCanvas(), nullptr);
    });
    const QImage first = test::render(plot);
    const QImage second = test::render(plot);
    EXPECT_EQ(fieldCalls, 1);
    EXPECT_EQ(endCalls, 2);
    EXPECT_EQ(first, second);
    plot.invalidatePlot();
    test::render(plot);
    EXPECT_EQ(fieldCalls, 2);
    plot.leftAxis()->setMax(50);  // any property change drops the caches
    test::render(plot);
    EXPECT_EQ(fieldCalls, 3);
    EXPECT_EQ(plot.DrawCanvas(), nullptr);

    plot.setBufferedDisplay(false);
    EXPECT_EQ(test::render(plot), test::render(plot));
}

// redraw() leaves the paint to the window's next pass, which shows the new content:
// painting at once would also paint every other widget waiting for its paint.
TEST_F(XYPlotTest, RedrawShowsTheNewContentAtTheNextPaint)
{
    configureSignalChart(plot);
    int bars = 2, fieldCalls = 0;
    plot.setOnFieldDraw([&](Tkx_XYPlot& sender) {
        ++fieldCalls;
        for (int i = 0; i < bars; ++i)
            sender.DrawCanvas()->fillRect(QRect(40 + 26 * i, 60, 12, 60), Qt::yellow);
    });
    plot.show();
    ASSERT_TRUE(test::spinUntil([&] { return fieldCalls > 0; }));
    bars = 5;
    const int before = fieldCalls;
    plot.redraw();
    EXPECT_EQ(fieldCalls, before);
    ASSERT_TRUE(test::spinUntil([&] { return fieldCalls > before; }));
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(plot.winId()).toImage();
    EXPECT_EQ(screen.convertToFormat(QImage::Format_RGB32), test::render(plot));
    EXPECT_EQ(fieldCalls, before + 1);
    EXPECT_EQ(px(screen, 40 + 26 * 4, 100), QColor(Qt::yellow));
}

TEST_F(XYPlotTest, UnfilledFieldShowsWhatIsBehind)
{
    configureSignalChart(plot);
    plot.setFieldColor(QColor());
    const QImage img = test::render(plot);
    EXPECT_EQ(px(img, 44, 50), test::kUnder);
    EXPECT_EQ(px(img, 44, 113), kGreen);
}

TEST_F(XYPlotTest, TinyAndDegenerateSizesDoNotFault)
{
    plot.resize(5, 5);
    EXPECT_GE(plot.fieldRect().width(), 3);
    EXPECT_GE(plot.fieldRect().height(), 3);
    test::render(plot);
    plot.resize(180, 120);
    plot.leftAxis()->setMin(10);
    plot.leftAxis()->setMax(10);
    plot.leftAxis()->setMin(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(plot.leftAxis()->min(), 10);
    plot.leftAxis()->setTicksCount(1);
    test::render(plot);
}

}  // namespace
}  // namespace orlimo
