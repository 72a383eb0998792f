#include <gtest/gtest.h>

#include "widget_test_support.h"
#include "widgets/label_3d_border.h"
#include "widgets/pz_label.h"

namespace orlimo {
namespace {

using test::kFace;
using test::kGrayText;
using test::kHighlight;
using test::kShadow;
using test::kUnder;
using test::px;

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override { test::app(); }
};

TpzLabel* makeReadout(QWidget& host)
{
    auto* l = new TpzLabel(&host);
    l->setPalette(test::pinnedPalette());
    l->setGeometry(0, 0, 143, 25);
    l->setBevelOuter(TLabelBevel::lbRaised);
    l->setBevelInner(TLabelBevel::lbLowered);
    l->setColor(Qt::black);
    return l;
}

TEST_F(LabelTest, PzLabelDefaults)
{
    TpzLabel l;
    EXPECT_EQ(l.bevelWidth(), 1);
    EXPECT_EQ(l.bevelInner(), TLabelBevel::lbLowered);
    EXPECT_EQ(l.bevelOuter(), TLabelBevel::lbNone);
    EXPECT_EQ(l.verticalAlignment(), TVerticalAlignment::vaCenter);
    EXPECT_EQ(l.labelStyle(), TLabelStyle::lsNone);
    EXPECT_EQ(l.alignment(), TAlignment::taCenter);
    EXPECT_FALSE(l.wordWrap());
}

// Raised outer bevel, a one-pixel band of Color, a sunken inner bevel, then the
// 137 x 19 text area, with the bottom-right colour owning the two far corners.
TEST_F(LabelTest, PzLabelRaisedOuterBandLoweredInner)
{
    QWidget host;
    TpzLabel* l = makeReadout(host);
    const QImage img = test::render(*l);

    // outer ring: highlight top/left, shadow right/bottom
    EXPECT_EQ(px(img, 0, 12), kHighlight);
    EXPECT_EQ(px(img, 70, 0), kHighlight);
    EXPECT_EQ(px(img, 0, 0), kHighlight);
    EXPECT_EQ(px(img, 142, 12), kShadow);
    EXPECT_EQ(px(img, 70, 24), kShadow);
    EXPECT_EQ(px(img, 142, 0), kShadow);
    EXPECT_EQ(px(img, 0, 24), kShadow);
    // band of Color
    for (auto [x, y] : {std::pair{1, 12}, {70, 1}, {141, 12}, {70, 23}, {1, 1}, {141, 23}})
        EXPECT_EQ(px(img, x, y), QColor(Qt::black)) << x << "," << y;
    // inner ring: shadow top/left, highlight right/bottom
    EXPECT_EQ(px(img, 2, 12), kShadow);
    EXPECT_EQ(px(img, 70, 2), kShadow);
    EXPECT_EQ(px(img, 140, 12), kHighlight);
    EXPECT_EQ(px(img, 70, 22), kHighlight);
    EXPECT_EQ(px(img, 140, 2), kHighlight);

    EXPECT_EQ(l->textArea(), QRect(3, 3, 137, 19));
    EXPECT_EQ(px(img, 3, 3), QColor(Qt::black));
    EXPECT_EQ(px(img, 139, 21), QColor(Qt::black));
}

TEST_F(LabelTest, PzLabelBevelWidthScalesEveryRing)
{
    QWidget host;
    TpzLabel* l = makeReadout(host);
    l->setBevelWidth(2);
    const QImage img = test::render(*l);
    EXPECT_EQ(px(img, 1, 12), kHighlight);
    EXPECT_EQ(px(img, 2, 12), QColor(Qt::black));
    EXPECT_EQ(px(img, 3, 12), QColor(Qt::black));
    EXPECT_EQ(px(img, 4, 12), kShadow);
    EXPECT_EQ(px(img, 5, 12), kShadow);
    EXPECT_EQ(l->textArea(), QRect(6, 6, 131, 13));

    l->setBevelWidth(0);  // below the minimum: taken as 1
    EXPECT_EQ(l->bevelWidth(), 1);
    l->setBevelWidth(-5);
    EXPECT_EQ(l->bevelWidth(), 1);
}

// Without bevels the band of Color still rings the edge; a transparent label
// leaves the inside to whatever lies behind it.
TEST_F(LabelTest, PzLabelBandWithoutBevelsTransparent)
{
    QWidget host;
    TpzLabel l(&host);
    l.setPalette(test::pinnedPalette());
    l.setGeometry(0, 0, 60, 20);
    l.setBevelInner(TLabelBevel::lbNone);
    l.setColor(QColor(0xAA, 0, 0));
    l.setTransparent(true);
    const QImage img = test::render(l);
    EXPECT_EQ(px(img, 0, 10), QColor(0xAA, 0, 0));
    EXPECT_EQ(px(img, 59, 10), QColor(0xAA, 0, 0));
    EXPECT_EQ(px(img, 30, 0), QColor(0xAA, 0, 0));
    EXPECT_EQ(px(img, 30, 19), QColor(0xAA, 0, 0));
    EXPECT_EQ(px(img, 1, 1), kUnder);
    EXPECT_EQ(px(img, 58, 18), kUnder);

    l.setTransparent(false);
    EXPECT_EQ(px(test::render(l), 1, 1), QColor(0xAA, 0, 0));
}

// Disabled: the caption turns grey-text, the embossing copies keep their colours.
TEST_F(LabelTest, PzLabelDisabledKeepsEmbossing)
{
    QWidget host;
    TpzLabel* l = makeReadout(host);
    l->setCaption("MW 88");
    QFont f("Courier New");
    f.setPixelSize(15);
    f.setBold(true);
    l->setFont(f);
    l->setFontColor(QColor(0xFF, 0xB3, 0xB3));
    const QRect inside = l->textArea();

    const QImage enabled = test::render(*l);
    EXPECT_GT(test::countColor(enabled, QColor(0xFF, 0xB3, 0xB3), inside), 20);

    l->setLabelStyle(TLabelStyle::lsLowered);
    l->setEnabled(false);
    const QImage disabled = test::render(*l);
    EXPECT_EQ(test::countColor(disabled, QColor(0xFF, 0xB3, 0xB3), inside), 0);
    EXPECT_GT(test::countColor(disabled, kGrayText, inside), 20);
    EXPECT_GT(test::countColor(disabled, kHighlight, inside), 5);
    EXPECT_GT(test::countColor(disabled, kShadow, inside), 5);
}

// Embossing order: the copy down-right is drawn first and the one up-left on
// top of it, so the lowest inked row belongs to the first copy.
TEST_F(LabelTest, PzLabelStylesSwapCopyColours)
{
    QWidget host;
    TpzLabel* l = makeReadout(host);
    l->setBevelOuter(TLabelBevel::lbNone);
    l->setBevelInner(TLabelBevel::lbNone);
    l->setColor(Qt::black);
    l->setCaption("IIII");
    l->setFontColor(Qt::black);  // main copy invisible on black
    l->setLabelStyle(TLabelStyle::lsLowered);
    auto lowered = test::render(*l);
    EXPECT_GT(test::rowSpan(lowered, kHighlight).second, test::rowSpan(lowered, kShadow).second);
    l->setLabelStyle(TLabelStyle::lsRaised);
    auto raised = test::render(*l);
    EXPECT_GT(test::rowSpan(raised, kShadow).second, test::rowSpan(raised, kHighlight).second);
}

TEST_F(LabelTest, PzLabelVerticalPlacement)
{
    QWidget host;
    TpzLabel* l = makeReadout(host);
    l->setGeometry(0, 0, 143, 60);
    l->setCaption("H");
    l->setFontColor(Qt::yellow);
    auto inked = [&](TVerticalAlignment v) {
        l->setVerticalAlignment(v);
        return test::rowSpan(test::render(*l), [](QColor c) { return c != Qt::black; },
                             l->textArea());
    };
    const auto top = inked(TVerticalAlignment::vaTop);
    const auto mid = inked(TVerticalAlignment::vaCenter);
    const auto bottom = inked(TVerticalAlignment::vaBottom);
    ASSERT_GE(top.first, 0);
    EXPECT_LT(top.first, 12);
    EXPECT_GT(bottom.second, 45);
    EXPECT_LT(bottom.second, 57);  // never over the bevels
    EXPECT_LT(top.first, mid.first);
    EXPECT_LT(mid.first, bottom.first);
}

// A caption drawn as a run of glyphs looks as the laid-out one does (a label that may
// wrap lays its caption out), in each vertical placement.
TEST_F(LabelTest, PzLabelCaptionAsARunKeepsItsPixels)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    font.setPixelSize(17);
    font.setBold(true);
    QWidget host;
    TpzLabel* run = makeReadout(host);
    TpzLabel* laidOut = makeReadout(host);
    laidOut->setWordWrap(true);
    for (TpzLabel* l : {run, laidOut}) {
        l->setFont(font);
        l->setFontColor(Qt::yellow);
        l->setAlignment(TAlignment::taRightJustify);
        l->setCaption(QStringLiteral("N 48.1173 W"));  // fits: nothing to wrap
    }
    for (const TVerticalAlignment v : {TVerticalAlignment::vaTop, TVerticalAlignment::vaCenter, TVerticalAlignment::vaBottom}) {
        run->setVerticalAlignment(v);
        laidOut->setVerticalAlignment(v);
        EXPECT_EQ(test::render(*run), test::render(*laidOut)) << int(v);
    }
}

