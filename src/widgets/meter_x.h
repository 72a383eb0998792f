#pragma once
// A transparent needle overlay: hub circle, needle and optional arrow head at
// an angle in degrees clockwise from straight up. It never fills its
// background, so a dial picture behind it stays visible.
#include <QColor>
#include <QPoint>
#include <QWidget>

#include <cstdint>

namespace orlimo {

class TqvMeterX : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Heading READ heading WRITE setHeading)
    Q_PROPERTY(int NeedleLength READ needleLength WRITE setNeedleLength)
    Q_PROPERTY(int NeedleLen0 READ needleLen0 WRITE setNeedleLen0)
    Q_PROPERTY(int NeedleWidth READ needleWidth WRITE setNeedleWidth)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(int Size READ meterSize WRITE setMeterSize)
    Q_PROPERTY(int OuterCircleWidth READ outerCircleWidth WRITE setOuterCircleWidth)
    Q_PROPERTY(int CenterCircleWidth READ centerCircleWidth WRITE setCenterCircleWidth)
    Q_PROPERTY(QColor CenterCircleColor READ centerCircleColor WRITE setCenterCircleColor)
    Q_PROPERTY(QColor NeedleColor READ needleColor WRITE setNeedleColor)
    Q_PROPERTY(int ArrAngle READ arrAngle WRITE setArrAngle)
    Q_PROPERTY(int ArrLen READ arrLen WRITE setArrLen)
    Q_PROPERTY(int ArrAngleLen READ arrAngleLen WRITE setArrAngleLen)
    Q_PROPERTY(bool ArrFill READ arrFill WRITE setArrFill)
    Q_PROPERTY(QColor ArrFillColor READ arrFillColor WRITE setArrFillColor)

public:
    explicit TqvMeterX(QWidget* parent = nullptr);

    // Point at `angle` degrees (0 up, clockwise) and `length` pixels from the
    // centre of a control of size w x h, each coordinate truncated toward zero.
    // Lengths are limited to +-kMaxLength so huge values cannot overflow.
    static QPoint pointAt(int angle, long long length, int w, int h);
    static constexpr int kMaxLength = 1 << 20;

    int heading() const { return m_heading; }
    void setHeading(int deg);
    int needleLength() const { return m_needleLength; }
    void setNeedleLength(int px);
    int needleLen0() const { return m_needleLen0; }
    void setNeedleLen0(int px);
    int needleWidth() const { return m_needleWidth; }
    void setNeedleWidth(int px);  // negative taken as 0
    QColor color() const { return m_color; }
    void setColor(const QColor& c);
    int meterSize() const { return m_size; }
    void setMeterSize(int px);  // sets width and height; negative taken as 0
    int outerCircleWidth() const { return m_outerCircleWidth; }
    void setOuterCircleWidth(int px);
    int centerCircleWidth() const { return m_centerCircleWidth; }
    void setCenterCircleWidth(int px);
    QColor centerCircleColor() const { return m_centerCircleColor; }
    void setCenterCircleColor(const QColor& c);
    QColor needleColor() const { return m_needleColor; }
    void setNeedleColor(const QColor& c);
    int arrAngle() const { return m_arrAngle; }
    void setArrAngle(int deg);  // 0..65535, clamped
    int arrLen() const { return m_arrLen; }
    void setArrLen(int px);
    int arrAngleLen() const { return m_arrAngleLen; }
    void setArrAngleLen(int px);
    bool arrFill() const { return m_arrFill; }
    void setArrFill(bool on);
    QColor arrFillColor() const { return m_arrFillColor; }
    void setArrFillColor(const QColor& c);

    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    int m_heading = 90;
    int m_needleLength = 90;
    int m_needleLen0 = 0;
    int m_needleWidth = 2;
    QColor m_color{0x80, 0x80, 0x80};
    int m_size = 184;
    int m_outerCircleWidth = 2;
    int m_centerCircleWidth = 23;
    QColor m_centerCircleColor{Qt::black};
    QColor m_needleColor{Qt::black};
    std::uint16_t m_arrAngle = 0;
    std::uint16_t m_arrLen = 10;
    std::uint16_t m_arrAngleLen = 90;
    bool m_arrFill = false;
    QColor m_arrFillColor{0xFF, 0xFF, 0x00};
};

}  // namespace orlimo
