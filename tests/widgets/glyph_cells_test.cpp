#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>

#include <string>
#include <vector>

#include "widget_test_support.h"
#include "widgets/glyph_cells.h"

namespace orlimo {
namespace {

AsciiRun RunOf(const QFont& font) {
    AsciiRun run;
    QString all;
    for (char c = ' '; c <= '~'; ++c) all += QLatin1Char(c);
    run.raw = QRawFont::fromFont(font);
    const QList<quint32> glyphs = run.raw.glyphIndexesForString(all);
    for (qsizetype i = 0; i < glyphs.size() && i < 95; ++i) run.glyphs[static_cast<std::size_t>(i)] = glyphs[i];
    const QFontMetricsF fm(font);
    run.advance = fm.horizontalAdvance(QLatin1Char('0'));
    run.ascent = fm.ascent();
    return run;
}

QImage Drawn(const AsciiRun& run, const std::string& text, QRgb colour, QRgb background, int width, int height,
             QImage::Format format) {
    QImage img(width, height, format);
    img.fill(QColor::fromRgba(background));
    std::vector<quint32> glyphs;
    std::vector<QPointF> positions;
    for (std::size_t i = 0; i < text.size(); ++i) {
        glyphs.push_back(run.glyphs[static_cast<std::size_t>(text[i] - ' ')]);
        positions.emplace_back(static_cast<qreal>(i) * run.advance, 0);
    }
    QGlyphRun glyphRun;
    glyphRun.setRawFont(run.raw);
    glyphRun.setRawData(glyphs.data(), positions.data(), static_cast<int>(glyphs.size()));
    QPainter p(&img);
    p.setPen(QColor::fromRgba(colour));
    p.drawGlyphRun(QPointF(0, run.ascent), glyphRun);
    return img;
}

class GlyphCellsTest : public test::WidgetFixture {};

// Every line composed has the pixels drawing it gives, in two colour pairs and both
// 32-bit formats a window draws into, whole or cut by a narrower image; the lines a
// receiver sends are composed, glyphs that share pixels with their neighbour included.
TEST_F(GlyphCellsTest, ComposedLinesAreTheDrawnOnes)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    font.setPixelSize(11);
    const AsciiRun run = RunOf(font);
    ASSERT_GT(run.advance, 0);
    const std::vector<std::string> lines = {
        "$GPGGA,123519.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
        "$GPRMC,081836,A,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E*62",
        "$PUBX,00,W_W@@MM##%%&&||~~{}[]()<>?!\\/`'\"^^;:=+-",
    };
    TGlyphCells cells;
    cells.Use(run);
    int composed = 0;
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        for (const auto& [colour, background] : {std::pair<QRgb, QRgb>{0xFFF200F2, 0xFF000000}, {0xFF7BF700, 0xFF308CC6}}) {
            for (const std::string& line : lines) {
                // Room to spare, and an image that cuts the text in a glyph, as a box
                // narrower than the text clips it.
                const qreal textWidth = static_cast<qreal>(line.size()) * run.advance;
                for (const int width : {qRound(textWidth) + 8, static_cast<int>(textWidth) - 3}) {
                    const QImage out = cells.Compose(line, colour, background, width, 14, format);
                    if (out.isNull()) continue;
                    ++composed;
                    EXPECT_EQ(out, Drawn(run, line, colour, background, width, 14, format)) << line;
                }
            }
        }
    }
    EXPECT_GE(composed, 16);  // the two sentences in every colour, format and width
}

}  // namespace
}  // namespace orlimo