struct BorderCase {
    TLabel3DBorderStyle style;
    QColor outerTL, outerBR, innerTL, innerBR;  // invalid: ring not drawn
};

TEST_F(LabelTest, Label3DBorderStyles)
{
    const QColor none;
    const QColor fill(0x20, 0x40, 0x60);
    const BorderCase cases[] = {
        {TLabel3DBorderStyle::bsNone, none, none, none, none},
        {TLabel3DBorderStyle::bsLight, kShadow, kHighlight, none, none},
        {TLabel3DBorderStyle::bsMedium, Qt::black, kHighlight, none, none},
        {TLabel3DBorderStyle::bsHeavy, kShadow, kHighlight, Qt::black, kFace},
        {TLabel3DBorderStyle::bsFrame, kShadow, kHighlight, kHighlight, kShadow},
        {TLabel3DBorderStyle::bsRaisedFrame, kHighlight, kShadow, kShadow, kHighlight},
    };
    for (const auto& c : cases) {
        QWidget host;
        TLabel3DBorder l(&host);
        l.setPalette(test::pinnedPalette());
        l.setColor(fill);
        l.setBorderStyle(c.style);
        ASSERT_EQ(l.size(), QSize(84, 21));
        const QImage img = test::render(l);
        const auto expect = [&](int x, int y, QColor want) {
            EXPECT_EQ(px(img, x, y), want.isValid() ? want : fill)
                << "style " << int(c.style) << " at " << x << "," << y;
        };
        expect(0, 10, c.outerTL);
        expect(40, 0, c.outerTL);
        expect(83, 10, c.outerBR);
        expect(40, 20, c.outerBR);
        expect(1, 10, c.innerTL);
        expect(40, 1, c.innerTL);
        expect(82, 10, c.innerBR);
        expect(40, 19, c.innerBR);
        expect(2, 10, none);
    }
}

