// Which satellites of a several-constellation sky the chart and table show, in
// their 12 columns. Plain C++: no drawing here.
#pragma once

#include <span>

#include "nmea/sky_picture.h"

namespace orlimo {

// Picks the most useful satellites into `out` and returns how many: those used in
// the fix first, then the strongest signals. A satellite already on show (in
// `shown`) keeps its column against a newcomer less than a few dB-Hz stronger, so
// the chart does not change its mind every second. Columns list the used ones
// first, then the others, each by system and number, so a satellite keeps its
// place while its signal varies.
std::size_t ChooseShownSatellites(std::span<const TSkySat> sky, std::span<const TSkySat> shown,
                                  std::span<TSkySat> out);

}  // namespace orlimo
