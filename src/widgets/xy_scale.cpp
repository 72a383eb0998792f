#include "widgets/xy_scale.h"

#include <cmath>

namespace orlimo {

Tkx_Scale::Tkx_Scale(QObject* parent) : QObject(parent), m_lineAttr(new Tkx_LineAttr(this))
{
    connect(m_lineAttr, &Tkx_LineAttr::changed, this, &Tkx_Scale::changed);
}

std::vector<double> Tkx_Scale::ticks(double min, double max, int count, bool adjusted)
{
    std::vector<double> out;
    if (count <= 0 || !std::isfinite(min) || !std::isfinite(max))
        return out;
    count = std::min(count, kMaxTicks);
    const double range = max - min;
    if (count == 1 || !(range > 0)) {
        out.push_back(min);
        return out;
    }
    if (adjusted) {
        double scale = 1;
        for (int k = 0; k < 6 && range * scale < count - 1; ++k)
            scale *= 10;
        const long long whole = std::llround(range * scale);
        const long long step = std::max(1LL, whole / (count - 1));
        for (long long t = 0; t <= whole && int(out.size()) < kMaxTicks; t += step)
            out.push_back(min + double(t) / scale);
        return out;
    }
    for (int i = 0; i < count; ++i)
        out.push_back(min + range * i / (count - 1));
    return out;
}

QString Tkx_Scale::formatLabel(double v, const QString& pattern)
{
    if (pattern.isEmpty() || !std::isfinite(v))
        return QString::number(v);
    const int dot = pattern.indexOf(QLatin1Char('.'));
    const QString intPat = dot < 0 ? pattern : pattern.left(dot);
    const QString fracPat = dot < 0 ? QString() : pattern.mid(dot + 1);
    const int minInt = int(intPat.count(QLatin1Char('0')));
    const int minFrac = int(fracPat.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPat.count(QLatin1Char('#')));

    QString s = QString::number(std::fabs(v), 'f', maxFrac);
    int point = int(s.indexOf(QLatin1Char('.')));
    if (point >= 0) {
        int keep = s.size();
        while (keep > point + 1 + minFrac && s[keep - 1] == QLatin1Char('0'))
            --keep;
        if (keep == point + 1)
            keep = point;
        s.truncate(keep);
    } else {
        point = s.size();
    }
    QString whole = s.left(point);
    const QString rest = s.mid(point);
    if (whole == QLatin1String("0") && minInt == 0 && !rest.isEmpty())
        whole.clear();
    while (whole.size() < minInt)
        whole.prepend(QLatin1Char('0'));
    if (intPat.contains(QLatin1Char(',')))
        for (int i = int(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, QLatin1Char(','));
    QString out = whole + rest;
    if (out.isEmpty())
        out = QStringLiteral("0");
    const bool zero = out.count(QLatin1Char('0')) + out.count(QLatin1Char('.')) +
                          out.count(QLatin1Char(',')) == out.size();
    return (v < 0 && !zero) ? QLatin1Char('-') + out : out;
}

void Tkx_Scale::setTicksCount(int n)
{
    n = qBound(0, n, 255);
    if (n == m_ticksCount)
        return;
    m_ticksCount = n;
    emit changed();
}

void Tkx_Scale::setTicksLines(bool on)
{
    if (on == m_ticksLines)
        return;
    m_ticksLines = on;
    emit changed();
}

void Tkx_Scale::setNoTicksLabel(bool on)
{
    if (on == m_noTicksLabel)
        return;
    m_noTicksLabel = on;
    emit changed();
}

void Tkx_Scale::setTicksAdjusted(bool on)
{
    if (on == m_ticksAdjusted)
        return;
    m_ticksAdjusted = on;
    emit changed();
}

void Tkx_Scale::setLabelFormat(const QString& f)
{
    if (f == m_labelFormat)
        return;
    m_labelFormat = f;
    emit changed();
}

void Tkx_Scale::setOrientation(bool vertical, bool farSide)
{
    m_vertical = vertical;
    m_farSide = farSide;
    emit changed();
}

}  // namespace orlimo