TEST_F(LabelTest, Label3DBorderCentreAndBottomNeverWrap)
{
    QWidget host;
    TLabel3DBorder l(&host);
    l.setPalette(test::pinnedPalette());
    l.setGeometry(0, 0, 40, 80);
    l.setCaption("WW WW WW WW");
    l.setFontColor(Qt::blue);
    l.setWordWrap(true);
    const int lineHeight = QFontMetrics(l.font()).height();

    l.setVerticalAlign(TVerticalAlign::vaTop);
    auto wrapped = test::rowSpan(test::render(l), QColor(Qt::blue));
    EXPECT_GT(wrapped.second - wrapped.first, lineHeight);  // several lines

    for (auto v : {TVerticalAlign::vaCenter, TVerticalAlign::vaBottom}) {
        l.setVerticalAlign(v);
        auto single = test::rowSpan(test::render(l), QColor(Qt::blue));
        ASSERT_GE(single.first, 0);
        EXPECT_LT(single.second - single.first, lineHeight) << int(v);
    }
}

TEST_F(LabelTest, Label3DBorderDisabledCaptionIsGray)
{
    QWidget host;
    TLabel3DBorder l(&host);
    l.setPalette(test::pinnedPalette());
    l.setCaption("COM Port");
    l.setFontColor(Qt::blue);
    l.setColor(Qt::white);
    EXPECT_GT(test::countColor(test::render(l), QColor(Qt::blue)), 10);
    l.setEnabled(false);
    const QImage img = test::render(l);
    EXPECT_EQ(test::countColor(img, QColor(Qt::blue)), 0);
    EXPECT_GT(test::countColor(img, kGrayText), 10);
}

}  // namespace
}  // namespace orlimo
