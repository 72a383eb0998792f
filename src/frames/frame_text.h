// Building the monitor's one-line texts in fixed buffers.
#pragma once

#include "frames/frame_records.h"

namespace orlimo {

// printf-style, cut at the buffer's end.
template <std::size_t N>
void AppendFormat(TFixedText<N>& text, const char* format, ...) __attribute__((format(printf, 2, 3)));

// " 45.877592 S 170.500125 E": hemisphere letters, `decimals` places.
template <std::size_t N>
void AppendLatLon(TFixedText<N>& text, double latitude, double longitude, int decimals);

}  // namespace orlimo
