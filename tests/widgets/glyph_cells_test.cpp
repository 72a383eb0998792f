#include <gtest/gtest.h>

#include <QGlyphRun>
#include <QPainter>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "widget_test_support.h"
#include "widgets/glyph_cells.h"

namespace orlimo {
namespace {

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
    TAsciiFonts fonts;
    const AsciiRun run = fonts.Monospaced(font).run;
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

// A line drawn as a run has drawText's pixels in each alignment, in a box of odd and
// even width, with leading and trailing spaces, and cut by a box narrower than the
// text: in a monospaced font and in a proportional one with kerned pairs, where the
// line "TAVAR" is made of pairs learnt from the line before it.
TEST_F(GlyphCellsTest, AsciiLinesAreDrawnWhereDrawTextPutsThem)
{
    TAsciiFonts fonts;
    const std::array<std::pair<QStringList, int>, 3> faces = {{
        {{QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}, 11},
        {{QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}, 19},
        {{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}, 15},
    }};
    int drawable = 0;
    for (const auto& [families, px] : faces) {
        QFont font;
        font.setFamilies(families);
        font.setPixelSize(px);
        font.setBold(px > 11);
        AsciiFont& ascii = fonts.For(font);
        if (!ascii.usable) continue;
        ++drawable;
        // Readings change without a layout of their own: the pairs of numbers are known.
        const std::string_view digits = "0123456789.:/ -";
        for (const char a : digits) {
            for (const char b : digits) EXPECT_GE(ascii.steps[static_cast<std::size_t>((a - ' ') * 95 + (b - ' '))], 0) << a << b;
        }
        for (const Qt::Alignment align : {Qt::AlignLeft | Qt::AlignTop, Qt::AlignRight | Qt::AlignVCenter,
                                          Qt::AlignHCenter | Qt::AlignBottom}) {
            for (const std::string text : {"  12:34:56", "2026/12/08 11:34:56 ", "AVATAR To Rx(Bps):", "TAVAR", "-1234.5 m and more"}) {
                for (const int width : {101, 150}) {
                    const QRect box(3, 2, width, px + 5);
                    QImage run(160, px + 10, QImage::Format_RGB32), drawn = run.copy();
                    run.fill(Qt::black);
                    drawn.fill(Qt::black);
                    QPainter p(&run);
                    p.setPen(QColor(0, 255, 0));
                    ASSERT_TRUE(DrawAsciiLine(p, ascii, box, align, text));
                    p.end();
                    QPainter q(&drawn);
                    q.setPen(QColor(0, 255, 0));
                    q.setFont(font);
                    q.drawText(box, int(align) | Qt::TextSingleLine, QString::fromStdString(text));
                    q.end();
                    EXPECT_EQ(run, drawn) << px << " " << int(align) << " '" << text << "' in " << width;
                }
            }
        }
    }
    EXPECT_GE(drawable, 2);
}

}  // namespace
}  // namespace orlimo
