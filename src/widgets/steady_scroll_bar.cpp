#include "widgets/steady_scroll_bar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace orlimo {

TSteadyScrollBar::Look TSteadyScrollBar::currentLook() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    Look look;
    const QStyle::SubControl parts[] = {QStyle::SC_ScrollBarGroove,  QStyle::SC_ScrollBarSlider,
                                        QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine,
                                        QStyle::SC_ScrollBarAddPage, QStyle::SC_ScrollBarSubPage};
    for (std::size_t i = 0; i < look.parts.size(); ++i)
        look.parts[i] = style()->subControlRect(QStyle::CC_ScrollBar, &option, parts[i], this);
    look.atMinimum = option.sliderValue == option.minimum;
    look.atMaximum = option.sliderValue == option.maximum;
    look.enabled = option.state & QStyle::State_Enabled;
    return look;
}

bool TSteadyScrollBar::looksAsPainted() const
{
    // A style that shows its bars only while they move wants every change.
    return m_painted && !style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this) &&
           *m_painted == currentLook();
}

void TSteadyScrollBar::sliderChange(SliderChange change)
{
    const bool moves = change == SliderRangeChange || change == SliderValueChange || change == SliderStepsChange;
    if (moves && m_holding) {
        m_heldChange = true;
        return;
    }
    if (moves && looksAsPainted())
        return;
    QScrollBar::sliderChange(change);
}

void TSteadyScrollBar::holdRepaint()
{
    m_holding = true;
}

void TSteadyScrollBar::releaseRepaint()
{
    m_holding = false;
    if (m_heldChange && !looksAsPainted())
        QScrollBar::sliderChange(SliderValueChange);
    m_heldChange = false;
}

void TSteadyScrollBar::paintEvent(QPaintEvent* e)
{
    QScrollBar::paintEvent(e);
    m_painted = currentLook();
}

}  // namespace orlimo
