// Small text utilities over 8-bit text. Positions are 1-based; 0 means "not found".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orlimo {

std::string LeftText(std::string_view s, std::size_t n);   // first n characters
std::string RightText(std::string_view s, std::size_t n);  // last n (all when shorter)
std::string CopyRange(std::string_view s, std::size_t a, std::size_t b);  // a..b inclusive
std::string CopyFrom(std::string_view s, std::size_t a);   // a to the end

// First occurrence of sub beginning at or after start.
std::size_t PosFrom(std::string_view sub, std::string_view s, std::size_t start);
// Start of the last occurrence of sub lying wholly within characters 1..limit-1.
std::size_t LastPosBefore(std::string_view sub, std::string_view s, std::size_t limit);

// Exactly n upper-case hex digits of the low n nibbles of value.
std::string HexDigits(std::uint32_t value, int n);

// The value of one upper-case hexadecimal digit, -1 for any other character.
int HexDigitValue(char c);

// count bytes verbatim (every byte value, NUL included).
std::string CopyBytes(const void* source, std::size_t count);

// Equal when compared without regard to ASCII letter case (names in settings files,
// console history items).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// "hh:mm:ss"; hours are not wrapped at 24.
std::string SecondsToHMS(std::int64_t seconds);

}  // namespace orlimo
