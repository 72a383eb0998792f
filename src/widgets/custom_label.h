#pragma once
// Common state of the self-drawn labels: caption, colours, transparency,
// alignment, word wrap and accelerator handling. Subclasses do the painting, and
// one that is not transparent covers every pixel of the label.
#include <QColor>
#include <QString>
#include <QWidget>

#include "widgets/label_types.h"

namespace orlimo {

class TCustomLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(bool Transparent READ transparent WRITE setTransparent)
    Q_PROPERTY(bool WordWrap READ wordWrap WRITE setWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ showAccelChar WRITE setShowAccelChar)
    Q_PROPERTY(bool AutoSize READ autoSize WRITE setAutoSize)

public:
    explicit TCustomLabel(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& text);
    QColor color() const { return m_color; }
    void setColor(const QColor& c);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& c);
    bool transparent() const { return m_transparent; }
    void setTransparent(bool on);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    bool showAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool on);
    TAlignment alignment() const { return m_alignment; }
    void setAlignment(TAlignment a);
    // When on, the label takes its sizeHint() whenever caption or font change.
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

    QSize sizeHint() const override;

protected:
    // Flags for QPainter::drawText: horizontal alignment, tab expansion,
    // wrap, and '&' as accelerator marker when ShowAccelChar is on.
    int textFlags(bool allowWrap) const;
    // Pixels the subclass's border takes on each side; used by sizeHint().
    virtual int frameExtent() const { return 0; }
    void changeEvent(QEvent* e) override;
    void adjustBounds();

private:
    void updateOpaque();

    QString m_caption;
    QColor m_color;
    QColor m_fontColor{Qt::black};
    bool m_transparent = false;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    bool m_autoSize = false;
    TAlignment m_alignment = TAlignment::taLeftJustify;
};

}  // namespace orlimo
