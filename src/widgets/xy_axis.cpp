#include "widgets/xy_axis.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace orlimo {

Tkx_Axis::Tkx_Axis(unsigned flags, QObject* parent)
    : Tkx_Scale(parent), m_gridAttr(new Tkx_LineAttr(this))
{
    m_gridAttr->setColor(QColor(0x80, 0x80, 0x80));
    m_gridAttr->setVisible(false);
    setSFlags(flags);
    connect(m_gridAttr, &Tkx_LineAttr::changed, this, &Tkx_Scale::changed);
}

void Tkx_Axis::setMargin(int px)
{
    px = qBound(0, px, 10000);
    if (px == m_margin)
        return;
    m_margin = px;
    emit changed();
}

void Tkx_Axis::setCaption(const QString& c)
{
    if (c == m_caption)
        return;
    m_caption = c;
    emit changed();
}

void Tkx_Axis::setMin(double v)
{
    if (!std::isfinite(v) || v == m_min)
        return;
    m_min = v;
    emit changed();
}

void Tkx_Axis::setMax(double v)
{
    if (!std::isfinite(v) || v == m_max)
        return;
    m_max = v;
    emit changed();
}

unsigned Tkx_Axis::sFlags() const
{
    unsigned f = 0;
    if (isVertical())
        f |= VerticalFlag;
    if (!ticksLines())
        f |= NoTickLinesFlag;
    if (noTicksLabel())
        f |= NoTicksLabelFlag;
    if (isFarSide())
        f |= FarSideFlag;
    if (!ticksAdjusted())
        f |= NotAdjustedFlag;
    return f;
}

void Tkx_Axis::setSFlags(unsigned flags)
{
    {
        const QSignalBlocker quiet(this);  // one notification for the whole word
        setOrientation(flags & VerticalFlag, flags & FarSideFlag);
        setTicksLines(!(flags & NoTickLinesFlag));
        setNoTicksLabel(flags & NoTicksLabelFlag);
        setTicksAdjusted(!(flags & NotAdjustedFlag));
    }
    emit changed();
}

std::vector<double> Tkx_Axis::tickValues() const
{
    return ticks(m_min, m_max, ticksCount(), ticksAdjusted() && !noTicksLabel());
}

QStringList Tkx_Axis::tickLabels() const
{
    QStringList out;
    if (noTicksLabel())
        return out;
    for (double v : tickValues())
        out << formatLabel(v, labelFormat());
    return out;
}

int Tkx_Axis::offsetOf(double v, int length) const
{
    const double range = m_max - m_min;
    if (!(range > 0))
        return 0;
    const double t = std::clamp((v - m_min) / range, -4.0, 4.0);
    return static_cast<int>(std::nearbyint(t * length));
}

}  // namespace orlimo
