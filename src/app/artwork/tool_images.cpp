// The tool-bar pictures. Each motif is a small function on a 32 x 32 canvas; the
// disabled picture is the normal one in light grey.
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <functional>

#include "app/artwork/artwork.h"

namespace orlimo::artwork {
namespace {

const QColor kBlue(0x1E, 0x5A, 0xC8);
const QColor kDarkText(0x20, 0x20, 0x20);

QFont SmallFont(int pixelSize, bool bold = true) {
  QFont f;
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  return f;
}

void DrawPause(QPainter& p) {
  p.setPen(QPen(QColor(0x10, 0x30, 0x70), 1));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(8.5, 6.5, 5, 19), 1, 1);
  p.drawRoundedRect(QRectF(18.5, 6.5, 5, 19), 1, 1);
}

// "4800" over "9600" with a large A: try the rates by itself.
void DrawDetection(QPainter& p) {
  p.setFont(SmallFont(9));
  p.setPen(QColor(0x00, 0x60, 0x00));
  p.drawText(QRectF(0, 1, 24, 11), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("4800"));
  p.setPen(QColor(0x90, 0x00, 0x00));
  p.drawText(QRectF(0, 11, 24, 11), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("9600"));
  p.setFont(SmallFont(17));
  p.setPen(kBlue);
  p.drawText(QRectF(16, 12, 16, 20), Qt::AlignCenter, QStringLiteral("A"));
}

void DrawNMEAOutput(QPainter& p) {
  p.setPen(QPen(kDarkText, 1));
  p.setBrush(QColor(0xFF, 0xFF, 0xE0));
  p.drawRect(QRectF(3.5, 4.5, 25, 17));
  p.setFont(SmallFont(8));
  p.setPen(kBlue);
  p.drawText(QRectF(3, 5, 26, 16), Qt::AlignCenter, QStringLiteral("NMEA"));
  QPainterPath arrow;
  arrow.moveTo(10, 24);
  arrow.lineTo(22, 24);
  arrow.lineTo(22, 21);
  arrow.lineTo(28, 26);
  arrow.lineTo(22, 31);
  arrow.lineTo(22, 28);
  arrow.lineTo(10, 28);
  arrow.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x00, 0x90, 0x30));
  p.drawPath(arrow);
}

// A factory with a saw-tooth roof and a chimney: back to the maker's settings.
void DrawFactory(QPainter& p) {
  QPainterPath body;
  body.moveTo(3, 28);
  body.lineTo(3, 14);
  body.lineTo(10, 19);
  body.lineTo(10, 14);
  body.lineTo(17, 19);
  body.lineTo(17, 14);
  body.lineTo(24, 19);
  body.lineTo(24, 5);
  body.lineTo(29, 5);
  body.lineTo(29, 28);
  body.closeSubpath();
  p.setPen(QPen(QColor(0x50, 0x20, 0x10), 1));
  p.setBrush(QColor(0xC0, 0x50, 0x30));
  p.drawPath(body);
  p.setBrush(QColor(0xFF, 0xE0, 0x60));
  for (int x : {6, 13, 20}) p.drawRect(QRectF(x, 22, 3, 3));
}

// A snowflake: the receiver forgets everything it knew of the sky.
void DrawColdStart(QPainter& p) {
  p.translate(16, 16);
  p.setPen(QPen(QColor(0x10, 0x70, 0xD0), 2.2, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 6; ++i) {
    p.drawLine(QPointF(0, 0), QPointF(0, -13));
    p.drawLine(QPointF(0, -8), QPointF(-4, -12));
    p.drawLine(QPointF(0, -8), QPointF(4, -12));
    p.rotate(60);
  }
}

// A flame: restart with everything the receiver still knows.
void DrawHotStart(QPainter& p) {
  QPainterPath flame;
  flame.moveTo(16, 2);
  flame.cubicTo(26, 12, 28, 20, 24, 26);
  flame.cubicTo(21, 31, 11, 31, 8, 26);
  flame.cubicTo(5, 20, 9, 14, 12, 10);
  flame.cubicTo(12, 16, 15, 17, 16, 18);
  flame.cubicTo(18, 12, 18, 7, 16, 2);
  QLinearGradient g(0, 2, 0, 30);
  g.setColorAt(0, QColor(0xFF, 0xD0, 0x00));
  g.setColorAt(1, QColor(0xE0, 0x20, 0x00));
  p.setPen(QPen(QColor(0xA0, 0x20, 0x00), 1));
  p.setBrush(g);
  p.drawPath(flame);
}

// A battery with a drop: the trickle-power mode.
void DrawTricklePower(QPainter& p) {
  p.setPen(QPen(kDarkText, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 22, 12));
  p.setBrush(kDarkText);
  p.drawRect(QRectF(26.5, 14.5, 3, 4));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0xB0, 0x20));
  p.drawRect(QRectF(6, 12, 8, 10));
}

