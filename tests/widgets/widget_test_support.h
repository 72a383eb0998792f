#pragma once
// Shared helpers for the widget tests: one QApplication per binary, a palette
// with fixed role colours, and offscreen rendering into a QImage.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPaintEvent>
#include <QPalette>
#include <QRegion>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace orlimo::test {

inline QApplication& app()
{
    static int argc = 1;
    static char name[] = "widget-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

// Base of fixtures that hold widgets as members: the application exists first.
class WidgetFixture : public ::testing::Test {
protected:
    WidgetFixture() { app(); }
};

// Role colours chosen to differ from each other and from anything a test draws.
inline const QColor kShadow{0x80, 0x80, 0x80};
inline const QColor kHighlight{0xFF, 0xFF, 0xFF};
inline const QColor kFace{0xC0, 0xC0, 0xC0};
inline const QColor kGrayText{0x6D, 0x6D, 0x6D};
inline const QColor kUnder{0x12, 0x34, 0x56};  // what lies behind a rendered widget

inline QPalette pinnedPalette()
{
    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Dark, kShadow);
        p.setColor(group, QPalette::Light, kHighlight);
        p.setColor(group, QPalette::Button, kFace);
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, kGrayText);
    return p;
}

// Renders the widget over a plain kUnder background without its own window
// background, so pixels it leaves alone stay kUnder.
inline QImage render(QWidget& w, QColor under = kUnder)
{
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(under);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

// Runs the event loop until `done`, for five seconds at most.
inline bool spinUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// Installed as an event filter: the region of every paint a widget gets.
struct PaintLog : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

inline QColor px(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

inline int countPixels(const QImage& img, const std::function<bool(QColor)>& pred,
                       QRect area = {})
{
    if (area.isNull())
        area = img.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += pred(img.pixelColor(x, y)) ? 1 : 0;
    return n;
}

inline int countColor(const QImage& img, QColor c, QRect area = {})
{
    return countPixels(img, [c](QColor v) { return v == c; }, area);
}

// First and last row holding a pixel that matches, or {-1, -1}.
inline std::pair<int, int> rowSpan(const QImage& img, const std::function<bool(QColor)>& pred,
                                   QRect area = {})
{
    if (area.isNull())
        area = img.rect();
    int first = -1, last = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (pred(img.pixelColor(x, y))) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

inline std::pair<int, int> rowSpan(const QImage& img, QColor c, QRect area = {})
{
    return rowSpan(img, [c](QColor v) { return v == c; }, area);
}

}  // namespace orlimo::test
