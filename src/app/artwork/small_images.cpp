// The activity light of the status bar, the USB notice pictures, the brand banner
// and the program icon.
#include <QPainter>
#include <QPainterPath>

#include <array>

#include "app/artwork/artwork.h"

namespace orlimo::artwork {
namespace {

QImage Blank(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

// A mast with three arcs on each side.
void DrawRadioWaves(QPainter& p, const QColor& c) {
  p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const QPointF centre(10, 8);
  for (int r = 3; r <= 9; r += 3) {
    const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    p.drawArc(box, 135 * 16, 90 * 16);   // left
    p.drawArc(box, -45 * 16, 90 * 16);   // right
  }
  p.setBrush(c);
  p.drawEllipse(centre, 1.6, 1.6);
  p.drawLine(QPointF(10, 9), QPointF(10, 18));
  p.drawLine(QPointF(7, 18), QPointF(13, 18));
}

QImage DrawGPSDataImage(int index) {
  QImage img = Blank(kGPSDataImageSize, kGPSDataImageSize);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  switch (index) {
    case 0: DrawRadioWaves(p, QColor(0x10, 0x50, 0xE0)); break;
    case 1:
      p.setPen(QPen(QColor(0xE0, 0x00, 0x00), 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(3, 3), QPointF(17, 17));
      p.drawLine(QPointF(17, 3), QPointF(3, 17));
      break;
    case 2:
      p.setPen(QPen(QColor(0xB0, 0xB0, 0xA8), 1));
      p.setBrush(QColor(0xF4, 0xF4, 0xEC));
      p.drawRect(QRectF(0.5, 0.5, 19, 19));
      break;
    case 3: DrawRadioWaves(p, QColor(0x90, 0x90, 0x90)); break;
    default: break;
  }
  return img;
}

}  // namespace

// Drawn once: the light shows two of them at every blink.
QImage GPSDataImage(int index) {
  static const std::array<QImage, kGPSDataImageCount> pictures = [] {
    std::array<QImage, kGPSDataImageCount> all;
    for (int i = 0; i < kGPSDataImageCount; ++i) all[static_cast<std::size_t>(i)] = DrawGPSDataImage(i);
    return all;
  }();
  if (index < 0 || index >= kGPSDataImageCount) return DrawGPSDataImage(index);
  return pictures[static_cast<std::size_t>(index)];
}

QImage USBInfoImage(int index) {
  if (index < 0 || index >= kUSBInfoImageCount) return Blank(32, 32);
  const bool joined = index % 2 == 1;
  const QColor colour = index < 2 ? QColor(0x1E, 0x5A, 0xC8) : QColor(0x80, 0x80, 0x80);
  return PlugPair(32, joined, colour);
}

QImage BrandBitmap() {
  QImage img = Blank(150, 36);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont brand;
  brand.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  brand.setPixelSize(22);
  brand.setBold(true);
  brand.setItalic(true);
  p.setFont(brand);
  p.setPen(QColor(0xFF, 0xFF, 0xB9));
  p.drawText(QRectF(2, 0, 110, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KELDAR"));
  // A red swoosh under the name.
  QPainterPath swoosh;
  swoosh.moveTo(2, 30);
  swoosh.cubicTo(40, 24, 80, 34, 112, 25);
  swoosh.cubicTo(80, 31, 40, 29, 2, 33);
  swoosh.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xE0, 0x20, 0x20));
  p.drawPath(swoosh);
  QFont small = brand;
  small.setPixelSize(10);
  small.setItalic(false);
  p.setFont(small);
  p.setPen(QColor(0xC0, 0xC0, 0xC0));
  p.drawText(QRectF(104, 4, 46, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orlimo"));
  p.drawText(QRectF(104, 16, 46, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Utility"));
  return img;
}

QFont BannerFont() {
  QFont f;
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  f.setPixelSize(20);  // 15 points on a 96 dpi screen
  f.setBold(true);
  return f;
}

QImage DrawBanner(int width, int height, int x, int y, const QString& text, bool brandPicture) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setPen(QColor(128, 128, 128));
  p.setBrush(Qt::black);
  p.drawRect(0, 0, width - 1, height - 1);
  if (brandPicture) {
    // A banner too short for the picture (the compact layout's) gets it smaller
    // rather than cut.
    QImage picture = BrandBitmap();
    const int room = width - 1 - (x + 4);
    if (picture.width() > room && room > 0) picture = picture.scaledToWidth(room, Qt::SmoothTransformation);
    p.drawImage(x + 4, y, picture);
    return img;
  }
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(BannerFont());
  p.setPen(QColor(255, 255, 185));
  const int textWidth = p.fontMetrics().horizontalAdvance(text);
  p.drawText(QRect(x + 35, y + 5, textWidth + 1, height), Qt::AlignLeft | Qt::AlignTop, text);
  const QPixmap icon = ApplicationIcon().pixmap(32, 32);
  p.drawPixmap(x, y, icon);
  if (width - textWidth - 38 > 32) p.drawPixmap(x + textWidth + 38, y, icon);
  return img;
}

QIcon ApplicationIcon() {
  QImage img = Blank(32, 32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x10, 0x30, 0x60), 1));
  p.setBrush(QColor(0x00, 0x40, 0x80));
  p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
  // A location pin.
  QPainterPath pin;
  pin.moveTo(16, 28);
  pin.cubicTo(10, 19, 8, 15, 8, 12);
  pin.arcTo(QRectF(8, 4, 16, 16), 180, -180);
  pin.cubicTo(24, 15, 22, 19, 16, 28);
  p.setBrush(QColor(0xFF, 0xB3, 0xB3));
  p.setPen(Qt::NoPen);
  p.drawPath(pin);
  p.setBrush(QColor(0x00, 0x40, 0x80));
  p.drawEllipse(QPointF(16, 12), 3, 3);
  return QIcon(QPixmap::fromImage(img));
}

}  // namespace orlimo::artwork
