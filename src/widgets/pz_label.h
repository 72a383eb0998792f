#pragma once
// A label framed by up to two bevels with a band of the label colour between
// them, vertical alignment, and optional engraved or embossed text.
#include <QRect>

#include <memory>
#include <utility>

#include "widgets/ascii_line.h"
#include "widgets/custom_label.h"

class QPainter;

namespace orlimo {

enum class TLabelBevel { lbNone, lbLowered, lbRaised };
enum class TVerticalAlignment { vaTop, vaCenter, vaBottom };
enum class TLabelStyle { lsNone, lsLowered, lsRaised };

// Draws a 3D frame of `width` one-pixel rings on `r` and shrinks `r` by it.
// Each ring: `topLeft` on the top row (without its right end) and the left
// column (without its bottom end), `bottomRight` on the right column and the
// bottom row. Used by the labels and the chart border.
void frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width);

class TpzLabel : public TCustomLabel {
    Q_OBJECT
    Q_PROPERTY(int BevelWidth READ bevelWidth WRITE setBevelWidth)

public:
    explicit TpzLabel(QWidget* parent = nullptr);

    int bevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int w);  // values below 1 are taken as 1
    TLabelBevel bevelInner() const { return m_bevelInner; }
    void setBevelInner(TLabelBevel b);
    TLabelBevel bevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TLabelBevel b);
    TVerticalAlignment verticalAlignment() const { return m_vAlign; }
    void setVerticalAlignment(TVerticalAlignment v);
    TLabelStyle labelStyle() const { return m_labelStyle; }
    void setLabelStyle(TLabelStyle s);

    // The rectangle left for the text once bevels and band are drawn.
    QRect textArea() const;
    // Labels of a panel share their fonts' checks, which cost some milliseconds each.
    void shareAsciiFonts(std::shared_ptr<TAsciiFonts> fonts) { m_asciiFonts = std::move(fonts); }

protected:
    void paintEvent(QPaintEvent*) override;
    int frameExtent() const override;

private:
    int m_bevelWidth = 1;
    TLabelBevel m_bevelInner = TLabelBevel::lbLowered;
    TLabelBevel m_bevelOuter = TLabelBevel::lbNone;
    TVerticalAlignment m_vAlign = TVerticalAlignment::vaCenter;
    TLabelStyle m_labelStyle = TLabelStyle::lsNone;
    // A caption that keeps changing is drawn without layout.
    std::shared_ptr<TAsciiFonts> m_asciiFonts = std::make_shared<TAsciiFonts>();
};

}  // namespace orlimo
