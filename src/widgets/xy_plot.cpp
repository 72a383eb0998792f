#include "widgets/xy_plot.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "widgets/pz_label.h"
#include "widgets/system_colors.h"

namespace orlimo {

namespace {
constexpr int kTickLength = 4;
constexpr int kLabelGap = 5;
constexpr int kMinField = 3;
}  // namespace

Tkx_XYPlot::Tkx_XYPlot(QWidget* parent) : QWidget(parent)
{
    // Flag words: left vertical, right vertical far side without ticks or
    // labels, bottom plain, top far side without ticks or labels.
    const unsigned flags[4] = {1, 57, 0, 56};
    for (int i = 0; i < 4; ++i) {
        m_axes[i] = new Tkx_Axis(flags[i], this);
        connect(m_axes[i], &Tkx_Scale::changed, this, &Tkx_XYPlot::invalidatePlot);
    }
    leftAxis()->gridAttr()->setVisible(true);
    bottomAxis()->gridAttr()->setVisible(true);
    m_color = syscolor::buttonFace(palette());
    updateOpaque();
    resize(180, 120);
}

void Tkx_XYPlot::setColor(const QColor& c)
{
    m_color = c;
    updateOpaque();
    invalidatePlot();
}

void Tkx_XYPlot::setFieldColor(const QColor& c)
{
    m_fieldColor = c;
    updateOpaque();
    invalidatePlot();
}

// With both colours opaque every pixel is painted over: what lies behind need not be
// painted first.
void Tkx_XYPlot::updateOpaque()
{
    setAttribute(Qt::WA_OpaquePaintEvent, syscolor::opaque(m_color) && syscolor::opaque(m_fieldColor));
}

void Tkx_XYPlot::setFontColor(const QColor& c)
{
    m_fontColor = c;
    invalidatePlot();
}

void Tkx_XYPlot::setBorderStyle(TBorderStyle s)
{
    m_borderStyle = s;
    update();
}

void Tkx_XYPlot::setBufferedDisplay(bool on)
{
    m_buffered = on;
    if (!on)
        m_buffer = QImage();
    update();
}

void Tkx_XYPlot::invalidatePlot()
{
    m_layoutValid = m_frameValid = m_fieldValid = false;
    update();
}

void Tkx_XYPlot::redraw()
{
    // Painted with the rest of the window: painting at once here would also paint and
    // flush every widget already waiting for its paint, and those would paint again.
    m_fieldValid = false;
    update();
}

void Tkx_XYPlot::resizeEvent(QResizeEvent* e)
{
    invalidatePlot();
    QWidget::resizeEvent(e);
}

void Tkx_XYPlot::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        invalidatePlot();
    QWidget::changeEvent(e);
}

Tkx_XYPlot::Needs Tkx_XYPlot::needsOf(const Tkx_Axis* a) const
{
    const QFontMetrics fm(font());
    const int c0 = fm.horizontalAdvance(QLatin1Char('0'));
    const int fh = fm.height();
    const int w = a->lineAttr()->visible() ? a->lineAttr()->width() : 0;
    const auto ticks = a->tickValues();
    Needs n;
    if (ticks.empty()) {
        n.extent = w;
        return n;
    }
    if (a->noTicksLabel()) {
        n.extent = w + (a->ticksLines() ? kTickLength : 0);
        return n;
    }
    const QStringList labels = a->tickLabels();
    int longest = 0;
    for (const QString& s : labels)
        longest = std::max(longest, int(s.size()));
    n.extent = a->isVertical() ? w + longest * c0 + kLabelGap : w + fh + kLabelGap;

    // The axis reaches one pixel past its outermost tick positions (the
    // crossing axis lines); a tick short of the range end adds its distance.
    const int approxLen = a->isVertical() ? height() : width();
    const double range = a->max() - a->min();
    auto overhang = [&](const QString& label, double gapValue) {
        const int half = (a->isVertical() ? fh : int(label.size()) * c0) / 2;
        const int gap = range > 0 ? int(gapValue / range * approxLen) : 0;
        return std::max(0, half - 1 - gap);
    };
    n.overMin = overhang(labels.front(), ticks.front() - a->min());
    n.overMax = overhang(labels.back(), a->max() - ticks.back());
    return n;
}

void Tkx_XYPlot::ensureLayout() const
{
    if (m_layoutValid)
        return;
    const Needs l = needsOf(leftAxis()), r = needsOf(rightAxis());
    const Needs b = needsOf(bottomAxis()), t = needsOf(topAxis());
    const int left = std::max({l.extent, b.overMin, t.overMin}) + leftAxis()->margin();
    const int right = width() - std::max({r.extent, b.overMax, t.overMax}) - rightAxis()->margin();
    const int top = std::max({t.extent, l.overMax, r.overMax}) + topAxis()->margin();
    const int bottom = height() - std::max({b.extent, l.overMin, r.overMin}) - bottomAxis()->margin();
    m_field = QRect(left, top, std::max(kMinField, right - left), std::max(kMinField, bottom - top));
    m_layoutValid = true;
}

