#pragma once
// Simple pictures for the gallery: digit strips, a round dial, a colour strip.
// The program's real artwork is drawn elsewhere; these only show the widgets at work.
#include <QColor>
#include <QImage>

namespace gallery {

// 15 x 340: 17 cells of 15 x 20, glyphs "0123456789ABCDEF" then a blank cell.
QImage digitStrip(const QColor& background);
// A plain round dial with a 270-degree scale (225 to 135 degrees) and N/E/S/W.
QImage dial(int size, int scaleMax);
// 13 x 119 vertical colour strip, weak signals at the bottom.
QImage signalStrip();

}  // namespace gallery
