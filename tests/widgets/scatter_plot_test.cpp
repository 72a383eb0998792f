#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "widget_test_support.h"
#include "widgets/scatter_plot.h"

namespace orlimo {
namespace {

const QColor kRing(0x00, 0xA0, 0x00);

bool nearColour(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 90;
}

// Pixels from the centre to the middle of the ring, along the row through the centre.
double ringRadius(const QImage& img)
{
    const int cx = img.width() / 2, cy = img.height() / 2;
    int first = -1, last = -1;
    for (int x = cx + 1; x < img.width(); ++x)
        if (nearColour(img.pixelColor(x, cy), kRing)) {
            first = first < 0 ? x : first;
            last = x;
        } else if (first >= 0) {
            break;
        }
    return first < 0 ? -1 : (first + last) / 2.0 - cx;
}

// Longest run of black pixels on one row of the lower left quarter: the scale bar.
int scaleBarPixels(const QImage& img)
{
    int best = 0;
    for (int y = img.height() * 3 / 4; y < img.height(); ++y)
        for (int x = 0, run = 0; x < img.width() / 2; ++x) {
            run = img.pixelColor(x, y) == Qt::black ? run + 1 : 0;
            best = std::max(best, run);
        }
    return best;
}

class ScatterPlotTest : public test::WidgetFixture {
protected:
    ScatterPlotTest() { plot.resize(300, 300); }
    TScatterPlot plot;
};

TEST_F(ScatterPlotTest, CircleAndScaleBarShareOneScale)
{
    for (double radius : {2.0, 0.03}) {
        plot.SetCircles({{radius, QStringLiteral("ring"), kRing}});
        const QImage img = test::render(plot);
        EXPECT_NEAR(ringRadius(img), scaleBarPixels(img) * radius / plot.ScaleBarLength(), 1.5) << radius;
    }
}

// Points far out: a stray one does not shrink the bulk, and the last fix out of view
// is pinned to the edge in its direction.
TEST_F(ScatterPlotTest, PointsFarOutNeitherShrinkTheBulkNorVanish)
{
    std::vector<QPointF> points;
    for (int i = 0; i < 99; ++i)
        points.emplace_back(0.01 * (i % 10), 0.01 * (i / 10));
    plot.SetPoints(points);
    plot.SetCircles({{1.0, QString(), kRing}});
    const double before = ringRadius(test::render(plot));
    points.emplace_back(900, -900);
    plot.SetPoints(points);
    EXPECT_NEAR(ringRadius(test::render(plot)), before, 1);

    plot.SetLastPoint(QPointF(500, 0));
    const QImage img = test::render(plot);
    const auto reddish = [](QColor c) { return c.red() > c.green() + 60 && c.red() > c.blue() + 60; };
    EXPECT_GT(test::countPixels(img, reddish, QRect(img.width() - 20, img.height() / 2 - 8, 20, 17)), 5);
    plot.SetLastPoint(std::nullopt);

    // One point alone still leaves a readable view.
    plot.SetCircles({});
    plot.SetPoints(std::vector<QPointF>{{0.001, 0}});
    EXPECT_GE(plot.Extent(), 0.05);
}

TEST_F(ScatterPlotTest, ManyPointsAreThinnedKeepingTheLast)
{
    std::vector<QPointF> points;
    for (int i = 0; i <= 10000; ++i)
        points.emplace_back(i, 0);
    plot.SetPoints(points);
    ASSERT_EQ(plot.Points().size(), size_t(TScatterPlot::kMaxDrawn));
    EXPECT_EQ(plot.Points().back(), points.back());
    EXPECT_NEAR(plot.Points()[2000].x(), 5000, 3);
}

}  // namespace
}  // namespace orlimo