QRect Tkx_XYPlot::fieldRect() const
{
    ensureLayout();
    return m_field;
}

int Tkx_XYPlot::pixelOf(const Tkx_Axis* a, double v) const
{
    const QRect f = fieldRect();
    if (a->isVertical())
        return f.bottom() - a->offsetOf(v, f.height() - 1);
    return f.left() + a->offsetOf(v, f.width() - 1);
}

// Axis line: its start point (the Min end) and its length in pixels.
QPoint Tkx_XYPlot::lineStart(const Tkx_Axis* a, int* length) const
{
    const QRect f = fieldRect();
    if (a->isVertical()) {
        *length = f.height() - 1;
        return {a->isFarSide() ? f.right() + 1 : f.left() - 1, f.bottom()};
    }
    *length = f.width() - 1;
    return {f.left(), a->isFarSide() ? f.top() - 1 : f.bottom() + 1};
}

void Tkx_XYPlot::paintAxis(QPainter& p, const Tkx_Axis* a)
{
    int len = 0;
    const QPoint s = lineStart(a, &len);
    const int w = a->lineAttr()->visible() ? a->lineAttr()->width() : 0;
    if (a->lineAttr()->visible()) {
        p.setPen(a->lineAttr()->pen());
        p.drawLine(s, a->isVertical() ? s - QPoint(0, len) : s + QPoint(len, 0));
    }
    const auto ticks = a->tickValues();
    const QStringList labels = a->tickLabels();
    const QFontMetrics fm(font());
    const int fh = fm.height();
    const int out = a->isFarSide() ? 1 : -1;  // outward along x (vertical) ...
    const int down = a->isFarSide() ? -1 : 1;  // ... or along y (horizontal)
    p.setPen(QPen(m_fontColor, 1));
    for (size_t i = 0; i < ticks.size(); ++i) {
        const int pos = pixelOf(a, ticks[i]);
        if (a->isVertical()) {
            if (a->ticksLines()) {
                const int x0 = s.x() + out * w;
                p.drawLine(x0, pos, x0 + out * (kTickLength - 1), pos);
            }
            if (i < size_t(labels.size())) {
                const int tw = fm.horizontalAdvance(labels[int(i)]);
                const int x = a->isFarSide() ? s.x() + kLabelGap : s.x() - kLabelGap - tw + 1;
                p.drawText(QRect(x, pos - fh / 2, tw, fh), Qt::AlignLeft | Qt::AlignVCenter,
                           labels[int(i)]);
            }
        } else {
            if (a->ticksLines()) {
                const int y0 = s.y() + down * w;
                p.drawLine(pos, y0, pos, y0 + down * (kTickLength - 1));
            }
            if (i < size_t(labels.size())) {
                const int tw = fm.horizontalAdvance(labels[int(i)]);
                const int y = a->isFarSide() ? s.y() - kLabelGap - fh + 1 : s.y() + kLabelGap;
                p.drawText(QRect(pos - tw / 2, y, tw, fh), Qt::AlignLeft | Qt::AlignTop,
                           labels[int(i)]);
            }
        }
    }
}

void Tkx_XYPlot::paintCaption(QPainter& p, const Tkx_Axis* a)
{
    if (a->caption().isEmpty())
        return;
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    const QFontMetrics fm(bold);
    const int w = fm.horizontalAdvance(a->caption());
    const int t = QFontMetrics(font()).height();
    const QRect f = fieldRect();
    p.setPen(m_fontColor);
    if (a->isVertical()) {
        // Text runs upward; (x, y) is the top-left corner of the unrotated text box.
        const int x = a->isFarSide() ? width() - a->margin() : a->margin() - t - 1;
        const int y = (f.top() + f.bottom() + 1 + w) / 2;
        p.save();
        p.translate(x, y);
        p.rotate(-90);
        p.drawText(QRect(0, 0, w, fm.height()), Qt::AlignLeft | Qt::AlignTop, a->caption());
        p.restore();
    } else {
        const int x = (f.left() + f.right() + 1 - w) / 2;
        const int y = a->isFarSide() ? a->margin() - t - 1 : height() - a->margin();
        p.drawText(QRect(x, y, w, fm.height()), Qt::AlignLeft | Qt::AlignTop, a->caption());
    }
    p.setFont(font());
}

