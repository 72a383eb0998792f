#include "widgets/custom_label.h"

#include <QEvent>
#include <QFontMetrics>

#include "widgets/system_colors.h"

namespace orlimo {

TCustomLabel::TCustomLabel(QWidget* parent) : QWidget(parent)
{
    m_color = syscolor::buttonFace(palette());
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
