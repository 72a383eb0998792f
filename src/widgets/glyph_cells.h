// Lines of printable ASCII composed from kept pictures of their glyphs instead of being
// drawn. Drawing blends each glyph's coverage into the image, some 1,700 instructions a
// glyph; copying the pixels a glyph changed costs a fifth of that. What a glyph leaves
// depends on its character, the fraction of a pixel its position falls on and the two
// colours; where the ink of two neighbours meets, on the pair. Both are kept as QPainter
// draws them, so a composed line has exactly the pixels that drawing it gives.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "widgets/ascii_line.h"

namespace orlimo {

class TGlyphCells {
 public:
  // Forgets the glyphs kept for another font.
  void Use(const AsciiRun& run);

  // `text` (printable ASCII) as QPainter::drawGlyphRun at (0, ascent) with glyph i at
  // i * advance leaves it, in `colour`, over a `background` fill of a `width` x `height`
  // image of a 32-bit `format`; when the text is wider than the image, cut at its right
  // edge. Null where composing cannot give it: a glyph's ink leaving the image otherwise,
  // or reaching that of the glyph two before it.
  QImage Compose(std::string_view text, QRgb colour, QRgb background, int width, int height, QImage::Format format);

 private:
  // Where a glyph at one fraction of a pixel leaves coverage: a box around the pixel its
  // origin falls in, and which of the box's pixels it covers.
  struct Ink {
    int left = 0, top = 0, width = 0, height = 0;  // top: from the line's top
    bool fits = false;                             // inside the line's height, and drawn whole
    std::vector<std::uint8_t> covered;             // row by row in the box
  };
  // The pixels of glyphs and neighbouring pairs in one pair of colours.
  struct Palette {
    QRgb colour = 0, background = 0;
    std::vector<std::unique_ptr<std::vector<QRgb>>> cells;  // the ink box of each glyph
    std::unordered_map<std::uint32_t, QImage> pairs;        // two glyphs drawn together
  };

  void Reset(int height, QImage::Format format);
  // Draws `chars` from the origin at (margin + phase / 64, margin + ascent).
  QImage Draw(std::string_view chars, int phase, QRgb colour, QRgb background) const;
  const Ink& InkOf(int slot);
  const std::vector<QRgb>& CellOf(Palette& palette, int slot);
  const QImage& PairOf(Palette& palette, char first, char second, int phase);
  Palette& PaletteOf(QRgb colour, QRgb background);

  AsciiRun run_;
  int height_ = 0;
  QImage::Format format_ = QImage::Format_Invalid;
  int margin_ = 0;
  std::vector<std::unique_ptr<Ink>> inks_;  // by character and phase
  std::vector<Palette> palettes_;
  std::size_t kept_ = 0;  // cells and pairs kept, bounded
};

}  // namespace orlimo
