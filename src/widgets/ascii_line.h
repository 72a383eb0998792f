// Single lines of printable ASCII drawn as runs of glyphs, without text layout. Laying
// a line out (shaping, line breaking) costs several times what drawing its glyphs does.
// In a font whose glyphs are placed pair by pair (an advance, and a kerning for some
// pairs, with no ligature), where each glyph goes follows from its neighbours, and a
// run drawn there has drawText's pixels.
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

// A font in which every printable ASCII character has its own glyph and one advance,
// with no kerned pair: a line of them is a run of glyphs one advance apart.
struct AsciiRun {
  QRawFont raw;
  std::array<quint32, 95> glyphs{};  // of ' ' to '~'
  qreal advance = 0;                 // 0: the font does not qualify
  qreal ascent = 0;
  // The width of `n` glyphs as a laid-out line gives it.
  int Width(std::size_t n) const { return qRound(static_cast<qreal>(n) * advance); }
};

struct AsciiFont {
  QFont font;
  AsciiRun run;  // its advance is set for a monospaced font only
  // In 64ths of a pixel, as the layout places glyphs: from a glyph to the next, by pair
  // (first * 95 + second), kerning included; and a line's last glyph's advance. Empty
  // where the font's lines are not runs of glyphs.
  std::vector<std::int16_t> steps;
  std::array<std::int16_t, 95> advances{};
  qreal textHeight = 0;  // a laid-out line's: ascent and descent
  qreal lineHeight = 0;  // in whole pixels, leading included when the font has any
  bool Drawable() const { return !steps.empty(); }
};

bool PrintableAscii(std::string_view text);

// The fonts asked for lately, each checked once. The check lays out every pair of
// characters, some milliseconds: a widget whose first paints should not wait for it
// (most fonts draw a few lines in all) has a font checked only once it has been asked
// for more than `usesBeforeCheck` times, and until then not drawable.
class TAsciiFonts {
 public:
  explicit TAsciiFonts(int usesBeforeCheck = 0) : usesBeforeCheck_(usesBeforeCheck) {}
  const AsciiFont& For(const QFont& font);

 private:
  struct Kept {
    AsciiFont font;
    int uses = 0;
    bool checked = false;
  };
  int usesBeforeCheck_;
  std::vector<Kept> fonts_;  // the latest last
};

// QPainter::drawText(box, align | Qt::TextSingleLine, text) for a line of printable
// ASCII, in the pen's colour. False, and nothing drawn, where the run would not give
// drawText's pixels: a font that does not qualify, other characters, or a painter that
// does more than translate.
bool DrawAsciiLine(QPainter& p, const AsciiFont& font, const QRect& box, Qt::Alignment align, std::string_view text);
bool DrawAsciiLine(QPainter& p, const AsciiFont& font, const QRect& box, Qt::Alignment align, const QString& text);

}  // namespace orlimo
