#include "widgets/meter_x.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orlimo {

namespace {

std::uint16_t toU16(int v) { return static_cast<std::uint16_t>(qBound(0, v, 0xFFFF)); }

// Pen widths beyond this are meaningless on any screen and slow to stroke.
constexpr int kMaxPenWidth = 4096;

}  // namespace

QPoint TqvMeterX::pointAt(int angle, long long length, int w, int h)
{
    // Reduce first so that 495 and 135 give the very same point.
    const double a = double(angle % 360) * std::numbers::pi / 180.0;
    const double len = double(std::clamp<long long>(length, -kMaxLength, kMaxLength));
    const int x = static_cast<int>(std::trunc(len * std::sin(a) + w / 2.0));
    const int y = h - static_cast<int>(std::trunc(len * std::cos(a) + h / 2.0));
    return {x, y};
}

TqvMeterX::TqvMeterX(QWidget* parent) : QWidget(parent)
{
    setGeometry(100, 100, m_size, m_size);
}

// Heading and the arrow settings always repaint; the others only on a change.
void TqvMeterX::setHeading(int deg)
{
    if (deg == m_heading)
        return;
    m_heading = deg;
    update();
}

void TqvMeterX::setNeedleLength(int px)
{
    if (px == m_needleLength)
        return;
    m_needleLength = px;
    update();
}

void TqvMeterX::setNeedleLen0(int px)
{
    if (px == m_needleLen0)
        return;
    m_needleLen0 = px;
    update();
}

void TqvMeterX::setNeedleWidth(int px)
{
    px = qBound(0, px, kMaxPenWidth);
    if (px == m_needleWidth)
        return;
    m_needleWidth = px;
    update();
}

void TqvMeterX::setColor(const QColor& c)
{
    if (c == m_color)
        return;
    m_color = c;
    update();
}

void TqvMeterX::setMeterSize(int px)
{
    px = qMax(0, px);
    if (px == m_size)
        return;
    m_size = px;
    resize(px, px);
    updateGeometry();
}

void TqvMeterX::setOuterCircleWidth(int px)
{
    px = qBound(0, px, kMaxPenWidth);
    if (px == m_outerCircleWidth)
        return;
    m_outerCircleWidth = px;
    update();
}

void TqvMeterX::setCenterCircleWidth(int px)
{
    px = qBound(0, px, kMaxLength);
    if (px == m_centerCircleWidth)
        return;
    m_centerCircleWidth = px;
    update();
}

void TqvMeterX::setCenterCircleColor(const QColor& c)
{
    if (c == m_centerCircleColor)
        return;
    m_centerCircleColor = c;
    update();
}

void TqvMeterX::setNeedleColor(const QColor& c)
{
    if (c == m_needleColor)
        return;
    m_needleColor = c;
    update();
}

void TqvMeterX::setArrAngle(int deg)
{
    m_arrAngle = toU16(deg);
    update();
}

void TqvMeterX::setArrLen(int px)
{
    m_arrLen = toU16(px);
    update();
}

void TqvMeterX::setArrAngleLen(int px)
{
    m_arrAngleLen = toU16(px);
    update();
}

void TqvMeterX::setArrFill(bool on)
{
    m_arrFill = on;
    update();
}

void TqvMeterX::setArrFillColor(const QColor& c)
{
    if (c == m_arrFillColor)
        return;
    m_arrFillColor = c;
    update();
}

void TqvMeterX::resizeEvent(QResizeEvent* e)
{
    m_size = width();
    QWidget::resizeEvent(e);
}

void TqvMeterX::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int w = width(), h = height();

    // Hub
    QPen hubPen(m_centerCircleColor, m_outerCircleWidth);
    if (m_outerCircleWidth == 0)
        hubPen = Qt::NoPen;
    p.setPen(hubPen);
    p.setBrush(m_color);
    const int bx = (w - m_centerCircleWidth) / 2;
    const int by = (h - m_centerCircleWidth) / 2;
    p.drawEllipse(QRect(bx, by, m_centerCircleWidth, m_centerCircleWidth));

    QPen pen(m_needleColor, m_needleWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (m_needleWidth == 0)
        pen = Qt::NoPen;
    p.setPen(pen);
    p.setBrush(m_arrFillColor);
    const int heading = m_heading % 360;  // keeps the arrow's +-ArrAngle in range
    const QPoint tip = pointAt(heading, m_needleLength, w, h);

    if (m_needleLen0 != m_needleLength) {
        const QPoint base = m_needleLen0 == 0 ? QPoint(w / 2, h / 2)
                                              : pointAt(heading, m_needleLen0, w, h);
        p.drawLine(tip, base);
    }

    if (m_arrAngle > 0) {
        const QPoint p1 = pointAt(heading - m_arrAngle, m_arrAngleLen, w, h);
        const QPoint p2 = pointAt(heading, static_cast<long long>(m_needleLength) + m_arrLen, w, h);
        const QPoint p3 = pointAt(heading + m_arrAngle, m_arrAngleLen, w, h);
        if (m_arrFill) {
            p.drawPolygon(QPolygon({tip, p1, p2, p3}));
        } else {
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygon({tip, p1, p2, p3, tip}));
        }
    }
}

}  // namespace orlimo
