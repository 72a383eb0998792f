#include "widgets/ascii_line.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orlimo {
namespace {

constexpr char kFirst = ' ', kLast = '~';
constexpr int kCount = kLast - kFirst + 1;
constexpr std::size_t kKeptFonts = 4;  // a grid's header and cell fonts, a label's

int Slot(char c) { return c - kFirst; }

std::int16_t To64ths(qreal x, bool& fits) {
  const qreal v = std::round(x * 64);
  fits = fits && v >= 0 && v <= std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(fits ? v : 0);
}

AsciiFont Check(const QFont& font) {
  AsciiFont f;
  f.font = font;
  // Decorations, spacing and case changes are the layout's work.
  if (font.underline() || font.overline() || font.strikeOut() || font.letterSpacing() != 0 ||
      font.wordSpacing() != 0 || font.capitalization() != QFont::MixedCase) {
    return f;
  }
  QString all;
  for (char c = kFirst; c <= kLast; ++c) all += QLatin1Char(c);
  AsciiRun& run = f.run;
  run.raw = QRawFont::fromFont(font);
  const QList<quint32> glyphs = run.raw.glyphIndexesForString(all);
  if (!run.raw.isValid() || glyphs.size() != kCount) return f;
  for (int i = 0; i < kCount; ++i) {
    if (glyphs[i] == 0) return f;  // drawn from a fallback font
    run.glyphs[static_cast<std::size_t>(i)] = glyphs[i];
  }
  // Each character laid out beside every other, both ways round: the layout's glyphs
  // must be the characters' own, one each, and a pair must step the same wherever it is.
  std::vector<std::int16_t> steps(kCount * kCount, -1);
  bool fits = true;
  qreal textHeight = 0;
  for (int a = 0; a < kCount; ++a) {
    QString line;
    for (int b = 0; b < kCount; ++b) {
      line += all[a];
      line += all[b];
    }
    QTextLayout layout(line, font);
    layout.beginLayout();
    QTextLine l = layout.createLine();
    l.setLineWidth(1e6);
    layout.endLayout();
    textHeight = l.ascent() + l.descent();  // height() is rounded up
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1 || runs[0].glyphIndexes().size() != line.size()) return f;
    const QList<quint32> ids = runs[0].glyphIndexes();
    const QList<QPointF> at = runs[0].positions();
    for (qsizetype k = 0; k < line.size(); ++k) {
      const int c = Slot(static_cast<char>(line[k].unicode()));
      if (ids[k] != run.glyphs[static_cast<std::size_t>(c)]) return f;  // a ligature or another glyph
      if (k + 1 == line.size()) break;
      const std::size_t pair = static_cast<std::size_t>(c * kCount + Slot(static_cast<char>(line[k + 1].unicode())));
      const std::int16_t step = To64ths(at[k + 1].x() - at[k].x(), fits);
      if (!fits || (steps[pair] >= 0 && steps[pair] != step)) return f;
      steps[pair] = step;
    }
  }
  const QFontMetricsF fm(font);
  for (int c = 0; c < kCount; ++c) f.advances[static_cast<std::size_t>(c)] = To64ths(fm.horizontalAdvance(all[c]), fits);
  if (!fits) return f;
  run.ascent = fm.ascent();
  f.textHeight = textHeight;
  f.lineHeight = std::ceil(fm.ascent() + fm.descent() + std::max<qreal>(0, fm.leading()));
  const bool monospaced = std::all_of(steps.cbegin(), steps.cend(), [&](std::int16_t s) { return s == steps[0]; }) &&
                          std::all_of(f.advances.cbegin(), f.advances.cend(), [&](std::int16_t s) { return s == steps[0]; });
  if (monospaced) run.advance = steps[0] / 64.0;
  f.steps = std::move(steps);
  return f;
}

}  // namespace

bool PrintableAscii(std::string_view text) {
  return std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= kFirst && c <= kLast; });
}

const AsciiFont& TAsciiFonts::For(const QFont& font) {
  auto kept = std::find_if(fonts_.rbegin(), fonts_.rend(), [&](const Kept& k) { return k.font.font == font; });
  if (kept == fonts_.rend()) {
    if (fonts_.size() == kKeptFonts) fonts_.erase(fonts_.begin());
    fonts_.push_back(Kept{});
    fonts_.back().font.font = font;
  } else if (kept != fonts_.rbegin()) {
    std::rotate(kept.base() - 1, kept.base(), fonts_.end());
  }
  Kept& k = fonts_.back();
  if (!k.checked && ++k.uses > usesBeforeCheck_) {
    k.font = Check(font);
    k.checked = true;
  }
  return k.font;
}

bool DrawAsciiLine(QPainter& p, const AsciiFont& font, const QRect& box, Qt::Alignment align, std::string_view text) {
  if (!font.Drawable() || !PrintableAscii(text) || p.deviceTransform().type() > QTransform::TxTranslate) return false;
  if (text.empty()) return true;
  const auto n = static_cast<qsizetype>(text.size());
  QVarLengthArray<quint32, 128> glyphs(n);
  QVarLengthArray<QPointF, 128> positions(n);
  int x64 = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const int c = Slot(text[static_cast<std::size_t>(i)]);
    glyphs[i] = font.run.glyphs[static_cast<std::size_t>(c)];
    positions[i] = QPointF(x64 / 64.0, 0);
    x64 += i + 1 < n ? font.steps[static_cast<std::size_t>(c * kCount + Slot(text[static_cast<std::size_t>(i + 1)]))]
                     : font.advances[static_cast<std::size_t>(c)];
  }
  const qreal width = x64 / 64.0;
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

bool DrawAsciiLine(QPainter& p, const AsciiFont& font, const QRect& box, Qt::Alignment align, const QString& text) {
  const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
  if (!ascii) return false;
  const QByteArray latin1 = text.toLatin1();
  return DrawAsciiLine(p, font, box, align, std::string_view(latin1.constData(), static_cast<std::size_t>(latin1.size())));
}

}  // namespace orlimo
