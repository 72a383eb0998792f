// Pictures of the satellite, sky and speed views, drawn in code at the sizes
// the views are laid out for.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

namespace orlimo::viewart {

// Speed dial, 245 x 243, about kDialCentre: a compass ring with ticks (radius
// 100 to 106) under the course pointer's reach (92 to 104) and N/E/S/W beyond it;
// a speed scale of twelve steps from 0 to `scaleEnd` running clockwise over 270
// degrees from compass angle 225 to 135, its ticks ending where the needle (78)
// ends and its labels between the needle and the pointer. So neither the
// pointer nor the needle ever hides a letter or a label.
inline constexpr double kRingLetterRadius = 112;
inline constexpr double kScaleTickRadius = 77;
inline constexpr double kScaleLabelRadius = 84.5;
inline constexpr int kDialWidth = 245;
inline constexpr int kDialHeight = 243;
inline constexpr QPoint kDialCentre{122, 121};
QImage DialPicture(int scaleEnd, bool lightFace);
QImage KmDialPicture();    // 0 .. 360, dark face
QImage MileDialPicture();  // 0 .. 240, light face

// Counter digit strips, 15 x 340: 17 cells of 15 x 20, cell k showing
// "0123456789ABCDEF"[k], cell 16 blank. White glyphs on dark grey ("DIGITS")
// or on red ("RDIGITS").
inline constexpr int kDigitCellWidth = 15;
inline constexpr int kDigitCellHeight = 20;
inline constexpr int kDigitCells = 17;
QImage DigitStrip();
QImage RedDigitStrip();

// The signal colour strip, 62 x 119. Columns kSignalStripLeft .. +12 hold the
// bar colours: twelve bands of 5 dB-Hz from blue at the top (strong) to dark
// red at the bottom (weak), with an edge row above and below. The other columns
// hold spare strips that the chart does not use.
inline constexpr int kColourStripWidth = 62;
inline constexpr int kColourStripHeight = 119;
inline constexpr int kSignalStripLeft = 47;
inline constexpr int kSignalStripWidth = 13;
QImage ColourStrip();
// Colour of row `row` (0..118) of the signal strip.
QColor SignalStripColour(int row);

// Sky background, 211 x 211: navy field, rings for elevations 0, 30 and 60
// degrees (radii 90, 60, 30 about kSkyCentre), the N-S, E-W and diagonal lines,
// compass letters, azimuth labels 45/135/225/315 and elevation labels. Drawn at
// build time and stored as a JPEG resource.
inline constexpr int kSkySize = 211;
inline constexpr QPoint kSkyCentre{105, 106};
inline constexpr QColor kSkyNavy{0x00, 0x1C, 0x44};
QImage DrawSkyBackground();

}  // namespace orlimo::viewart
