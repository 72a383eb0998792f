#include "widgets/glyph_cells.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orlimo {
namespace {

// Glyph positions are kept in 64ths of a pixel.
constexpr int kPhases = 64;
constexpr int kGlyphs = 95;
constexpr char kFirst = ' ', kLast = '~';
// Cells and pairs kept over all colours: some 16,000 glyph pictures, a few megabytes.
constexpr std::size_t kMaxKept = 16384;

}  // namespace

void TGlyphCells::Use(const AsciiRun& run) {
  run_ = run;
  Reset(height_, format_);
}

void TGlyphCells::Reset(int height, QImage::Format format) {
  height_ = height;
  format_ = format;
  margin_ = std::max(height, 2 * static_cast<int>(std::ceil(run_.advance)));
  inks_.clear();
  inks_.resize(static_cast<std::size_t>(kGlyphs * kPhases));
  palettes_.clear();
  kept_ = 0;
}

QImage TGlyphCells::Draw(std::string_view chars, int phase, QRgb colour, QRgb background) const {
  const int advance = static_cast<int>(std::ceil(run_.advance));
  QImage img(2 * margin_ + static_cast<int>(chars.size()) * advance + 1, height_ + 2 * margin_, format_);
  img.fill(QColor::fromRgba(background));
  std::array<quint32, 2> glyphs{};
  std::array<QPointF, 2> positions{};
  const std::size_t n = std::min(chars.size(), glyphs.size());
  for (std::size_t i = 0; i < n; ++i) {
    glyphs[i] = run_.glyphs[static_cast<std::size_t>(chars[i] - kFirst)];
    positions[i] = QPointF(static_cast<qreal>(i) * run_.advance, 0);
  }
  QGlyphRun glyphRun;
  glyphRun.setRawFont(run_.raw);
  glyphRun.setRawData(glyphs.data(), positions.data(), static_cast<int>(n));
  QPainter p(&img);
  p.setPen(QColor::fromRgba(colour));
  p.drawGlyphRun(QPointF(margin_ + static_cast<qreal>(phase) / kPhases, margin_ + run_.ascent), glyphRun);
  return img;
}

// White on black: any coverage at all changes a pixel.
const TGlyphCells::Ink& TGlyphCells::InkOf(int slot) {
  std::unique_ptr<Ink>& kept = inks_[static_cast<std::size_t>(slot)];
  if (kept) return *kept;
  kept = std::make_unique<Ink>();
  const char c = static_cast<char>(kFirst + slot / kPhases);
  const QImage img = Draw(std::string_view(&c, 1), slot % kPhases, 0xFFFFFFFF, 0xFF000000);
  const auto black = reinterpret_cast<const QRgb*>(img.constScanLine(0))[0];
  int x0 = img.width(), x1 = -1, y0 = img.height(), y1 = -1;
  for (int y = 0; y < img.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      if (line[x] == black) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  Ink& ink = *kept;
  if (x1 < 0) {  // a space
    ink.fits = true;
    return ink;
  }
  ink.left = x0 - margin_;
  ink.top = y0 - margin_;
  ink.width = x1 - x0 + 1;
  ink.height = y1 - y0 + 1;
  const bool whole = x0 > 0 && y0 > 0 && x1 < img.width() - 1 && y1 < img.height() - 1;
  ink.fits = whole && ink.top >= 0 && ink.top + ink.height <= height_;
  ink.covered.resize(static_cast<std::size_t>(ink.width * ink.height));
  for (int y = 0; y < ink.height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y0 + y));
    for (int x = 0; x < ink.width; ++x) {
      ink.covered[static_cast<std::size_t>(y * ink.width + x)] = line[x0 + x] != black;
    }
  }
  return ink;
}

const std::vector<QRgb>& TGlyphCells::CellOf(Palette& palette, int slot) {
  std::unique_ptr<std::vector<QRgb>>& kept = palette.cells[static_cast<std::size_t>(slot)];
  if (kept) return *kept;
  const Ink& ink = InkOf(slot);
  const char c = static_cast<char>(kFirst + slot / kPhases);
  const QImage img = Draw(std::string_view(&c, 1), slot % kPhases, palette.colour, palette.background);
  kept = std::make_unique<std::vector<QRgb>>();
  kept->reserve(static_cast<std::size_t>(ink.width * ink.height));
  for (int y = 0; y < ink.height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(margin_ + ink.top + y)) + margin_ + ink.left;
    kept->insert(kept->end(), line, line + ink.width);
  }
  ++kept_;
  return *kept;
}

