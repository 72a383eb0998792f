// Where the sky view prints the satellite names. A name sits on its dot when
// it overlaps no other name there; otherwise it moves to a free spot around
// its dot (clear of every other name and dot, inside the plot), and when there
// is none it is left out and only the dot is drawn. Names never overlap.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <span>
#include <vector>

namespace orlimo {

inline constexpr int kSkyDotRadius = 7;
inline constexpr int kSkyLabelRise = 5;  // a name's top edge above its dot centre, on the dot

struct TSkyLabel {
  QRect rect;
  bool onDot = true;  // false: moved beside the dot
};

// One entry per dot (dots[i] labelled with a name of sizes[i]); nullopt where
// the name is left out. Earlier dots get the first choice of spots.
std::vector<std::optional<TSkyLabel>> PlaceSkyLabels(std::span<const QPoint> dots, std::span<const QSize> sizes,
                                                     QSize area);

}  // namespace orlimo
