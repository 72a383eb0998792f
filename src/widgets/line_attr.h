#pragma once
// Colour, pen style, width and visibility of one chart line (axis or grid);
// tells its owner about every change.
#include <QColor>
#include <QObject>
#include <QPen>

#include <cstdint>

namespace orlimo {

class Tkx_LineAttr : public QObject {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(Qt::PenStyle Style READ style WRITE setStyle)
    Q_PROPERTY(int Width READ width WRITE setWidth)
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)

public:
    explicit Tkx_LineAttr(QObject* parent = nullptr) : QObject(parent) {}

    QColor color() const { return m_color; }
    void setColor(const QColor& c);
    Qt::PenStyle style() const { return m_style; }
    void setStyle(Qt::PenStyle s);
    int width() const { return m_width; }
    void setWidth(int w);  // 0..65535, clamped
    bool visible() const { return m_visible; }
    void setVisible(bool on);

    // Flat-capped pen of this colour, style and width (at least 1 pixel).
    QPen pen() const;

signals:
    void changed();

private:
    QColor m_color{Qt::black};
    Qt::PenStyle m_style = Qt::SolidLine;
    std::uint16_t m_width = 1;
    bool m_visible = true;
};

}  // namespace orlimo