const QImage& TGlyphCells::PairOf(Palette& palette, char first, char second, int phase) {
  const auto key = static_cast<std::uint32_t>(((first - kFirst) * kGlyphs + (second - kFirst)) * kPhases + phase);
  auto [at, added] = palette.pairs.try_emplace(key);
  if (added) {
    const char chars[] = {first, second};
    at->second = Draw(std::string_view(chars, 2), phase, palette.colour, palette.background);
    ++kept_;
  }
  return at->second;
}

TGlyphCells::Palette& TGlyphCells::PaletteOf(QRgb colour, QRgb background) {
  for (Palette& p : palettes_) {
    if (p.colour == colour && p.background == background) return p;
  }
  Palette& p = palettes_.emplace_back();
  p.colour = colour;
  p.background = background;
  p.cells.resize(static_cast<std::size_t>(kGlyphs * kPhases));
  return p;
}

QImage TGlyphCells::Compose(std::string_view text, QRgb colour, QRgb background, int width, int height,
                            QImage::Format format) {
  if (run_.advance <= 0 || width <= 0 || height <= 0 || QImage::toPixelFormat(format).bitsPerPixel() != 32) {
    return {};
  }
  // Whole 64ths, as the painter places glyphs: then a glyph's phase is exact.
  const qreal fixedAdvance = run_.advance * kPhases;
  if (fixedAdvance != std::round(fixedAdvance)) return {};
  if (height != height_ || format != format_) Reset(height, format);
  if (kept_ > kMaxKept) Reset(height, format);
  QImage out(width, height, format);
  if (out.isNull()) return {};
  out.fill(QColor::fromRgba(background));
  Palette& palette = PaletteOf(colour, background);
  auto* bits = reinterpret_cast<QRgb*>(out.bits());
  const auto stride = static_cast<std::size_t>(out.bytesPerLine()) / sizeof(QRgb);

  // A glyph's ink box where it was put. Boxes of neighbours may share columns; a box
  // two glyphs back reaching into this one's is left to drawing.
  struct Placed {
    const Ink* ink = nullptr;
    int x = 0, phase = 0, left = 0, right = 0;
    bool Covers(int col, int row) const {
      if (ink == nullptr) return false;
      const int bx = col - left, by = row - ink->top;
      return bx >= 0 && bx < ink->width && by >= 0 && by < ink->height &&
             ink->covered[static_cast<std::size_t>(by * ink->width + bx)] != 0;
    }
  };
  Placed previous, beforeThat;
  const auto step = static_cast<long long>(fixedAdvance);
  // Text wider than the image is cut at its right edge, as drawing clips to a box that
  // rounds the text's width down; ink out of a wide enough image is drawing's to place.
  const bool cut = static_cast<qreal>(text.size()) * run_.advance > width;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c < kFirst || c > kLast) return {};
    const long long fixedX = static_cast<long long>(i) * step;
    Placed here;
    here.x = static_cast<int>(fixedX / kPhases);
    here.phase = static_cast<int>(fixedX % kPhases);
    const int slot = (c - kFirst) * kPhases + here.phase;
    here.ink = &InkOf(slot);
    const Ink& ink = *here.ink;
    if (!ink.fits) return {};
    here.left = here.x + ink.left;
    here.right = here.left + ink.width;
    const int shown = std::clamp(width - here.left, 0, ink.width);  // columns inside the image
    if (ink.width > 0 && (here.left < 0 || (shown < ink.width && !cut))) return {};
    if (shown > 0) {
      if (beforeThat.ink != nullptr && here.left < beforeThat.right) return {};
      const std::vector<QRgb>& cell = CellOf(palette, slot);
      // Columns in the previous box too: each covered pixel is this glyph's alone, or
      // the pair's. The rest of the row is this glyph's, uncovered pixels the background.
      const int shared = previous.ink != nullptr ? std::clamp(previous.right - here.left, 0, shown) : 0;
      const QImage* pair = nullptr;
      for (int y = 0; y < ink.height; ++y) {
        const int row = ink.top + y;
        QRgb* line = bits + static_cast<std::size_t>(row) * stride + here.left;
        const QRgb* drawn = cell.data() + static_cast<std::size_t>(y * ink.width);
        std::copy(drawn + shared, drawn + shown, line + shared);
        for (int px = 0; px < shared; ++px) {
          if (ink.covered[static_cast<std::size_t>(y * ink.width + px)] == 0) continue;
          if (!previous.Covers(here.left + px, row)) {
            line[px] = drawn[px];
            continue;
          }
          if (pair == nullptr) pair = &PairOf(palette, text[i - 1], c, previous.phase);
          line[px] = reinterpret_cast<const QRgb*>(pair->constScanLine(margin_ + row))[margin_ + here.left + px - previous.x];
        }
      }
    }
    beforeThat = previous;
    previous = here;
  }
  return out;
}

}  // namespace orlimo