void DrawAbout(QPainter& p) {
  p.setPen(QPen(QColor(0x10, 0x40, 0x90), 1));
  p.setBrush(QColor(0xE8, 0xF0, 0xFF));
  p.drawEllipse(QRectF(3.5, 3.5, 25, 25));
  p.setFont(SmallFont(18));
  p.setPen(kBlue);
  p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
}

// Two grey chain links: a connection is being made.
void DrawChainLinks(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.translate(16, 16);
  p.rotate(-35);
  p.setPen(QPen(QColor(0x70, 0x70, 0x70), 3));
  p.drawRoundedRect(QRectF(-14, -5, 16, 10), 5, 5);
  p.setPen(QPen(QColor(0x98, 0x98, 0x98), 3));
  p.drawRoundedRect(QRectF(-2, -5, 16, 10), 5, 5);
}

// A sheet of paper; `mark` 0 a pencil (ready to log), 1 a red dot (logging),
// 2 a red bar across (logging unavailable).
void DrawLogSheet(QPainter& p, int mark) {
  p.setPen(QPen(kDarkText, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(5.5, 3.5, 18, 24));
  p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
  for (int y = 8; y <= 22; y += 4) p.drawLine(QPointF(8, y + 0.5), QPointF(21, y + 0.5));
  if (mark == 0) {
    p.setPen(QPen(QColor(0xD0, 0x90, 0x10), 3.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(16, 28), QPointF(29, 12));
    p.setPen(QPen(kDarkText, 1.5));
    p.drawLine(QPointF(14.5, 30), QPointF(16, 28));
  } else if (mark == 1) {
    p.setPen(QPen(QColor(0x80, 0x00, 0x00), 1));
    p.setBrush(QColor(0xE0, 0x10, 0x10));
    p.drawEllipse(QRectF(17.5, 17.5, 12, 12));
  } else {
    p.setPen(QPen(QColor(0xD0, 0x10, 0x10), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 28), QPointF(28, 4));
  }
}

QImage DrawMotif(int index) {
  QImage img(kToolImageSize, kToolImageSize, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  if (index == 0 || index == 1) return PlugPair(kToolImageSize, index == 1, kBlue);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  switch (index) {
    case 2: DrawPause(p); break;
    case 3: DrawDetection(p); break;
    case 4: DrawNMEAOutput(p); break;
    case 6: DrawFactory(p); break;
    case 9: DrawColdStart(p); break;
    case 10: DrawHotStart(p); break;
    case 12: DrawTricklePower(p); break;
    case 13: DrawAbout(p); break;
    case 14: DrawChainLinks(p); break;
    case 18: DrawLogSheet(p, 1); break;
    case 19: DrawLogSheet(p, 0); break;
    case 20: DrawLogSheet(p, 2); break;
    default: break;  // no button shows these numbers
  }
  return img;
}

// Light grey with the shape kept: the luminance squeezed into the upper range.
QImage Greyed(const QImage& src) {
  QImage out = src.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = line[x];
      const int grey = 110 + qGray(c) * 110 / 255;
      line[x] = qRgba(grey, grey, grey, qAlpha(c));
    }
  }
  return out;
}

}  // namespace

QImage ToolBarImage(int index, bool enabled) {
  if (index < 0 || index >= kToolImageCount) {
    QImage empty(kToolImageSize, kToolImageSize, QImage::Format_ARGB32_Premultiplied);
    empty.fill(Qt::transparent);
    return empty;
  }
  const QImage normal = DrawMotif(index);
  return enabled ? normal : Greyed(normal);
}

QIcon ToolBarIcon(int index) {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(ToolBarImage(index, true)), QIcon::Normal);
  icon.addPixmap(QPixmap::fromImage(ToolBarImage(index, true)), QIcon::Active);
  icon.addPixmap(QPixmap::fromImage(ToolBarImage(index, false)), QIcon::Disabled);
  return icon;
}

}  // namespace orlimo::artwork
