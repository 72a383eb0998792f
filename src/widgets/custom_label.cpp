#include "widgets/custom_label.h"

#include <QEvent>
#include <QFontMetrics>

#include "widgets/system_colors.h"

namespace orlimo {

TCustomLabel::TCustomLabel(QWidget* parent) : QWidget(parent)
{
    m_color = syscolor::buttonFace(palette());
    updateOpaque();
}

// A label that is not transparent paints every pixel, the first of them in its colour:
// when that is opaque, what lies behind it (a panel, captions under it) is not painted
// again for it.
void TCustomLabel::updateOpaque()
{
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent && m_color.alpha() == 255);
}

void TCustomLabel::setCaption(const QString& text)
{
    if (text == m_caption)
        return;
    m_caption = text;
    adjustBounds();
    update();
}

void TCustomLabel::setColor(const QColor& c)
{
    if (c == m_color)
        return;
    m_color = c;
    updateOpaque();
    update();
}

void TCustomLabel::setFontColor(const QColor& c)
{
    if (c == m_fontColor)
        return;
    m_fontColor = c;
    update();
}

void TCustomLabel::setTransparent(bool on)
{
    if (on == m_transparent)
        return;
    m_transparent = on;
    updateOpaque();
    update();
}

void TCustomLabel::setWordWrap(bool on)
{
    if (on == m_wordWrap)
        return;
    m_wordWrap = on;
    adjustBounds();
    update();
}

void TCustomLabel::setShowAccelChar(bool on)
{
    if (on == m_showAccelChar)
        return;
    m_showAccelChar = on;
    adjustBounds();
    update();
}

void TCustomLabel::setAlignment(TAlignment a)
{
    if (a == m_alignment)
        return;
    m_alignment = a;
    update();
}

void TCustomLabel::setAutoSize(bool on)
{
    m_autoSize = on;
    adjustBounds();
}

int TCustomLabel::textFlags(bool allowWrap) const
{
    int flags = int(toQtHorizontal(m_alignment)) | Qt::TextExpandTabs;
    if (allowWrap && m_wordWrap)
        flags |= Qt::TextWordWrap;
    if (m_showAccelChar)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

QSize TCustomLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    const int f = 2 * frameExtent();
    QRect r = fm.boundingRect(QRect(0, 0, m_wordWrap ? qMax(1, width() - f) : 0x3fff, 0x3fff),
                              textFlags(true), m_caption);
    return {r.width() + f, qMax(r.height(), fm.height()) + f};
}

void TCustomLabel::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        adjustBounds();
    QWidget::changeEvent(e);
}

void TCustomLabel::adjustBounds()
{
    if (m_autoSize)
        resize(sizeHint());
}

}  // namespace orlimo
