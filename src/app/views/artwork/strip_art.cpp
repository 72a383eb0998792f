// Counter digit strips and the signal colour strip.
#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <array>

#include "app/views/artwork/view_art.h"

namespace orlimo::viewart {

namespace {

QImage Digits(const QColor& face) {
  QImage img(kDigitCellWidth, kDigitCellHeight * kDigitCells, QImage::Format_RGB32);
  QPainter p(&img);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(16);
  f.setBold(true);
  p.setFont(f);
  const QString glyphs = QStringLiteral("0123456789ABCDEF");
  for (int k = 0; k < kDigitCells; ++k) {
    // each cell shaded like a drum: darker at its top and bottom edge
    const QRect cell(0, k * kDigitCellHeight, kDigitCellWidth, kDigitCellHeight);
    QLinearGradient drum(cell.topLeft(), cell.bottomLeft());
    drum.setColorAt(0.0, face.darker(220));
    drum.setColorAt(0.5, face);
    drum.setColorAt(1.0, face.darker(220));
    p.fillRect(cell, drum);
    if (k < glyphs.size()) {
      p.setPen(Qt::white);
      p.drawText(cell, Qt::AlignCenter, glyphs.mid(k, 1));
    }
  }
  return img;
}

struct Band {
  int firstRow;
  QRgb colour;
};

// Top to bottom; each band runs to the row before the next one.
constexpr std::array<Band, 14> kSignalBands{{
    {0, 0x6363FF},   {1, 0x0000FF},   {10, 0x0063FF},  {20, 0x00CEFF}, {30, 0x63FFFF},
    {39, 0xCEFFFF},  {49, 0xFFFF9C},  {59, 0xFFFF00},  {69, 0xFFCE63}, {79, 0xFF9C63},
    {88, 0xFF7B84},  {98, 0xFF2929},  {108, 0xA50000}, {118, 0xB5EFBD},
}};

}  // namespace

QImage DigitStrip() { return Digits(QColor(0x48, 0x48, 0x48)); }
QImage RedDigitStrip() { return Digits(QColor(0xC8, 0x10, 0x10)); }

QColor SignalStripColour(int row) {
  QRgb c = kSignalBands.front().colour;
  for (const Band& b : kSignalBands)
    if (row >= b.firstRow) c = b.colour;
  return QColor::fromRgb(c);
}

QImage ColourStrip() {
  QImage img(kColourStripWidth, kColourStripHeight, QImage::Format_RGB32);
  img.fill(Qt::black);
  // three spare strips (grey, green and red ramps), then the signal strip
  for (int y = 0; y < kColourStripHeight; ++y) {
    const int level = 255 - y * 2;
    for (int x = 0; x < 13; ++x) {
      img.setPixelColor(x + 0, y, QColor(level, level, level));
      img.setPixelColor(x + 16, y, QColor(0, level, 0x40));
      img.setPixelColor(x + 32, y, QColor(level, 0x20, 0));
    }
    const QColor band = SignalStripColour(y);
    for (int x = 0; x < kSignalStripWidth; ++x) img.setPixelColor(kSignalStripLeft + x, y, band);
  }
  return img;
}

}  // namespace orlimo::viewart
