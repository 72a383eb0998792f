// The sky view's background: what never changes under the satellite dots.
#include <QFont>
#include <QPainter>

#include <cmath>
#include <numbers>

#include "app/views/artwork/view_art.h"

namespace orlimo::viewart {

namespace {

QPointF SkyAt(double azimuth, double radius) {
  const double a = azimuth * std::numbers::pi / 180.0;
  return {kSkyCentre.x() + 0.5 + radius * std::sin(a), kSkyCentre.y() + 0.5 - radius * std::cos(a)};
}

void Label(QPainter& p, QPointF at, const QString& text) {
  p.drawText(QRectF(at.x() - 15, at.y() - 7, 30, 14), Qt::AlignCenter, text);
}

}  // namespace

QImage DrawSkyBackground() {
  QImage img(kSkySize, kSkySize, QImage::Format_RGB32);
  img.fill(kSkyNavy);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c = SkyAt(0, 0);

  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::NoBrush);
  for (int r : {90, 60, 30}) p.drawEllipse(c, r, r);
  for (int az = 0; az < 180; az += 45) p.drawLine(SkyAt(az, 90), SkyAt(az + 180, 90));

  QFont f(QStringLiteral("Arial"));
  f.setBold(true);
  f.setPixelSize(11);
  p.setFont(f);
  p.setPen(QColor(0xFF, 0xFF, 0x80));
  const char* letters[] = {"N", "E", "S", "W"};
  for (int i = 0; i < 4; ++i) Label(p, SkyAt(i * 90, 98), QString::fromLatin1(letters[i]));

  f.setPixelSize(9);
  f.setBold(false);
  p.setFont(f);
  p.setPen(QColor(0xA0, 0xD0, 0xFF));
  for (int az = 45; az < 360; az += 90) Label(p, SkyAt(az, 99), QString::number(az));
  // elevation of each ring, just right of the north line
  for (int el : {0, 30, 60}) Label(p, SkyAt(0, 90 - el) + QPointF(9, 6), QString::number(el));
  return img;
}

}  // namespace orlimo::viewart
