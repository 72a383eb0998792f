#include "widgets/ascii_line.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace orlimo {
namespace {

constexpr char kFirst = ' ', kLast = '~';
constexpr int kCount = kLast - kFirst + 1;
constexpr std::size_t kKeptFonts = 4;  // a grid's header and cell fonts, a label's

int Slot(char c) { return c - kFirst; }
std::size_t Pair(char a, char b) { return static_cast<std::size_t>(Slot(a) * kCount + Slot(b)); }

std::int16_t To64ths(qreal x, bool& fits) {
  const qreal v = std::round(x * 64);
  fits = fits && v >= 0 && v <= std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(fits ? v : 0);
}

std::string AllCharacters() {
  std::string all;
  for (char c = kFirst; c <= kLast; ++c) all += c;
  return all;
}

AsciiFont Look(const QFont& font) {
  AsciiFont f;
  f.font = font;
  // Decorations, spacing and case changes are the layout's work.
  if (font.underline() || font.overline() || font.strikeOut() || font.letterSpacing() != 0 ||
      font.wordSpacing() != 0 || font.capitalization() != QFont::MixedCase) {
    return f;
  }
  const QString all = QString::fromStdString(AllCharacters());
  AsciiRun& run = f.run;
  run.raw = QRawFont::fromFont(font);
  const QList<quint32> glyphs = run.raw.glyphIndexesForString(all);
  if (!run.raw.isValid() || glyphs.size() != kCount) return f;
  for (int i = 0; i < kCount; ++i) {
    if (glyphs[i] == 0) return f;  // drawn from a fallback font
    run.glyphs[static_cast<std::size_t>(i)] = glyphs[i];
  }
  const QFontMetricsF fm(font);
  bool fits = true;
  for (int c = 0; c < kCount; ++c) f.advances[static_cast<std::size_t>(c)] = To64ths(fm.horizontalAdvance(all[c]), fits);
  if (!fits) return f;
  run.ascent = fm.ascent();
  f.textHeight = fm.ascent() + fm.descent();
  f.lineHeight = std::ceil(fm.ascent() + fm.descent() + std::max<qreal>(0, fm.leading()));
  f.steps.assign(kCount * kCount, -1);
  f.usable = true;
  return f;
}

// Lays `text` out as drawText would and keeps the steps of its pairs. False where its
// glyphs are not its characters' own, one each, where a pair steps otherwise than it did
// before, or where the line is not as wide as its steps say.
bool Learn(AsciiFont& f, std::string_view text) {
  const QString line = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  QTextLayout layout(line, f.font);
  layout.beginLayout();
  QTextLine l = layout.createLine();
  l.setLineWidth(1e6);
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.size() != 1 || runs[0].glyphIndexes().size() != line.size()) return false;
  const QList<quint32> ids = runs[0].glyphIndexes();
  const QList<QPointF> at = runs[0].positions();
  std::vector<std::pair<std::size_t, std::int16_t>> learnt;
  long width = 0;
  bool fits = true;
  for (qsizetype k = 0; k < line.size(); ++k) {
    const char c = text[static_cast<std::size_t>(k)];
    if (ids[k] != f.run.glyphs[static_cast<std::size_t>(Slot(c))]) return false;  // a ligature or another glyph
    if (k + 1 == line.size()) {
      width += f.advances[static_cast<std::size_t>(Slot(c))];
      break;
    }
    const std::size_t pair = Pair(c, text[static_cast<std::size_t>(k + 1)]);
    const std::int16_t step = To64ths(at[k + 1].x() - at[k].x(), fits);
    if (!fits || (f.steps[pair] >= 0 && f.steps[pair] != step)) return false;
    learnt.emplace_back(pair, step);
    width += step;
  }
  if (!fits || std::lround(l.horizontalAdvance() * 64) != width) return false;
  for (const auto& [pair, step] : learnt) f.steps[pair] = step;
  return true;
}

// Every ordered pair of `chars`, side by side.
std::string EveryPair(std::string_view chars) {
  std::string pairs;
  pairs.reserve(2 * chars.size() * chars.size());
  for (const char a : chars) {
    for (const char b : chars) {
      pairs += a;
      pairs += b;
    }
  }
  return pairs;
}

}  // namespace

bool PrintableAscii(std::string_view text) {
  return std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= kFirst && c <= kLast; });
}

