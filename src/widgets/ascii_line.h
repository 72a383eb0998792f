// Single lines of printable ASCII drawn as runs of glyphs, without text layout. Laying
// a line out (shaping, line breaking) costs several times what drawing its glyphs does.
// In a font whose glyphs are placed pair by pair (an advance, and a kerning for some
// pairs, with no ligature), where each glyph goes follows from its neighbours, and a
// run drawn there has drawText's pixels. The step from a glyph to the next is learnt
// from the layout of the first line that holds the pair; a line of known pairs needs no
// layout.
#pragma once

#include <QFont>
#include <QRawFont>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class QPainter;
class QRect;
class QString;

namespace orlimo {

// A font's glyphs of printable ASCII. In a monospaced font, where every character has
// one advance and no pair is kerned, a line of them is a run of glyphs one advance apart.
struct AsciiRun {
  QRawFont raw;
  std::array<quint32, 95> glyphs{};  // of ' ' to '~'
  qreal advance = 0;                 // 0: not known to be monospaced
  qreal ascent = 0;
  // The width of `n` glyphs as a laid-out line gives it.
  int Width(std::size_t n) const { return qRound(static_cast<qreal>(n) * advance); }
};

struct AsciiFont {
  QFont font;
  AsciiRun run;  // its advance is set once every pair is known to step by it
  bool usable = false;  // every printable character has a glyph of the font's own
  // In 64ths of a pixel, as the layout places glyphs: from a glyph to the next, by pair
  // (first * 95 + second), kerning included, -1 until known; and a line's last glyph's
  // advance.
  std::vector<std::int16_t> steps;
  std::array<std::int16_t, 95> advances{};
  qreal textHeight = 0;  // a laid-out line's: ascent and descent
  qreal lineHeight = 0;  // in whole pixels, leading included when the font has any
};

bool PrintableAscii(std::string_view text);

// The fonts asked for lately, each looked at once.
class TAsciiFonts {
 public:
  AsciiFont& For(const QFont& font);
  // For(font), with every pair laid out once (some milliseconds) to find whether the
  // font is monospaced: its run's advance is then set.
  AsciiFont& Monospaced(const QFont& font);

 private:
  std::vector<AsciiFont> fonts_;  // the latest last
};

// QPainter::drawText(box, align | Qt::TextSingleLine, text) for a line of printable
// ASCII, in the pen's colour; a line with a pair not yet known is laid out once. False,
// and nothing drawn, where the run would not give drawText's pixels: a font that does
// not qualify, other characters, a ligature, or a painter that does more than translate.
bool DrawAsciiLine(QPainter& p, AsciiFont& font, const QRect& box, Qt::Alignment align, std::string_view text);
bool DrawAsciiLine(QPainter& p, AsciiFont& font, const QRect& box, Qt::Alignment align, const QString& text);

}  // namespace orlimo
