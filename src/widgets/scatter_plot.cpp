#include "widgets/scatter_plot.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace orlimo {

namespace {

// The view is at least a tenth of a unit across: centimetres for a receiver with
// RTK, while one lone point does not zoom to nothing.
constexpr double kMinExtent = 0.05;
constexpr double kCircleRoom = 1.25;
constexpr int kMargin = 6;  // pixels between the view and the widget's edge
constexpr double kLastRadius = 4.5;
const QColor kPointColour(0x2A, 0x5D, 0xB0);
const QColor kLastColour(0xE0, 0x30, 0x20);
const QColor kCrossColour(0xC8, 0xC8, 0xC8);
const QColor kVeil(255, 255, 255, 210);  // behind text drawn over points

// The largest 1, 2 or 5 x 10^n not above x (x > 0).
double niceBelow(double x)
{
    const double p = std::pow(10.0, std::floor(std::log10(x)));
    for (double f : {5.0, 2.0, 1.0})
        if (f * p <= x * (1 + 1e-9))
            return f * p;
    return p / 2;  // log10 rounded up to the next power
}

// The distance within which 95 % of the points lie.
double spreadOf(const std::vector<QPointF>& points)
{
    std::vector<double> d;
    d.reserve(points.size());
    for (QPointF q : points)
        if (const double r = std::hypot(q.x(), q.y()); std::isfinite(r))
            d.push_back(r);
    if (d.empty())
        return 0;
    const auto k = d.begin() + std::ptrdiff_t((d.size() - 1) * 95 / 100);
    std::nth_element(d.begin(), k, d.end());
    return *k;
}

}  // namespace

TScatterPlot::TScatterPlot(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TScatterPlot::SetPoints(std::span<const QPointF> points)
{
    std::vector<QPointF> kept;
    const size_t n = points.size();
    if (n <= size_t(kMaxDrawn)) {
        kept.assign(points.begin(), points.end());
    } else {
        // An even stride from the first point to the last, both kept.
        kept.reserve(kMaxDrawn);
        for (size_t i = 0; i < size_t(kMaxDrawn); ++i)
            kept.push_back(points[i * (n - 1) / (kMaxDrawn - 1)]);
    }
    if (kept == m_points)
        return;
    m_points = std::move(kept);
    m_spread = spreadOf(m_points);
    update();
}

void TScatterPlot::SetLastPoint(std::optional<QPointF> p)
{
    if (p == m_last)
        return;
    m_last = p;
    update();
}

void TScatterPlot::SetCircles(std::vector<TScatterCircle> circles)
{
    if (circles == m_circles)
        return;
    m_circles = std::move(circles);
    update();
}

void TScatterPlot::SetUnit(QString unit)
{
    if (unit == m_unit)
        return;
    m_unit = std::move(unit);
    update();
}

double TScatterPlot::Extent() const
{
    double e = std::max(kMinExtent, m_spread);
    for (const TScatterCircle& c : m_circles)
        if (std::isfinite(c.radius))
            e = std::max(e, c.radius * kCircleRoom);
    return e;
}

double TScatterPlot::Scale() const
{
    const double half = std::min(width(), height()) / 2.0 - kMargin;
    return std::max(half, 1.0) / Extent();
}

double TScatterPlot::ScaleBarLength() const
{
    return niceBelow(0.6 * Extent());
}

void TScatterPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const double s = Scale();
    const QPointF c(width() / 2.0, height() / 2.0);
    const auto toPixel = [&](QPointF v) { return QPointF(c.x() + v.x() * s, c.y() - v.y() * s); };

    p.setPen(QPen(kCrossColour, 1));
    p.drawLine(QPointF(0, c.y()), QPointF(width(), c.y()));
    p.drawLine(QPointF(c.x(), 0), QPointF(c.x(), height()));

    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF dots;
    dots.reserve(qsizetype(m_points.size()));
    const QRectF area = QRectF(rect()).adjusted(-2, -2, 2, 2);
    for (QPointF v : m_points)
        if (const QPointF q = toPixel(v); area.contains(q))
            dots.append(q);
    p.setPen(QPen(kPointColour, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawPoints(dots);

    // Circles, then their labels from the largest down, each just above its
    // circle's top and pushed below the one before when they would touch.
    std::vector<const TScatterCircle*> circles;
    for (const TScatterCircle& k : m_circles)
        if (k.radius > 0 && std::isfinite(k.radius))
            circles.push_back(&k);
    std::sort(circles.begin(), circles.end(),
              [](const TScatterCircle* a, const TScatterCircle* b) { return a->radius > b->radius; });
    p.setBrush(Qt::NoBrush);
    for (const TScatterCircle* k : circles) {
        p.setPen(QPen(k->colour, 2));
        p.drawEllipse(c, k->radius * s, k->radius * s);
    }
    const QFontMetrics fm(font());
    double below = 0;
    for (const TScatterCircle* k : circles) {
        if (k->label.isEmpty())
            continue;
        const double top = std::max({c.y() - k->radius * s - 2 - fm.height(), below, 1.0});
        const QRectF box(c.x() + 4, top, fm.horizontalAdvance(k->label), fm.height());
        p.fillRect(box.adjusted(-2, 0, 2, 0), kVeil);
        p.setPen(k->colour);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, k->label);
        below = box.bottom() + 1;
    }

    // Past the edge the last point is pinned there, hollow, in its direction.
    if (m_last && std::isfinite(m_last->x()) && std::isfinite(m_last->y())) {
        const double hx = (width() / 2.0 - kMargin) / s, hy = (height() / 2.0 - kMargin) / s;
        const double ax = std::abs(m_last->x()), ay = std::abs(m_last->y());
        const double k = std::min({1.0, ax > hx ? hx / ax : 1.0, ay > hy ? hy / ay : 1.0});
        p.setPen(QPen(kLastColour.darker(140), 1.5));
        p.setBrush(k < 1 ? QBrush(Qt::NoBrush) : QBrush(kLastColour));
        p.drawEllipse(toPixel(*m_last * k), kLastRadius, kLastRadius);
    }

    // Scale bar: a plain two-pixel line so its length is exact.
    p.setRenderHint(QPainter::Antialiasing, false);
    const double length = ScaleBarLength();
    const int barPx = qRound(length * s);
    QString label = QString::number(length, 'g', 6);
    label.append(QLatin1Char(' ')).append(m_unit);
    const int x0 = kMargin + 2, y0 = height() - kMargin - 2;
    const int textW = fm.horizontalAdvance(label);
    p.fillRect(QRect(x0 - 3, y0 - fm.height() - 6, std::max(barPx, textW) + 6, fm.height() + 9), kVeil);
    p.fillRect(QRect(x0, y0 - 1, barPx, 2), Qt::black);
    p.fillRect(QRect(x0, y0 - 5, 1, 5), Qt::black);
    p.fillRect(QRect(x0 + barPx - 1, y0 - 5, 1, 5), Qt::black);
    p.setPen(Qt::black);
    p.drawText(QRect(x0, y0 - 4 - fm.height(), textW, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
               label);
}

}  // namespace orlimo
