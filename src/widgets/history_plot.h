#pragma once
// Lines of values over a time window, the newest at the right: value ticks
// on the left, time ticks counted back from the window's end, each line's
// name at its right end.
//
// Paints at most once a second, and only after a change: a change within a
// second of the last paint waits for the rest of that second, so a caller may
// set values as often as it likes.
#include <QColor>
#include <QElapsedTimer>
#include <QPointF>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace orlimo {

struct THistorySeries {
    QString name;
    QColor colour;
    bool bold = false;  // drawn with a thicker pen
    // x seconds, y value, x ascending; a step in x longer than the plot's
    // gap seconds breaks the line there.
    std::vector<QPointF> points;
    bool operator==(const THistorySeries&) const = default;
};

class THistoryPlot : public QWidget {
    Q_OBJECT

public:
    explicit THistoryPlot(QWidget* parent = nullptr);

    void SetSeries(std::vector<THistorySeries> series);
    // Seconds, on the clock of the points' x; `to` is drawn as "now".
    void SetTimeWindow(double from, double to);  // ignored unless from < to
    void SetValueRange(double lo, double hi);    // ignored unless lo < hi
    void SetTitle(QString title);
    void SetGapSeconds(double seconds);  // 3 until set; ignored unless > 0

    // Where the lines are drawn, in widget pixels.
    QRect PlotArea() const;
    int PaintCount() const { return m_paintCount; }
    // A change is waiting for the rest of the second since the last paint.
    bool PaintPending() const { return m_delay.isActive(); }

    QSize sizeHint() const override { return {400, 200}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void changed();
    void paintSeries(QPainter& p, const THistorySeries& s, const QRect& area) const;

    std::vector<THistorySeries> m_series;
    double m_from = -600, m_to = 0;
    double m_lo = 0, m_hi = 60;
    QString m_title;
    double m_gap = 3;

    QTimer m_delay;
    QElapsedTimer m_sincePaint;
    int m_paintCount = 0;
};

}  // namespace orlimo
