#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdlib>
#include <functional>
#include <vector>

#include "widget_test_support.h"
#include "widgets/history_plot.h"

namespace orlimo {
namespace {

const QColor kThin(0x00, 0x00, 0xFF);
const QColor kBold(0xFF, 0x00, 0x00);

// A pixel nearer the line's colour than the white behind it (the lines are pure red or blue).
auto inkOf(QColor line)
{
    return [line](QColor c) { return std::abs(c.red() - line.red()) + std::abs(c.blue() - line.blue()) < 255; };
}

// A sample every two seconds, closer than the gap that breaks a line.
THistorySeries flat(QColor colour, bool bold, double value)
{
    THistorySeries s{QStringLiteral("s"), colour, bold, {}};
    for (int t = -600; t <= 0; t += 2)
        s.points.emplace_back(t, value);
    return s;
}

class HistoryPlotTest : public test::WidgetFixture {
protected:
    HistoryPlotTest()
    {
        plot.resize(400, 200);
        plot.SetTimeWindow(-600, 0);
        plot.SetValueRange(0, 60);
    }
    // Rows of `colour` in the column `seconds` into the window.
    std::pair<int, int> rowsAt(const QImage& img, double seconds, QColor colour) const
    {
        const QRect a = plot.PlotArea();
        const int x = a.left() + int(seconds / 600 * (a.width() - 1));
        return test::rowSpan(img, inkOf(colour), QRect(x, a.top(), 1, a.height()));
    }
    int rowOf(double value) const
    {
        const QRect a = plot.PlotArea();
        return a.bottom() - int(value / 60 * (a.height() - 1) + 0.5);
    }
    THistoryPlot plot;
};

TEST_F(HistoryPlotTest, BoldSeriesIsThickerAtItsValue)
{
    plot.SetSeries({flat(kThin, false, 15), flat(kBold, true, 45)});
    const QImage img = test::render(plot);
    const auto [thinTop, thinBottom] = rowsAt(img, 200, kThin);
    const auto [boldTop, boldBottom] = rowsAt(img, 200, kBold);
    EXPECT_NEAR((thinTop + thinBottom) / 2.0, rowOf(15), 1);
    EXPECT_NEAR((boldTop + boldBottom) / 2.0, rowOf(45), 1);
    EXPECT_GT(boldBottom - boldTop, thinBottom - thinTop);
}

TEST_F(HistoryPlotTest, LongGapBreaksTheLine)
{
    THistorySeries s{QStringLiteral("s"), kThin, false, {}};
    for (int t = -600; t <= 0; ++t)
        if (t < -320 || t > -280)
            s.points.emplace_back(t, 30);
    plot.SetSeries({s});
    EXPECT_EQ(rowsAt(test::render(plot), 300, kThin).first, -1);
    EXPECT_NE(rowsAt(test::render(plot), 200, kThin).first, -1);
    plot.SetGapSeconds(60);
    EXPECT_NE(rowsAt(test::render(plot), 300, kThin).first, -1);
}

// Setters that change nothing schedule nothing; changes within a second of a paint
// wait for the rest of it and then paint once.
TEST_F(HistoryPlotTest, PaintsOnlyOnChangeAndAtMostOnceASecond)
{
    const std::vector<THistorySeries> series{flat(kThin, false, 15)};
    plot.SetSeries(series);
    plot.SetTitle(QStringLiteral("t"));
    plot.show();
    ASSERT_TRUE(test::spinUntil([&] { return plot.PaintCount() > 0; }));
    const int painted = plot.PaintCount();
    plot.SetSeries(series);
    plot.SetTitle(QStringLiteral("t"));
    plot.SetTimeWindow(-600, 0);
    plot.SetValueRange(0, 60);
    plot.SetGapSeconds(3);
    EXPECT_FALSE(plot.PaintPending());
    QCoreApplication::processEvents();
    EXPECT_EQ(plot.PaintCount(), painted);

    plot.SetSeries({flat(kThin, false, 20)});
    plot.SetTitle(QStringLiteral("u"));
    EXPECT_TRUE(plot.PaintPending());
    QCoreApplication::processEvents();
    EXPECT_EQ(plot.PaintCount(), painted);
    ASSERT_TRUE(test::spinUntil([&] { return plot.PaintCount() > painted; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(plot.PaintCount(), painted + 1);
    EXPECT_FALSE(plot.PaintPending());
}

}  // namespace
}  // namespace orlimo
