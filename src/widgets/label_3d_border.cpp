#include "widgets/label_3d_border.h"

#include <QPainter>

#include "widgets/pz_label.h"
#include "widgets/system_colors.h"

namespace orlimo {

TLabel3DBorder::TLabel3DBorder(QWidget* parent) : TCustomLabel(parent)
{
    setAutoSize(false);
    resize(84, 21);
}

void TLabel3DBorder::setBorderStyle(TLabel3DBorderStyle s)
{
    if (s == m_borderStyle)
        return;
    m_borderStyle = s;
    update();
}

void TLabel3DBorder::setVerticalAlign(TVerticalAlign v)
{
    if (v == m_vAlign)
        return;
    m_vAlign = v;
    update();
}

QRect TLabel3DBorder::textArea() const
{
    // Every style takes two pixels in all (drawn rings plus skipped ones),
    // and the caption keeps one more pixel of air.
    return rect().adjusted(3, 3, -3, -3);
}

void TLabel3DBorder::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor light = syscolor::buttonHighlight(pal);
    const QColor dark = syscolor::buttonShadow(pal);
    const QColor face = syscolor::buttonFace(pal);

    if (!transparent())
        p.fillRect(rect(), color());

    QRect r = rect();
    switch (m_borderStyle) {
    case TLabel3DBorderStyle::bsNone: r.adjust(2, 2, -2, -2); break;
    case TLabel3DBorderStyle::bsLight:
        frame3D(p, r, dark, light, 1);
        r.adjust(1, 1, -1, -1);
        break;
    case TLabel3DBorderStyle::bsMedium:
        frame3D(p, r, Qt::black, light, 1);
        r.adjust(1, 1, -1, -1);
        break;
    case TLabel3DBorderStyle::bsHeavy:
        frame3D(p, r, dark, light, 1);
        frame3D(p, r, Qt::black, face, 1);
        break;
    case TLabel3DBorderStyle::bsFrame:
        frame3D(p, r, dark, light, 1);
        frame3D(p, r, light, dark, 1);
        break;
    case TLabel3DBorderStyle::bsRaisedFrame:
        frame3D(p, r, light, dark, 1);
        frame3D(p, r, dark, light, 1);
        break;
    }
    r.adjust(1, 1, -1, -1);

    int flags = textFlags(true);
    switch (m_vAlign) {
    case TVerticalAlign::vaTop: flags |= Qt::AlignTop; break;
    case TVerticalAlign::vaCenter:
        flags = (flags & ~Qt::TextWordWrap) | Qt::AlignVCenter | Qt::TextSingleLine;
        break;
    case TVerticalAlign::vaBottom:
        flags = (flags & ~Qt::TextWordWrap) | Qt::AlignBottom | Qt::TextSingleLine;
        break;
    }
    p.setFont(font());
    p.setPen(isEnabled() ? fontColor() : syscolor::grayText(pal));
    p.drawText(r, flags, caption());
}

}  // namespace orlimo
