#pragma once
// One of the chart's four axes: range, margin (which also holds the
// caption), caption, grid line attributes, plus the scale's ticks and labels.
#include "widgets/xy_scale.h"

namespace orlimo {

class Tkx_Axis : public Tkx_Scale {
    Q_OBJECT
    Q_PROPERTY(int Margin READ margin WRITE setMargin)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(double Min READ min WRITE setMin)
    Q_PROPERTY(double Max READ max WRITE setMax)
    Q_PROPERTY(uint SFlags READ sFlags WRITE setSFlags)

public:
    // Flag word bits as stored with a chart's settings.
    enum Flag : unsigned {
        VerticalFlag = 1u << 0,
        NoTickLinesFlag = 1u << 3,
        NoTicksLabelFlag = 1u << 4,
        FarSideFlag = 1u << 5,
        NotAdjustedFlag = 1u << 9,
    };

    explicit Tkx_Axis(unsigned flags, QObject* parent = nullptr);

    int margin() const { return m_margin; }
    void setMargin(int px);  // 0..10000
    QString caption() const { return m_caption; }
    void setCaption(const QString& c);
    double min() const { return m_min; }
    void setMin(double v);  // non-finite values are ignored
    double max() const { return m_max; }
    void setMax(double v);
    unsigned sFlags() const;
    void setSFlags(unsigned flags);

    Tkx_LineAttr* gridAttr() const { return m_gridAttr; }

    std::vector<double> tickValues() const;
    QStringList tickLabels() const;
    // Pixel offset of v along an axis `length` pixels long (0 at Min), rounded half to even.
    int offsetOf(double v, int length) const;

private:
    int m_margin = 4;
    QString m_caption;
    double m_min = 0;
    double m_max = 10;
    Tkx_LineAttr* m_gridAttr;
};

}  // namespace orlimo
