#include "icon_art.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace orlimo::iconart {
namespace {

// The application icon's and the sky view's colours.
const QColor kNavyLight(0x14, 0x5C, 0xA8);
const QColor kNavy(0x00, 0x40, 0x80);
const QColor kRim(0x10, 0x30, 0x60);
const QColor kPin(0xFF, 0xB3, 0xB3);
const QColor kPinEdge(0xA0, 0x30, 0x30);
const QColor kSignal(0xFF, 0xFF, 0x80);
const QColor kPanel(0x7F, 0xB2, 0xE6);
const QColor kPanelEdge(0x20, 0x40, 0x70);
const QColor kBody(0xE0, 0xB0, 0x40);

// Everything below is in units of a 256 x 256 canvas.
constexpr QPointF kCentre(128, 128);
constexpr QPointF kSatellite(184, 70);
// Panels across the signal's path, so they never cover the pin.
constexpr double kSatelliteTurn = 45;

void DrawSky(QPainter& p, bool detailed) {
  QRadialGradient glow(QPointF(110, 96), 150);
  glow.setColorAt(0, kNavyLight);
  glow.setColorAt(1, kNavy);
  p.setPen(QPen(kRim, detailed ? 6 : 12));
  p.setBrush(glow);
  p.drawEllipse(kCentre, 119, 119);
  if (!detailed) return;
  // The elevation rings and the compass lines of the sky view.
  p.setPen(QPen(QColor(255, 255, 255, 90), 3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(kCentre, 80, 80);
  p.drawEllipse(kCentre, 40, 40);
  p.drawLine(QPointF(128, 12), QPointF(128, 244));
  p.drawLine(QPointF(12, 128), QPointF(244, 128));
}

// Two arcs from the satellite towards the pin.
void DrawSignal(QPainter& p, int arcs) {
  p.setPen(QPen(kSignal, arcs > 1 ? 9 : 16, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < arcs; ++i) {
    const double r = 36 + 22 * i;
    p.drawArc(QRectF(kSatellite.x() - r, kSatellite.y() - r, 2 * r, 2 * r), 205 * 16, 50 * 16);
  }
}

void DrawSatellite(QPainter& p, bool detailed) {
  p.save();
  p.translate(kSatellite);
  p.rotate(kSatelliteTurn);
  const double edge = detailed ? 3 : 6;
  p.setPen(QPen(kPanelEdge, edge));
  p.drawLine(QPointF(-40, 0), QPointF(40, 0));
  p.setBrush(kPanel);
  const QRectF left(-66, -14, 44, 28);
  const QRectF right(22, -14, 44, 28);
  p.drawRect(left);
  p.drawRect(right);
  if (detailed) {
    // The cells of the panels.
    for (const QRectF& panel : {left, right}) {
      for (int i = 1; i < 3; ++i) {
        const double x = panel.left() + panel.width() * i / 3;
        p.drawLine(QPointF(x, panel.top()), QPointF(x, panel.bottom()));
      }
      p.drawLine(QPointF(panel.left(), 0), QPointF(panel.right(), 0));
    }
  }
  p.setBrush(kBody);
  p.setPen(QPen(kBody.darker(170), edge));
  p.drawRoundedRect(QRectF(-16, -18, 32, 36), 5, 5);
  p.restore();
}

// The receiver's place: a pin whose tip rests on the disc's lower half.
void DrawPin(QPainter& p, bool detailed) {
  const QPointF head(100, 148);
  const double r = detailed ? 40 : 48;
  QPainterPath pin;
  pin.moveTo(head.x(), 226);
  pin.cubicTo(head.x() - r * 0.55, head.y() + r * 1.2, head.x() - r, head.y() + r * 0.7, head.x() - r, head.y());
  pin.arcTo(QRectF(head.x() - r, head.y() - r, 2 * r, 2 * r), 180, -180);
  pin.cubicTo(head.x() + r, head.y() + r * 0.7, head.x() + r * 0.55, head.y() + r * 1.2, head.x(), 226);
  p.setPen(QPen(kPinEdge, detailed ? 4 : 8));
  p.setBrush(kPin);
  p.drawPath(pin);
  p.setPen(Qt::NoPen);
  p.setBrush(kNavy);
  p.drawEllipse(head, r * 0.38, r * 0.38);
}

}  // namespace

QImage DrawAppIcon(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 256.0, size / 256.0);
  const bool detailed = size >= 48;
  DrawSky(p, detailed);
  if (size >= 22) DrawSignal(p, detailed ? 2 : 1);
  DrawPin(p, detailed);
  if (size >= 22) DrawSatellite(p, detailed);
  return img;
}

}  // namespace orlimo::iconart
