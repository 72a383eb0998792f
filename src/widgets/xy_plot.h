#pragma once
// A chart frame: a plot field surrounded by four axes (left, right, bottom,
// top) with ticks, labels, captions, axis lines and grid lines. The owner
// draws the content of the field in pixel coordinates from OnFieldDraw.
//
// Painting keeps three caches: the layout (field rectangle), the frame layer
// (everything outside the field) and the field layer (fill, owner content,
// grid). invalidatePlot() drops all three, redraw() the field layer only; a
// paint without invalidation is a plain copy plus OnDrawEnd and the border.
// Both only schedule the paint, like update().
//
// Callbacks run synchronously during painting. DrawCanvas() is the painter of
// the paint in progress, in control pixel coordinates (origin top-left); in
// OnFieldDraw it is clipped to the field and its state is restored afterwards.
#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>

#include "widgets/xy_axis.h"

namespace orlimo {

enum class TBorderStyle { bs_None, bs_Lowered, bs_Raised };

class Tkx_XYPlot : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor FieldColor READ fieldColor WRITE setFieldColor)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(bool BufferedDisplay READ bufferedDisplay WRITE setBufferedDisplay)

public:
    using Handler = std::function<void(Tkx_XYPlot& sender)>;

    explicit Tkx_XYPlot(QWidget* parent = nullptr);

    Tkx_Axis* leftAxis() const { return m_axes[0]; }
    Tkx_Axis* rightAxis() const { return m_axes[1]; }
    Tkx_Axis* bottomAxis() const { return m_axes[2]; }
    Tkx_Axis* topAxis() const { return m_axes[3]; }

    QColor color() const { return m_color; }
    void setColor(const QColor& c);
    // An invalid QColor leaves the field unfilled (what lies behind shows through).
    QColor fieldColor() const { return m_fieldColor; }
    void setFieldColor(const QColor& c);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& c);
    TBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle s);
    bool bufferedDisplay() const { return m_buffered; }
    void setBufferedDisplay(bool on);

    void setOnFieldDraw(Handler h) { m_onFieldDraw = std::move(h); }
    void setOnDrawEnd(Handler h) { m_onDrawEnd = std::move(h); }

    // The plot field in control pixels (QRect: right() and bottom() inclusive).
    QRect fieldRect() const;
    // Pixel row of value v on a vertical axis / column on a horizontal axis.
    int pixelOf(const Tkx_Axis* axis, double v) const;
    // Valid only while a callback runs.
    QPainter* DrawCanvas() const { return m_drawCanvas; }

    // Drops every cached layer and schedules a repaint.
    void invalidatePlot();
    // The field's content changed: schedules a repaint at which the field handler
    // runs again. The frame (axes, labels, captions) is kept: its own setters drop it.
    void redraw();

    QSize sizeHint() const override { return {180, 120}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent*) override;

private:
    struct Needs {
        int extent = 0;     // room outside the field
        int overMin = 0;    // label overhang past the Min end
        int overMax = 0;    // ... past the Max end
    };
    Needs needsOf(const Tkx_Axis* a) const;
    void ensureLayout() const;
    void buildFrameLayer();
    void buildFieldLayer();
    void paintAxis(QPainter& p, const Tkx_Axis* a);
    void paintCaption(QPainter& p, const Tkx_Axis* a);
    void paintGrid(QPainter& p, const Tkx_Axis* a);
    void drawBorder(QPainter& p);
    void updateOpaque();
    QPoint lineStart(const Tkx_Axis* a, int* length) const;

    Tkx_Axis* m_axes[4];
    QColor m_color;
    QColor m_fieldColor{Qt::white};
    QColor m_fontColor{Qt::black};
    TBorderStyle m_borderStyle = TBorderStyle::bs_None;
    bool m_buffered = false;
    Handler m_onFieldDraw, m_onDrawEnd;

    mutable bool m_layoutValid = false;
    mutable QRect m_field;
    bool m_frameValid = false, m_fieldValid = false;
    QImage m_frameLayer, m_fieldLayer, m_buffer;
    QPainter* m_drawCanvas = nullptr;
};

}  // namespace orlimo
