#pragma once
// Axis geometry of the chart: where the ticks fall and how they are labelled.
#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

#include "widgets/line_attr.h"

namespace orlimo {

class Tkx_Scale : public QObject {
    Q_OBJECT
    Q_PROPERTY(int TicksCount READ ticksCount WRITE setTicksCount)
    Q_PROPERTY(bool TicksLines READ ticksLines WRITE setTicksLines)
    Q_PROPERTY(bool NoTicksLabel READ noTicksLabel WRITE setNoTicksLabel)
    Q_PROPERTY(bool TicksAdjusted READ ticksAdjusted WRITE setTicksAdjusted)
    Q_PROPERTY(QString LabelFormat READ labelFormat WRITE setLabelFormat)

public:
    static constexpr int kMaxTicks = 21;

    explicit Tkx_Scale(QObject* parent = nullptr);

    // Tick values from min to max. Adjusted ticks scale the range to whole
    // numbers (by powers of ten) and step by the whole range / (count - 1);
    // otherwise count ticks split the range evenly. At most kMaxTicks; a
    // single tick at min when count is 1 or the range is empty.
    static std::vector<double> ticks(double min, double max, int count, bool adjusted);
    // v formatted with a float pattern such as "###0.##" or "0.00" (digits
    // after '.' : '0' always shown, '#' only when not zero; ',' groups thousands).
    static QString formatLabel(double v, const QString& pattern);

    int ticksCount() const { return m_ticksCount; }
    void setTicksCount(int n);  // 0..255
    bool ticksLines() const { return m_ticksLines; }
    void setTicksLines(bool on);
    bool noTicksLabel() const { return m_noTicksLabel; }
    void setNoTicksLabel(bool on);
    bool ticksAdjusted() const { return m_ticksAdjusted; }
    void setTicksAdjusted(bool on);
    QString labelFormat() const { return m_labelFormat; }
    void setLabelFormat(const QString& f);
    bool isVertical() const { return m_vertical; }
    bool isFarSide() const { return m_farSide; }

    Tkx_LineAttr* lineAttr() const { return m_lineAttr; }

signals:
    void changed();

protected:
    void setOrientation(bool vertical, bool farSide);

private:
    int m_ticksCount = 5;
    bool m_ticksLines = true;
    bool m_noTicksLabel = false;
    bool m_ticksAdjusted = true;
    bool m_vertical = false;
    bool m_farSide = false;
    QString m_labelFormat = QStringLiteral("###0.##");
    Tkx_LineAttr* m_lineAttr;
};

}  // namespace orlimo