void Tkx_XYPlot::buildFrameLayer()
{
    m_frameLayer = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_frameLayer.fill(Qt::transparent);
    QPainter p(&m_frameLayer);
    const QRect f = fieldRect();
    p.fillRect(QRect(0, 0, width(), f.top()), m_color);
    p.fillRect(QRect(0, f.bottom() + 1, width(), height() - f.bottom() - 1), m_color);
    p.fillRect(QRect(0, f.top(), f.left(), f.height()), m_color);
    p.fillRect(QRect(f.right() + 1, f.top(), width() - f.right() - 1, f.height()), m_color);
    p.setFont(font());
    for (const Tkx_Axis* a : m_axes)
        paintAxis(p, a);
    for (const Tkx_Axis* a : m_axes)
        paintCaption(p, a);
    m_frameValid = true;
}

void Tkx_XYPlot::paintGrid(QPainter& p, const Tkx_Axis* a)
{
    if (!a->gridAttr()->visible())
        return;
    const QRect f = fieldRect();
    const QPen pen = a->gridAttr()->pen();
    // A solid one-pixel line without antialiasing covers the pixels from its start to
    // the one before its end: filled as that rectangle, it costs a tenth of a stroke.
    const bool thin = pen.width() == 1 && pen.style() == Qt::SolidLine &&
                      !p.testRenderHint(QPainter::Antialiasing);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (double v : a->tickValues()) {
        const int pos = pixelOf(a, v);
        if (thin && a->isVertical())
            p.fillRect(f.left(), pos, f.width() - 1, 1, pen.color());
        else if (thin)
            p.fillRect(pos, f.top(), 1, f.height() - 1, pen.color());
        else if (a->isVertical())
            p.drawLine(f.left(), pos, f.right(), pos);
        else
            p.drawLine(pos, f.top(), pos, f.bottom());
    }
}

void Tkx_XYPlot::buildFieldLayer()
{
    const QRect f = fieldRect();
    m_fieldLayer = QImage(f.size(), QImage::Format_ARGB32_Premultiplied);
    m_fieldLayer.fill(Qt::transparent);
    QPainter p(&m_fieldLayer);
    p.translate(-f.topLeft());
    p.setClipRect(f);
    if (m_fieldColor.isValid())
        p.fillRect(f, m_fieldColor);
    if (m_onFieldDraw) {
        p.save();
        m_drawCanvas = &p;
        m_onFieldDraw(*this);
        m_drawCanvas = nullptr;
        p.restore();
    }
    // left, bottom, right, top
    paintGrid(p, leftAxis());
    paintGrid(p, bottomAxis());
    paintGrid(p, rightAxis());
    paintGrid(p, topAxis());
    m_fieldValid = true;
}

void Tkx_XYPlot::drawBorder(QPainter& p)
{
    QRect r = rect();
    p.setBrush(Qt::NoBrush);
    switch (m_borderStyle) {
    case TBorderStyle::bs_None:
        frame3D(p, r, m_color, m_color, 1);
        break;
    case TBorderStyle::bs_Lowered:
        frame3D(p, r, syscolor::buttonShadow(palette()), syscolor::buttonHighlight(palette()), 1);
        break;
    case TBorderStyle::bs_Raised:
        frame3D(p, r, syscolor::buttonHighlight(palette()), syscolor::buttonShadow(palette()), 1);
        break;
    }
    frame3D(p, r, m_color, m_color, 1);  // the ring one pixel inside the edge
}

void Tkx_XYPlot::paintEvent(QPaintEvent*)
{
    ensureLayout();
    if (!m_frameValid || m_frameLayer.size() != size())
        buildFrameLayer();
    if (!m_fieldValid)
        buildFieldLayer();

    QPainter widgetPainter(this);
    QPainter bufferPainter;
    QPainter* p = &widgetPainter;
    // Opaque layers cover the whole widget: the buffer would be copied as it stands, and
    // drawing straight gives the same pixels.
    if (m_buffered && !testAttribute(Qt::WA_OpaquePaintEvent)) {
        if (m_buffer.size() != size())
            m_buffer = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        if (!m_buffer.isNull()) {
            m_buffer.fill(Qt::transparent);
            bufferPainter.begin(&m_buffer);
            p = &bufferPainter;
        }
    }
    p->drawImage(0, 0, m_frameLayer);
    p->drawImage(m_field.topLeft(), m_fieldLayer);
    if (m_onDrawEnd) {
        p->save();
        m_drawCanvas = p;
        m_onDrawEnd(*this);
        m_drawCanvas = nullptr;
        p->restore();
    }
    drawBorder(*p);
    if (p == &bufferPainter) {
        bufferPainter.end();
        widgetPainter.drawImage(0, 0, m_buffer);
    }
}

}  // namespace orlimo
