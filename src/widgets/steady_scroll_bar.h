// A scroll bar that is not painted again when a change of its range, value or
// steps leaves it looking as it did: a list that grows by a few lines of thousands
// every second moves its slider by less than a pixel, and each of those changes
// would repaint the bar and the frame around it.
#pragma once

#include <QRect>
#include <QScrollBar>

#include <array>
#include <optional>

namespace orlimo {

class TSteadyScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

    // A range and a value set one after the other pass through a look of their own
    // (a longer range with the slider short of its end): changes made between these
    // two calls are judged once, by the look they end with.
    void holdRepaint();
    void releaseRepaint();

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* e) override;

private:
    // What the style draws the bar from besides its palette and state: where its
    // parts are, and whether the slider is at an end.
    struct Look {
        std::array<QRect, 6> parts;
        bool atMinimum = false, atMaximum = false, enabled = false;
        bool operator==(const Look&) const = default;
    };
    Look currentLook() const;

    bool looksAsPainted() const;

    std::optional<Look> m_painted;
    bool m_holding = false;
    bool m_heldChange = false;
};

}  // namespace orlimo
