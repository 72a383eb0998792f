#pragma once
// A mechanical-style digit counter: an unsigned value in binary, decimal or
// hexadecimal on a fixed number of wheels, the rightmost wheels optionally
// red, rolling a wheel when the value steps up or down by one.
//
// The glyphs come from two digit strips given as images: 17 cells stacked
// vertically, cell k showing "0123456789ABCDEF"[k] and cell 16 blank. The
// cell width is the strip width, the cell height the strip height / 17. With
// no strip the wheels are drawn blank at 15 x 20 pixels.
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>

class QPainter;

namespace orlimo {

enum class TAnimationType { atNone, atSynchronous, atAsynchronous };
enum class TBaseType { btBinary, btDecimal, btHexadecimal };

class TdkOdometer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int FrameInterval READ frameInterval WRITE setFrameInterval)
    Q_PROPERTY(int DigitCount READ digitCount WRITE setDigitCount)
    Q_PROPERTY(int RedDigitCount READ redDigitCount WRITE setRedDigitCount)
    Q_PROPERTY(quint32 Limit READ limit)
    Q_PROPERTY(bool IncTopToBottom READ incTopToBottom WRITE setIncTopToBottom)
    Q_PROPERTY(quint32 Value READ value WRITE setValue)

public:
    explicit TdkOdometer(QWidget* parent = nullptr);

    // Largest value that fits on `digits` wheels (2147483647 when it would not fit 31 bits).
    static std::uint32_t limitFor(TBaseType base, int digits);
    // The wheel characters of v, most significant first, `digits` long.
    static QString digitText(std::uint32_t v, TBaseType base, int digits);

    TAnimationType animationType() const { return m_animationType; }
    void setAnimationType(TAnimationType t) { m_animationType = t; }
    int frameInterval() const { return m_frameInterval; }
    void setFrameInterval(int ms);  // 0..255; 0 is stored as 1
    TBaseType baseType() const { return m_baseType; }
    void setBaseType(TBaseType b);
    int digitCount() const { return m_digitCount; }
    void setDigitCount(int n);  // 1..32, other values ignored
    int redDigitCount() const { return m_redDigitCount; }
    void setRedDigitCount(int n);  // 0..DigitCount, other values ignored
    std::uint32_t limit() const { return m_limit; }
    bool incTopToBottom() const { return m_incTopToBottom; }
    void setIncTopToBottom(bool on) { m_incTopToBottom = on; }
    std::uint32_t value() const { return m_value; }
    void setValue(std::uint32_t v);

    void setDigitStrip(const QImage& strip);
    void setRedDigitStrip(const QImage& strip);

    // The composed wheels as painted, and the animation state; for owners and tests.
    const QImage& displayImage() const { return m_display; }
    bool isAnimating() const { return m_timer.isActive() || m_inSyncAnimation; }
    QSize cellSize() const { return {m_cellW, m_cellH}; }

    QSize sizeHint() const override { return {m_cellW * m_digitCount, m_cellH}; }

signals:
    // Emitted after animation frame `frame` (0 .. cell height) has been drawn into
    // displayImage(); the widget shows it with its next paint.
    void frameDrawn(int frame);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void step(bool up);
    void renderAtOnce();
    void drawFrame();
    void onTimer();
    void reapplyValue();
    void resizeDisplay();
    const QImage& stripFor(int wheel) const;
    void copyRows(QPainter& p, int wheel, const QImage& strip, int srcY, int dstY, int rows);

    TAnimationType m_animationType = TAnimationType::atSynchronous;
    int m_frameInterval = 30;
    TBaseType m_baseType = TBaseType::btDecimal;
    int m_digitCount = 8;
    int m_redDigitCount = 0;
    std::uint32_t m_limit = 99999999;
    bool m_incTopToBottom = false;
    std::uint32_t m_value = 0;

    QImage m_strip, m_redStrip;
    int m_cellW = 15, m_cellH = 20;
    QImage m_display;
    QTimer m_timer;
    int m_frame = 0;
    QString m_oldText;
    bool m_stepUp = true;
    bool m_inSyncAnimation = false;
};

}  // namespace orlimo
