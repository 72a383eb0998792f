#include "stand_in_art.h"

#include <QFont>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace gallery {

QImage digitStrip(const QColor& background)
{
    QImage img(15, 340, QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    const QString glyphs = QStringLiteral("0123456789ABCDEF");
    for (int k = 0; k < 16; ++k)
        p.drawText(QRect(0, k * 20, 15, 20), Qt::AlignCenter, glyphs.mid(k, 1));
    p.setPen(background.darker(160));
    for (int k = 0; k <= 17; ++k)
        p.drawLine(0, k * 20 - 1, 14, k * 20 - 1);
    return img;
}

QImage dial(int size, int scaleMax)
{
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(QColor(0x00, 0x40, 0x80));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0);
    const double r = size / 2.0 - 4;
    p.setBrush(QColor(0x10, 0x10, 0x18));
    p.setPen(QPen(QColor(0xA0, 0xA0, 0xB0), 2));
    p.drawEllipse(c, r, r);
    auto at = [&](double deg, double rad) {
        const double a = deg * std::numbers::pi / 180.0;
        return QPointF(c.x() + rad * std::sin(a), c.y() - rad * std::cos(a));
    };
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    for (int i = 0; i <= 12; ++i) {
        const double deg = 225 + i * 22.5;
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(at(deg, r * 0.62), at(deg, r * 0.72));
        p.drawText(QRectF(at(deg, r * 0.52) - QPointF(12, 6), QSizeF(24, 12)), Qt::AlignCenter,
                   QString::number(scaleMax * i / 12));
    }
    const char* compass[] = {"N", "E", "S", "W"};
    p.setPen(QColor(0x80, 0xFF, 0x80));
    for (int i = 0; i < 4; ++i)
        p.drawText(QRectF(at(i * 90, r * 0.86) - QPointF(8, 7), QSizeF(16, 14)), Qt::AlignCenter,
                   QString::fromLatin1(compass[i]));
    for (int d = 0; d < 360; d += 15)
        if (d % 90 != 0)
            p.drawLine(at(d, r * 0.84), at(d, r * 0.9));
    return img;
}

QImage signalStrip()
{
    const QColor bands[] = {0x0000FF, 0x0063FF, 0x00CEFF, 0x63FFFF, 0xCEFFFF, 0xFFFF9C,
                            0xFFFF00, 0xFFCE63, 0xFF9C63, 0xFF7B84, 0xFF2929, 0xA50000};
    QImage img(13, 119, QImage::Format_RGB32);
    for (int y = 0; y < 119; ++y) {
        const QColor c = bands[std::min(11, y * 12 / 119)];
        for (int x = 0; x < 13; ++x)
            img.setPixelColor(x, y, c);
    }
    return img;
}

}  // namespace gallery
