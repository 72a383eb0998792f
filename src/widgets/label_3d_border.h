#pragma once
// A caption with one of six one- or two-ring 3D borders and vertical placement.
#include "widgets/custom_label.h"

namespace orlimo {

enum class TLabel3DBorderStyle { bsNone, bsLight, bsMedium, bsHeavy, bsFrame, bsRaisedFrame };
enum class TVerticalAlign { vaTop, vaCenter, vaBottom };

class TLabel3DBorder : public TCustomLabel {
    Q_OBJECT

public:
    explicit TLabel3DBorder(QWidget* parent = nullptr);

    TLabel3DBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TLabel3DBorderStyle s);
    TVerticalAlign verticalAlign() const { return m_vAlign; }
    void setVerticalAlign(TVerticalAlign v);

    // The rectangle the caption is laid out in (client area minus border).
    QRect textArea() const;

protected:
    void paintEvent(QPaintEvent*) override;
    int frameExtent() const override { return 3; }

private:
    TLabel3DBorderStyle m_borderStyle = TLabel3DBorderStyle::bsNone;
    TVerticalAlign m_vAlign = TVerticalAlign::vaTop;
};

}  // namespace orlimo
