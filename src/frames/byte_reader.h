// Fields of a binary payload, read byte by byte in the payload's own byte order
// (UBX little-endian, SiRF big-endian) rather than through casts, so alignment and
// the host's byte order never matter. A field that does not lie wholly inside the
// payload reads as 0 (text as empty): decoders check the length first, this is
// only the last guard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orlimo {

enum class TByteOrder : std::uint8_t { Little, Big };

class TByteReader {
 public:
  constexpr TByteReader(std::string_view bytes, TByteOrder order) : bytes_(bytes), order_(order) {}

  constexpr std::size_t Size() const { return bytes_.size(); }
  constexpr bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  constexpr std::uint8_t U1(std::size_t offset) const { return static_cast<std::uint8_t>(Unsigned(offset, 1)); }
  constexpr std::uint16_t U2(std::size_t offset) const { return static_cast<std::uint16_t>(Unsigned(offset, 2)); }
  constexpr std::uint32_t U4(std::size_t offset) const { return Unsigned(offset, 4); }
  // Two's complement, as every receiver sends it (the conversion is modular in C++20).
  constexpr std::int8_t I1(std::size_t offset) const { return static_cast<std::int8_t>(U1(offset)); }
  constexpr std::int16_t I2(std::size_t offset) const { return static_cast<std::int16_t>(U2(offset)); }
  constexpr std::int32_t I4(std::size_t offset) const { return static_cast<std::int32_t>(U4(offset)); }

  // At most `count` bytes from `offset`, up to the first NUL (fixed-size text fields
  // are NUL-padded); cut at the payload's end.
  constexpr std::string_view Text(std::size_t offset, std::size_t count) const {
    if (offset >= bytes_.size()) return {};
    std::string_view t = bytes_.substr(offset, count);
    return t.substr(0, t.find('\0'));
  }

 private:
  constexpr std::uint32_t Unsigned(std::size_t offset, std::size_t count) const {
    if (!Has(offset, count)) return 0;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = order_ == TByteOrder::Big ? offset + i : offset + count - 1 - i;
      v = v << 8 | static_cast<std::uint8_t>(bytes_[at]);
    }
    return v;
  }

  std::string_view bytes_;
  TByteOrder order_;
};

}  // namespace orlimo
