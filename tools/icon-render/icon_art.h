// The program's icon for desktops and menus: a location pin under a satellite on the
// sky view's disc. Drawn per size, with fewer details the smaller it gets, so the
// small sizes stay sharp instead of being a blurred copy of the large one.
#pragma once

#include <QImage>

namespace orlimo::iconart {

QImage DrawAppIcon(int size);

}  // namespace orlimo::iconart