AsciiFont& TAsciiFonts::For(const QFont& font) {
  const auto kept = std::find_if(fonts_.begin(), fonts_.end(), [&](const AsciiFont& f) { return f.font == font; });
  if (kept != fonts_.end()) {
    std::rotate(kept, kept + 1, fonts_.end());
    return fonts_.back();
  }
  if (fonts_.size() == kKeptFonts) fonts_.erase(fonts_.begin());
  fonts_.push_back(Look(font));
  // Readings change without a layout of their own: the pairs numbers are written with
  // are laid out once, before the first of them.
  if (fonts_.back().usable) (void)Learn(fonts_.back(), EveryPair("0123456789 .,:;/-+"));
  return fonts_.back();
}

AsciiFont& TAsciiFonts::Monospaced(const QFont& font) {
  AsciiFont& f = For(font);
  if (!f.usable || f.run.advance > 0) return f;
  const std::int16_t advance = f.advances[0];
  if (std::any_of(f.advances.cbegin(), f.advances.cend(), [&](std::int16_t a) { return a != advance; })) return f;
  // Every ordered pair once: a kerned pair would change the sum.
  const QString pairs = QString::fromStdString(EveryPair(AllCharacters()));
  const qreal step = advance / 64.0;
  if (QFontMetrics(font).horizontalAdvance(pairs) != qRound(pairs.size() * step)) return f;
  std::fill(f.steps.begin(), f.steps.end(), advance);
  f.run.advance = step;
  return f;
}

bool DrawAsciiLine(QPainter& p, AsciiFont& font, const QRect& box, Qt::Alignment align, std::string_view text) {
  if (!font.usable || !PrintableAscii(text) || p.deviceTransform().type() > QTransform::TxTranslate) return false;
  if (text.empty()) return true;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (font.steps[Pair(text[i], text[i + 1])] < 0) {
      if (!Learn(font, text)) return false;
      break;
    }
  }
  const auto n = static_cast<qsizetype>(text.size());
  QVarLengthArray<quint32, 128> glyphs(n);
  QVarLengthArray<QPointF, 128> positions(n);
  long long x64 = 0;  // a line of any length
  for (qsizetype i = 0; i < n; ++i) {
    const char c = text[static_cast<std::size_t>(i)];
    glyphs[i] = font.run.glyphs[static_cast<std::size_t>(Slot(c))];
    positions[i] = QPointF(static_cast<qreal>(x64) / 64, 0);
    x64 += i + 1 < n ? font.steps[Pair(c, text[static_cast<std::size_t>(i + 1)])]
                     : font.advances[static_cast<std::size_t>(Slot(c))];
  }
  const qreal width = static_cast<qreal>(x64) / 64;
  qreal x = box.left();
  if (align & Qt::AlignRight) {
    x += box.width() - width;
  } else if (align & Qt::AlignHCenter) {
    x += (box.width() - width) / 2;
  }
  // The layout puts a line at a whole 64th of a pixel, cutting off the rest as fixed
  // point does, and its glyphs from there.
  x = std::trunc(x * 64) / 64;
  qreal top = box.top();
  if (align & Qt::AlignBottom) {
    top += box.height() - font.textHeight;
  } else if (align & Qt::AlignVCenter) {
    top += (box.height() - font.textHeight) / 2;
  }
  top = std::trunc(top * 64) / 64;
  QGlyphRun run;
  run.setRawFont(font.run.raw);
  run.setRawData(glyphs.constData(), positions.constData(), static_cast<int>(n));
  // drawText clips to the box only when the laid-out line does not fit in it.
  const bool clip = !QRectF(box).contains(QRectF(x, top, width, font.textHeight));
  if (clip) {
    p.save();
    p.setClipRect(box, Qt::IntersectClip);
  }
  p.drawGlyphRun(QPointF(x, top + font.run.ascent), run);
  if (clip) p.restore();
  return true;
}

bool DrawAsciiLine(QPainter& p, AsciiFont& font, const QRect& box, Qt::Alignment align, const QString& text) {
  const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
  if (!ascii) return false;
  const QByteArray latin1 = text.toLatin1();
  return DrawAsciiLine(p, font, box, align, std::string_view(latin1.constData(), static_cast<std::size_t>(latin1.size())));
}

}  // namespace orlimo
