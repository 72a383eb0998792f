// Builds message payloads field by field for the decoder tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frames/byte_reader.h"

namespace orlimo::test {

class Payload {
 public:
  explicit Payload(TByteOrder order) : order_(order) {}

  // The low `bytes` bytes of v (two's complement for negative values).
  Payload& Int(std::int64_t v, int bytes) {
    const auto u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < bytes; ++i) {
      const int shift = 8 * (order_ == TByteOrder::Little ? i : bytes - 1 - i);
      bytes_.push_back(static_cast<char>(u >> shift & 0xFF));
    }
    return *this;
  }
  Payload& Zeros(std::size_t n) {
    bytes_.append(n, '\0');
    return *this;
  }
  // NUL-padded to `width`.
  Payload& Text(std::string_view s, std::size_t width) {
    bytes_.append(s.substr(0, width));
    return Zeros(width - std::min(width, s.size()));
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  TByteOrder order_;
  std::string bytes_;
};

}  // namespace orlimo::test
