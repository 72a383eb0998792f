#include "widgets/history_plot.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace orlimo {

namespace {

constexpr qint64 kPaintIntervalMs = 1000;
constexpr int kTick = 3;
constexpr int kGap = 4;  // between a tick or a line's end and its label
const QColor kAxisColour(0x80, 0x80, 0x80);
const QColor kGridColour(0xE4, 0xE4, 0xE4);

// The smallest 1, 2 or 5 x 10^n not below x (x > 0).
double niceAbove(double x)
{
    const double p = std::pow(10.0, std::floor(std::log10(x)));
    for (double f : {1.0, 2.0, 5.0})
        if (f * p >= x * (1 - 1e-9))
            return f * p;
    return 10 * p;
}

std::vector<double> valueTicks(double lo, double hi)
{
    const double step = niceAbove((hi - lo) / 4);
    std::vector<double> out;
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + step * 1e-9 && out.size() < 12; ++k)
        out.push_back(k * step);
    return out;
}

QString valueLabel(double v)
{
    return QString::number(std::abs(v) < 1e-12 ? 0.0 : v, 'g', 6);
}

// Seconds between time ticks: a round step giving at most four intervals.
double timeStep(double span)
{
    for (double s : {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 21600, 43200, 86400})
        if (span / s <= 4)
            return s;
    return niceAbove(span / 4);
}

QString timeLabel(int k, double step)
{
    if (k == 0)
        return QStringLiteral("now");
    QString s = QString::number(-k * (step >= 60 ? step / 60 : step), 'g', 6);
    s.append(step >= 60 ? QLatin1String(" min") : QLatin1String(" s"));
    return s;
}

QFont boldOf(QFont f)
{
    f.setBold(true);
    return f;
}

}  // namespace

