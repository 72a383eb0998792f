#pragma once
// A scatter of points around a centre (0, 0): x to the right, y up, in the
// caller's unit. Labelled circles about the centre, a crosshair through it and
// a scale bar. Both axes share one scale, so a circle stays round.
//
// The view fits the larger of the largest circle x 1.25 and the distance
// within which 95 % of the points lie, so a few stray points do not shrink
// the rest to a dot; points beyond the view are left out.
#include <QColor>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <optional>
#include <span>
#include <vector>

namespace orlimo {

struct TScatterCircle {
    double radius = 0;
    QString label;  // drawn next to the circle as given
    QColor colour;
    bool operator==(const TScatterCircle&) const = default;
};

class TScatterPlot : public QWidget {
    Q_OBJECT

public:
    // Points kept for drawing; more are thinned to an even sample.
    static constexpr int kMaxDrawn = 4000;

    explicit TScatterPlot(QWidget* parent = nullptr);

    void SetPoints(std::span<const QPointF> points);
    // Drawn larger and in its own colour; pinned to the edge when outside the view.
    void SetLastPoint(std::optional<QPointF> p);
    void SetCircles(std::vector<TScatterCircle> circles);
    void SetUnit(QString unit);  // "m" until set

    // The points as drawn (at most kMaxDrawn, the last given always among them).
    const std::vector<QPointF>& Points() const { return m_points; }
    // Distance from the centre to the nearest edge of the view, in the caller's unit.
    double Extent() const;
    // Pixels per unit at the present size.
    double Scale() const;
    // Length of the scale bar in the caller's unit: 1, 2 or 5 x 10^n.
    double ScaleBarLength() const;

    QSize sizeHint() const override { return {300, 300}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<QPointF> m_points;
    double m_spread = 0;  // 95th percentile distance of m_points
    std::optional<QPointF> m_last;
    std::vector<TScatterCircle> m_circles;
    QString m_unit = QStringLiteral("m");
};

}  // namespace orlimo
