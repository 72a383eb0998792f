#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QScreen>
#include <QWindow>

#include "widget_test_support.h"
#include "widgets/steady_scroll_bar.h"

namespace orlimo {
namespace {

class SteadyScrollBarTest : public test::WidgetFixture {
protected:
    TSteadyScrollBar bar{Qt::Vertical};
};

// A list thousands of lines long grows by one and scrolls to its new end: the slider
// stays where it was drawn and the bar is not painted again, its pixels still right.
// A move of the slider paints it.
TEST_F(SteadyScrollBarTest, PaintedAgainOnlyWhenItsLookChanges)
{
    test::PaintLog log;
    bar.resize(16, 200);
    bar.setPageStep(20);
    bar.setRange(0, 3000);
    bar.setValue(3000);
    bar.show();
    ASSERT_TRUE(test::spinUntil([&] { return bar.windowHandle() && bar.windowHandle()->isExposed(); }));
    QCoreApplication::processEvents();
    bar.installEventFilter(&log);

    bar.holdRepaint();
    bar.setRange(0, 3001);
    bar.setValue(bar.maximum());
    bar.releaseRepaint();
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.painted.isEmpty());
    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(bar.winId()).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), bar.grab().toImage().convertToFormat(QImage::Format_RGB32));

    bar.setValue(1500);
    QCoreApplication::processEvents();
    EXPECT_FALSE(log.painted.isEmpty());
}

}  // namespace
}  // namespace orlimo