THistoryPlot::THistoryPlot(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_delay.setSingleShot(true);
    m_delay.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire 5 % early
    connect(&m_delay, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void THistoryPlot::changed()
{
    if (m_delay.isActive())
        return;  // the paint already waiting shows this change too
    const qint64 since = m_sincePaint.isValid() ? m_sincePaint.elapsed() : kPaintIntervalMs;
    if (since >= kPaintIntervalMs)
        update();
    else
        m_delay.start(int(kPaintIntervalMs - since));
}

void THistoryPlot::SetSeries(std::vector<THistorySeries> series)
{
    if (series == m_series)
        return;
    m_series = std::move(series);
    changed();
}

void THistoryPlot::SetTimeWindow(double from, double to)
{
    if (!(from < to) || !std::isfinite(from) || !std::isfinite(to) || (from == m_from && to == m_to))
        return;
    m_from = from;
    m_to = to;
    changed();
}

void THistoryPlot::SetValueRange(double lo, double hi)
{
    if (!(lo < hi) || !std::isfinite(lo) || !std::isfinite(hi) || (lo == m_lo && hi == m_hi))
        return;
    m_lo = lo;
    m_hi = hi;
    changed();
}

void THistoryPlot::SetTitle(QString title)
{
    if (title == m_title)
        return;
    m_title = std::move(title);
    changed();
}

void THistoryPlot::SetGapSeconds(double seconds)
{
    if (!(seconds > 0) || seconds == m_gap)
        return;
    m_gap = seconds;
    changed();
}

QRect THistoryPlot::PlotArea() const
{
    const QFontMetrics fm(font()), bold(boldOf(font()));
    int left = 0;
    for (double v : valueTicks(m_lo, m_hi))
        left = std::max(left, fm.horizontalAdvance(valueLabel(v)));
    left += kTick + kGap + 2;
    int right = fm.horizontalAdvance(QStringLiteral("now")) / 2 + 2;
    for (const THistorySeries& s : m_series)
        right = std::max(right, (s.bold ? bold : fm).horizontalAdvance(s.name) + 2 * kGap);
    const int top = m_title.isEmpty() ? fm.height() / 2 + 2 : bold.height() + 6;
    const int bottom = fm.height() + kTick + kGap;
    return {left, top, std::max(3, width() - left - right), std::max(3, height() - top - bottom)};
}

void THistoryPlot::paintSeries(QPainter& p, const THistorySeries& s, const QRect& area) const
{
    const double sx = (area.width() - 1) / (m_to - m_from), sy = (area.height() - 1) / (m_hi - m_lo);
    // Far-off values are brought near the area before drawing; the clip does the rest.
    const auto toPixel = [&](QPointF v) {
        return QPointF(std::clamp(area.left() + (v.x() - m_from) * sx, area.left() - 10.0, area.right() + 10.0),
                       std::clamp(area.bottom() - (v.y() - m_lo) * sy, area.top() - 10.0, area.bottom() + 10.0));
    };
    const auto& pts = s.points;
    // From the last point before the window to the first after it, so lines reach the edges.
    auto first = std::lower_bound(pts.begin(), pts.end(), m_from,
                                  [](QPointF a, double t) { return a.x() < t; });
    if (first != pts.begin())
        --first;
    auto last = std::upper_bound(first, pts.end(), m_to, [](double t, QPointF a) { return t < a.x(); });
    if (last != pts.end())
        ++last;

    p.setPen(QPen(s.colour, s.bold ? 3.0 : 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF run;
    const auto flush = [&] {
        if (run.size() == 1)
            p.drawPoint(run.front());
        else if (run.size() > 1)
            p.drawPolyline(run);
        run.clear();
    };
    double prev = 0;
    for (auto it = first; it != last; ++it) {
        if (!std::isfinite(it->x()) || !std::isfinite(it->y())) {
            flush();
            continue;
        }
        if (!run.isEmpty() && it->x() - prev > m_gap)
            flush();
        run.append(toPixel(*it));
        prev = it->x();
    }
    flush();
}

void THistoryPlot::paintEvent(QPaintEvent*)
{
    m_delay.stop();
    m_sincePaint.start();
    ++m_paintCount;

    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRect area = PlotArea();
    const QFontMetrics fm(font());
    const QFont bold = boldOf(font());
    const double sx = (area.width() - 1) / (m_to - m_from), sy = (area.height() - 1) / (m_hi - m_lo);

    if (!m_title.isEmpty()) {
        p.setFont(bold);
        p.setPen(Qt::black);
        p.drawText(QRect(area.left(), 2, width() - area.left(), QFontMetrics(bold).height()),
                   Qt::AlignLeft | Qt::AlignVCenter, m_title);
        p.setFont(font());
    }

    for (double v : valueTicks(m_lo, m_hi)) {
        const int y = area.bottom() - int(std::lround((v - m_lo) * sy));
        p.fillRect(area.left() + 1, y, area.width() - 1, 1, kGridColour);
        p.fillRect(area.left() - kTick, y, kTick, 1, kAxisColour);
        p.setPen(Qt::black);
        p.drawText(QRect(0, y - fm.height() / 2, area.left() - kTick - kGap, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, valueLabel(v));
    }
    const double step = timeStep(m_to - m_from);
    for (int k = 0; k * step <= (m_to - m_from) * (1 + 1e-9); ++k) {
        const int x = area.right() - int(std::lround(k * step * sx));
        p.fillRect(x, area.top(), 1, area.height() - 1, kGridColour);
        p.fillRect(x, area.bottom() + 1, 1, kTick, kAxisColour);
        const QString label = timeLabel(k, step);
        const int w = fm.horizontalAdvance(label);
        p.setPen(Qt::black);
        const int left = std::clamp(x - w / 2, 0, std::max(0, width() - w));
        p.drawText(QRect(left, area.bottom() + kTick + 2, w, fm.height()), Qt::AlignCenter, label);
    }
    p.fillRect(area.left(), area.top(), 1, area.height(), kAxisColour);
    p.fillRect(area.left(), area.bottom(), area.width(), 1, kAxisColour);

    p.save();
    p.setClipRect(area.adjusted(1, 0, 0, 0));
    p.setRenderHint(QPainter::Antialiasing);
    // Bold lines last, so they stay on top.
    for (bool bolds : {false, true})
        for (const THistorySeries& s : m_series)
            if (s.bold == bolds)
                paintSeries(p, s, area);
    p.restore();

    // Each name at the height its line ends, pushed apart to one text row at least.
    struct Name {
        double y;
        const THistorySeries* s;
    };
    std::vector<Name> names;
    for (const THistorySeries& s : m_series) {
        auto end = std::upper_bound(s.points.begin(), s.points.end(), m_to,
                                    [](double t, QPointF a) { return t < a.x(); });
        while (end != s.points.begin() && !std::isfinite(std::prev(end)->y()))
            --end;
        if (s.name.isEmpty() || end == s.points.begin() || std::prev(end)->x() < m_from)
            continue;
        const double v = std::clamp(std::prev(end)->y(), m_lo, m_hi);
        names.push_back({area.bottom() - (v - m_lo) * sy, &s});
    }
    std::sort(names.begin(), names.end(), [](const Name& a, const Name& b) { return a.y < b.y; });
    const double row = fm.height(), lowest = height() - row / 2;
    for (size_t i = 1; i < names.size(); ++i)
        names[i].y = std::max(names[i].y, names[i - 1].y + row);
    for (size_t i = names.size(); i-- > 0;)
        names[i].y = std::min(names[i].y, i + 1 < names.size() ? names[i + 1].y - row : lowest);
    for (const Name& n : names) {
        p.setFont(n.s->bold ? bold : font());
        p.setPen(n.s->colour);
        p.drawText(QRectF(area.right() + kGap, std::max(n.y, row / 2) - row / 2, width() - area.right(), row),
                   Qt::AlignLeft | Qt::AlignVCenter, n.s->name);
    }
}

}  // namespace orlimo
