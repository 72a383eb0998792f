// The program's pictures, drawn in code so they can be read, tested and changed.
// Sizes and picture numbers are fixed: the window and the session refer to them
// by index.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QString>

namespace orlimo::artwork {

// Tool-bar pictures, 32 x 32. `enabled` false gives the greyed picture shown by a
// disabled button. Indices without a motif give a transparent picture.
inline constexpr int kToolImageCount = 22;
inline constexpr int kToolImageSize = 32;
QImage ToolBarImage(int index, bool enabled = true);
// Both pictures of one index as an icon (normal and disabled mode).
QIcon ToolBarIcon(int index);

// The receive-activity light of the status bar, 20 x 20:
// 0 blue radio waves, 1 red cross, 2 plain light tile, 3 grey radio waves.
inline constexpr int kGPSDataImageCount = 4;
inline constexpr int kGPSDataImageSize = 20;
QImage GPSDataImage(int index);

// The plug notices of the USB information window, 32 x 32:
// 0 blue plugs apart (removal), 1 blue plugs joined (plug-in), 2 and 3 the same in grey.
inline constexpr int kUSBInfoImageCount = 4;
QImage USBInfoImage(int index);

// A plug pair in `color`, apart or joined, on a transparent square of `size`.
QImage PlugPair(int size, bool joined, const QColor& color);

// The brand picture drawn into the logo banner, and the banner itself: a black
// box with a grey edge; in it the brand picture at (x + 4, y) (made smaller when
// the banner is too short for it), or else `text` at
// (x + 35, y + 5) after the application icon at (x, y), and the icon once more
// after the text when there is room for it.
QImage BrandBitmap();
QImage DrawBanner(int width, int height, int x, int y, const QString& text, bool brandPicture);
// The banner's text: Arial 15 points bold, pale yellow.
QFont BannerFont();

QIcon ApplicationIcon();

}  // namespace orlimo::artwork
