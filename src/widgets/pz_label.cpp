#include "widgets/pz_label.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>

#include "widgets/system_colors.h"

namespace orlimo {

namespace {
// Bevels wider than this have nothing left to frame on any sensible label.
constexpr int kMaxBevelWidth = 1000;
}  // namespace

void frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width)
{
    // r uses exclusive right/bottom edges here: x0..x1-1, y0..y1-1 are inside.
    for (int i = 0; i < width; ++i) {
        const int x0 = r.left(), y0 = r.top();
        const int x1 = r.left() + r.width(), y1 = r.top() + r.height();
        if (x1 <= x0 || y1 <= y0)
            break;
        p.fillRect(QRect(x0, y0, qMax(0, x1 - x0 - 1), 1), topLeft);
        p.fillRect(QRect(x0, y0, 1, qMax(0, y1 - y0 - 1)), topLeft);
        p.fillRect(QRect(x1 - 1, y0, 1, y1 - y0), bottomRight);
        p.fillRect(QRect(x0, y1 - 1, x1 - x0, 1), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

TpzLabel::TpzLabel(QWidget* parent) : TCustomLabel(parent)
{
    setAlignment(TAlignment::taCenter);
}

void TpzLabel::setBevelWidth(int w)
{
    m_bevelWidth = qBound(1, w, kMaxBevelWidth);
    adjustBounds();
    update();
}

void TpzLabel::setBevelInner(TLabelBevel b)
{
    m_bevelInner = b;
    adjustBounds();
    update();
}

void TpzLabel::setBevelOuter(TLabelBevel b)
{
    m_bevelOuter = b;
    adjustBounds();
    update();
}

void TpzLabel::setVerticalAlignment(TVerticalAlignment v)
{
    m_vAlign = v;
    update();
}

void TpzLabel::setLabelStyle(TLabelStyle s)
{
    if (s == m_labelStyle)
        return;
    m_labelStyle = s;
    update();
}

int TpzLabel::frameExtent() const
{
    int n = 1;
    if (m_bevelOuter != TLabelBevel::lbNone)
        ++n;
    if (m_bevelInner != TLabelBevel::lbNone)
        ++n;
    return n * m_bevelWidth;
}

QRect TpzLabel::textArea() const
{
    const int e = frameExtent();
    return rect().adjusted(e, e, -e, -e);
}

void TpzLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor light = syscolor::buttonHighlight(pal);
    const QColor dark = syscolor::buttonShadow(pal);
    auto bevel = [&](QRect& r, TLabelBevel b) {
        if (b == TLabelBevel::lbRaised)
            frame3D(p, r, light, dark, m_bevelWidth);
        else if (b == TLabelBevel::lbLowered)
            frame3D(p, r, dark, light, m_bevelWidth);
    };

    QRect r = rect();
    bevel(r, m_bevelOuter);
    frame3D(p, r, color(), color(), m_bevelWidth);
    bevel(r, m_bevelInner);
    if (!transparent() && r.isValid())
        p.fillRect(r, color());

    const QString text = caption();
    if (text.isEmpty())
        return;
    p.setFont(font());
    const int flags = textFlags(true);
    // A plain line of ASCII is drawn as a run of glyphs: laying it out costs the
    // navigation panel's labels more than drawing their digits.
    const bool plain = m_labelStyle == TLabelStyle::lsNone && !wordWrap() &&
                       std::all_of(text.cbegin(), text.cend(), [&](QChar c) {
                           return c.unicode() >= 0x20 && c.unicode() < 0x7F && !(showAccelChar() && c == u'&');
                       });
    AsciiFont* ascii = plain ? &m_asciiFonts->For(font()) : nullptr;
    if (ascii && !ascii->usable)
        ascii = nullptr;
    // Only centred and bottom text need their height: it costs a second layout, except
    // for a line of a run's font, whose box is its laid-out height in whole pixels.
    const auto textHeight = [&] {
        return ascii ? qCeil(ascii->textHeight) : p.boundingRect(r, flags, text).height();
    };
    switch (m_vAlign) {
    case TVerticalAlignment::vaCenter: r.setTop(r.top() + (r.height() - textHeight()) / 2); break;
    case TVerticalAlignment::vaTop: r.setTop(r.top() + 1); break;
    case TVerticalAlignment::vaBottom: r.setTop(r.top() + r.height() - textHeight()); break;
    }
    const int drawFlags = flags | Qt::AlignTop;
    if (m_labelStyle != TLabelStyle::lsNone) {
        const bool lowered = m_labelStyle == TLabelStyle::lsLowered;
        p.setPen(lowered ? light : dark);
        p.drawText(r.translated(1, 1), drawFlags, text);
        p.setPen(lowered ? dark : light);
        p.drawText(r.translated(-1, -1), drawFlags, text);
    }
    p.setPen(isEnabled() ? fontColor() : syscolor::grayText(pal));
    if (ascii && DrawAsciiLine(p, *ascii, r, Qt::Alignment(flags) & Qt::AlignHorizontal_Mask, text))
        return;
    p.drawText(r, drawFlags, text);
}

}  // namespace orlimo
