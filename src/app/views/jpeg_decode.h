// JPEG decoding through libjpeg for pictures held in memory (the sky view's
// background resource). Bad data never aborts or throws: libjpeg's fatal
// errors come back here and any warning (truncated or damaged data) rejects
// the picture too, so a caller sees either a whole picture or none.
#pragma once

#include <QImage>

#include <cstddef>

namespace orlimo {

// Pictures above this many pixels on a side are refused before anything is allocated.
inline constexpr int kMaxJpegSide = 4096;

// The decoded picture as Format_RGB32, or a null image when the data is empty,
// not a JPEG, damaged, truncated or too large.
QImage DecodeJpeg(const unsigned char* data, std::size_t size);

}  // namespace orlimo
