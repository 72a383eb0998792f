// Fields appended to a binary payload in the payload's own byte order (UBX
// little-endian, SiRF big-endian): the writing side of frames/byte_reader.h, so the
// simulator's messages are built the way the decoders read them.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "frames/byte_reader.h"

namespace orlimo {

class ByteWriter {
 public:
  explicit ByteWriter(TByteOrder order) : order_(order) {}

  // The low bytes of `v`; a negative value goes out in two's complement, as the
  // receivers send it (the conversion is modular in C++20).
  ByteWriter& Put1(std::int64_t v) { return Put(static_cast<std::uint64_t>(v), 1); }
  ByteWriter& Put2(std::int64_t v) { return Put(static_cast<std::uint64_t>(v), 2); }
  ByteWriter& Put4(std::int64_t v) { return Put(static_cast<std::uint64_t>(v), 4); }
  ByteWriter& Zeros(std::size_t n) {
    bytes_.append(n, '\0');
    return *this;
  }

  std::size_t Size() const { return bytes_.size(); }
  const std::string& Bytes() const { return bytes_; }

 private:
  ByteWriter& Put(std::uint64_t v, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t shift = 8 * (order_ == TByteOrder::Big ? count - 1 - i : i);
      bytes_.push_back(static_cast<char>(v >> shift & 0xFF));
    }
    return *this;
  }

  TByteOrder order_;
  std::string bytes_;
};

// `v` in the wire's units (`unitsPerValue` of them to one), rounded and kept inside
// the field's range [lo, hi]; NaN gives lo.
inline std::int64_t Scaled(double v, double unitsPerValue, std::int64_t lo, std::int64_t hi) {
  const double x = std::round(v * unitsPerValue);
  if (!(x >= static_cast<double>(lo))) return lo;
  return x > static_cast<double>(hi) ? hi : static_cast<std::int64_t>(x);
}

}  // namespace orlimo
