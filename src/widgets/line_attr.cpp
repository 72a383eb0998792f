#include "widgets/line_attr.h"

namespace orlimo {

void Tkx_LineAttr::setColor(const QColor& c)
{
    if (c == m_color)
        return;
    m_color = c;
    emit changed();
}

void Tkx_LineAttr::setStyle(Qt::PenStyle s)
{
    if (s == m_style)
        return;
    m_style = s;
    emit changed();
}

void Tkx_LineAttr::setWidth(int w)
{
    const auto v = static_cast<std::uint16_t>(qBound(0, w, 0xFFFF));
    if (v == m_width)
        return;
    m_width = v;
    emit changed();
}

void Tkx_LineAttr::setVisible(bool on)
{
    if (on == m_visible)
        return;
    m_visible = on;
    emit changed();
}

QPen Tkx_LineAttr::pen() const
{
    return QPen(m_color, qMax(1, int(m_width)), m_style, Qt::FlatCap, Qt::MiterJoin);
}

}  // namespace orlimo
