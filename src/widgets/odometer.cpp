#include "widgets/odometer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <cstdlib>

namespace orlimo {

namespace {

constexpr int kCells = 17;
constexpr int kBlankCell = 16;
constexpr std::uint32_t kMaxLimit = 2147483647;
const char kGlyphs[] = "0123456789ABCDEF";

int cellIndex(QChar c)
{
    for (int k = 0; k < 16; ++k)
        if (c == QLatin1Char(kGlyphs[k]))
            return k;
    return kBlankCell;
}

int highestDigit(TBaseType b)
{
    switch (b) {
    case TBaseType::btBinary: return 1;
    case TBaseType::btHexadecimal: return 15;
    case TBaseType::btDecimal: break;
    }
    return 9;
}

}  // namespace

std::uint32_t TdkOdometer::limitFor(TBaseType base, int digits)
{
    digits = qBound(1, digits, 32);
    const int radix = base == TBaseType::btBinary ? 2 : base == TBaseType::btHexadecimal ? 16 : 10;
    const int maxDigits = base == TBaseType::btBinary ? 32 : base == TBaseType::btHexadecimal ? 8 : 10;
    if (digits >= maxDigits)
        return kMaxLimit;
    std::uint64_t p = 1;
    for (int i = 0; i < digits; ++i)
        p *= radix;
    return static_cast<std::uint32_t>(p - 1);
}

QString TdkOdometer::digitText(std::uint32_t v, TBaseType base, int digits)
{
    digits = qBound(1, digits, 32);
    QString s;
    if (base == TBaseType::btBinary) {
        for (int i = digits - 1; i >= 0; --i)
            s += (i < 32 && (v >> i) & 1u) ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    s = QString::number(v, base == TBaseType::btHexadecimal ? 16 : 10).toUpper();
    if (s.size() > digits)
        return s.right(digits);
    return s.rightJustified(digits, QLatin1Char('0'));
}

TdkOdometer::TdkOdometer(QWidget* parent) : QWidget(parent)
{
    // The wheels' image covers the whole widget: nothing under it is painted again
    // for a frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setInterval(m_frameInterval);
    connect(&m_timer, &QTimer::timeout, this, &TdkOdometer::onTimer);
    m_limit = limitFor(m_baseType, m_digitCount);
    resizeDisplay();
    renderAtOnce();
}

void TdkOdometer::setFrameInterval(int ms)
{
    m_frameInterval = qBound(1, ms, 255);
    m_timer.setInterval(m_frameInterval);
}

void TdkOdometer::setBaseType(TBaseType b)
{
    m_baseType = b;
    reapplyValue();
}

void TdkOdometer::setDigitCount(int n)
{
    if (n < 1 || n > 32)
        return;
    m_digitCount = n;
    if (m_redDigitCount > n)
        m_redDigitCount = n;
    resizeDisplay();
    reapplyValue();
}

void TdkOdometer::setRedDigitCount(int n)
{
    if (n < 0 || n > m_digitCount)
        return;
    m_redDigitCount = n;
    reapplyValue();
}

void TdkOdometer::reapplyValue()
{
    // Same as assigning the current value again: never a one-step change.
    m_timer.stop();
    m_limit = limitFor(m_baseType, m_digitCount);
    if (m_value > m_limit)
        m_value %= m_limit;
    renderAtOnce();
}

void TdkOdometer::setDigitStrip(const QImage& strip)
{
    m_strip = strip.convertToFormat(QImage::Format_RGB32);
    if (!m_strip.isNull() && m_strip.height() >= kCells) {
        m_cellW = m_strip.width();
        m_cellH = m_strip.height() / kCells;
    } else {
        m_strip = QImage();
        m_cellW = 15;
        m_cellH = 20;
    }
    setRedDigitStrip(m_redStrip);
    resizeDisplay();
    renderAtOnce();
}

void TdkOdometer::setRedDigitStrip(const QImage& strip)
{
    m_redStrip = strip.convertToFormat(QImage::Format_RGB32);
    // The red wheels use the cell geometry of the normal strip.
    if (!m_redStrip.isNull() && !m_strip.isNull() && m_redStrip.size() != m_strip.size())
        m_redStrip = m_redStrip.scaled(m_strip.size());
    renderAtOnce();
}

void TdkOdometer::resizeDisplay()
{
    m_display = QImage(m_cellW * m_digitCount, m_cellH, QImage::Format_RGB32);
    m_display.fill(Qt::black);
    setFixedSize(m_display.size());
}

const QImage& TdkOdometer::stripFor(int wheel) const
{
    const bool red = wheel >= m_digitCount - m_redDigitCount;
    return red && !m_redStrip.isNull() ? m_redStrip : m_strip;
}

void TdkOdometer::copyRows(QPainter& p, int wheel, const QImage& strip, int srcY, int dstY, int rows)
{
    if (strip.isNull() || rows <= 0)
        return;
    p.drawImage(QRect(wheel * m_cellW, dstY, m_cellW, rows), strip, QRect(0, srcY, m_cellW, rows));
}

void TdkOdometer::setValue(std::uint32_t v)
{
    if (v > m_limit)
        v %= m_limit;
    m_timer.stop();
    if (m_value < m_limit && v == m_value + 1)
        step(true);
    else if (m_value > 0 && v == m_value - 1)
        step(false);
    else {
        m_value = v;
        renderAtOnce();
    }
}

void TdkOdometer::step(bool up)
{
    m_timer.stop();
    m_oldText = digitText(m_value, m_baseType, m_digitCount);
    m_stepUp = up;
    if (up)
        m_value = m_value == m_limit ? 0 : m_value + 1;
    else
        m_value = m_value == 0 ? m_limit : m_value - 1;

    switch (m_animationType) {
    case TAnimationType::atNone: renderAtOnce(); break;
    case TAnimationType::atSynchronous:
        m_frame = 0;
        m_inSyncAnimation = true;
        for (;;) {
            const int before = m_frame;
            drawFrame();
            QThread::msleep(static_cast<unsigned long>(m_frameInterval));
            if (m_frame == before)
                break;
        }
        m_inSyncAnimation = false;
        break;
    case TAnimationType::atAsynchronous:
        m_frame = 0;
        m_timer.start();
        break;
    }
}

void TdkOdometer::renderAtOnce()
{
    const QString text = digitText(m_value, m_baseType, m_digitCount);
    m_display.fill(Qt::black);
    QPainter p(&m_display);
    for (int i = 0; i < m_digitCount; ++i)
        copyRows(p, i, stripFor(i), cellIndex(text[i]) * m_cellH, 0, m_cellH);
    update();
}

void TdkOdometer::onTimer()
{
    drawFrame();
}

// One frame of a step: every wheel whose digit changes by one (or wraps from
// the highest digit to 0 or back) shows its old and new cells shifted by s.
// The first frame draws every wheel; later ones only those that roll.
void TdkOdometer::drawFrame()
{
    const int h = m_cellH;
    const int p = m_frame * 255 / h;
    const int s = h * p / 255;
    const int m = highestDigit(m_baseType);
    const QString text = digitText(m_value, m_baseType, m_digitCount);

    QPainter painter(&m_display);
    int left = m_digitCount, right = -1;  // the wheels drawn
    for (int i = 0; i < m_digitCount; ++i) {
        const QImage& strip = stripFor(i);
        const int g = i < m_oldText.size() ? cellIndex(m_oldText[i]) : kBlankCell;
        const int f = cellIndex(text[i]);
        const bool wrap = m_stepUp ? (g == m && f == 0) : (g == 0 && f == m);
        const bool neighbour = std::abs(f - g) == 1;
        if (!wrap && !neighbour) {
            if (m_frame == 0) {
                copyRows(painter, i, strip, f * h, 0, h);
                left = std::min(left, i);
                right = std::max(right, i);
            }
            continue;
        }
        left = std::min(left, i);
        right = std::max(right, i);
        // A wrap rolls the way the step goes; a neighbour step the way its digit goes.
        // (In binary 1 -> 0 on a step up is a wrap, so every wheel rolls alike.)
        const bool upward = wrap ? m_stepUp : g < f;
        const bool enterFromBelow = upward != m_incTopToBottom;
        if (enterFromBelow) {
            copyRows(painter, i, strip, g * h + s, 0, h - s);  // old cell moving up...
            copyRows(painter, i, strip, f * h, h - s, s);      // ...new cell entering below
        } else {
            copyRows(painter, i, strip, f * h + h - s, 0, s);  // new cell entering from above...
            copyRows(painter, i, strip, g * h, s, h - s);      // ...old cell moving down
        }
    }
    painter.end();
    if (right >= left) {
        const QRect changed(left * m_cellW, 0, (right - left + 1) * m_cellW, h);
        // A synchronous step blocks the event loop until its last frame: only a
        // repaint shows the frames between. Otherwise the frame joins the window's
        // next paint, and no other widget is painted for it on its own.
        if (m_inSyncAnimation)
            repaint(changed);
        else
            update(changed);
    }
    const int shown = m_frame;
    if (m_frame < h)
        ++m_frame;
    else
        m_timer.stop();
    emit frameDrawn(shown);
}

void TdkOdometer::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect r = e->rect();
    p.drawImage(r.topLeft(), m_display, r);
}

}  // namespace orlimo
