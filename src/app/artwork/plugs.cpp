// The plug pair: a plug with two prongs coming from the left, a socket from the
// right. Apart they leave a gap between them; joined the prongs sit in the socket.
#include <QPainter>
#include <QPainterPath>

#include "app/artwork/artwork.h"

namespace orlimo::artwork {

QImage PlugPair(int size, bool joined, const QColor& color) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);

  const QColor dark = color.darker(170);
  const QColor light = color.lighter(150);
  const double midY = 16.0;
  // Apart: plug 1..10 with prongs to 15, socket 21..31. Joined: both moved together.
  const double plugLeft = joined ? 4.0 : 1.0;
  const double socketLeft = joined ? 18.0 : 21.0;

  QLinearGradient g(0, midY - 7, 0, midY + 7);
  g.setColorAt(0, light);
  g.setColorAt(1, dark);

  // Cables leave the bodies at the outer ends.
  p.setPen(QPen(dark, 2.5, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(0, midY + 9), QPointF(plugLeft + 2, midY + 5));
  p.drawLine(QPointF(32, midY - 9), QPointF(socketLeft + 8, midY - 5));

  // Plug body and its two prongs.
  p.setPen(QPen(dark, 1));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(plugLeft, midY - 6, 9, 12), 2, 2);
  p.setBrush(QColor(0xC8, 0xC8, 0xC8));
  p.setPen(QPen(QColor(0x50, 0x50, 0x50), 0.8));
  p.drawRect(QRectF(plugLeft + 9, midY - 4, 5, 2));
  p.drawRect(QRectF(plugLeft + 9, midY + 2, 5, 2));

  // Socket body with the two slots the prongs go into.
  p.setPen(QPen(dark, 1));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(socketLeft, midY - 7, 10, 14), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(dark.darker(150));
  p.drawRect(QRectF(socketLeft, midY - 4, 2, 2));
  p.drawRect(QRectF(socketLeft, midY + 2, 2, 2));
  return img;
}

}  // namespace orlimo::artwork
