#include "nmea/fields.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "nmea/records.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orlimo {

std::string_view GetField(int n, std::string_view line, const SeparatorSet& separators) {
  int field = 1;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (field == n) {
      std::size_t j = i;
      while (j < line.size() && !separators.Contains(line[j])) ++j;
      return line.substr(i, j - i);
    }
    if (separators.Contains(line[i])) ++field;
  }
  return {};
}

int CountSeparators(std::string_view line, const SeparatorSet& separators) {
  int count = 0;
  for (char c : line) count += separators.Contains(c) ? 1 : 0;
  return count;
}

namespace {

// Eight bytes of a line at a time. Only on little-endian machines, where the first byte
// of the line is the lowest of the word; others split byte by byte.
constexpr bool kWordSearch = std::endian::native == std::endian::little;
// Sixteen bytes at a time where SSE2 is there (every x86-64 processor).
#if defined(__SSE2__)
constexpr bool kBlockSearch = true;
#else
constexpr bool kBlockSearch = false;
#endif
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
constexpr std::uint64_t kOnes = 0x0101010101010101;

std::uint64_t LoadWord(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// The high bit of each byte of w that equals c (exact: no borrow crosses bytes).
std::uint64_t BytesEqual(std::uint64_t w, std::uint64_t c) {
  const std::uint64_t x = w ^ (c * kOnes);
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

template <bool kTwo>
std::uint64_t SeparatorBytes(std::uint64_t w, std::uint64_t first, std::uint64_t second) {
  return kTwo ? BytesEqual(w, first) | BytesEqual(w, second) : BytesEqual(w, first);
}

}  // namespace

// Positions are 32-bit: a line is cut at 4 GiB (the receive buffer holds 4096 bytes).
FieldList::FieldList(std::string_view line, const SeparatorSet& separators)
    : line_(line.substr(0, UINT32_MAX)) {
  const auto size = static_cast<std::uint32_t>(line_.size());
  if (kBlockSearch && separators.IsPair() && size >= 16) {
    SplitByBlocks(separators.First(), separators.Second());
  } else if (kWordSearch && separators.IsPair() && size >= 8) {
    if (separators.First() == separators.Second()) {
      SplitByWords<false>(separators.First(), separators.First());
    } else {
      SplitByWords<true>(separators.First(), separators.Second());
    }
  } else {
    std::uint32_t count = 0, total = 0, i = 0;
    for (; i < size && count < kMaxFields; ++i) {
      if (separators.Contains(line_[i])) ends_[count++] = i;
    }
    total = count;
    for (; i < size; ++i) total += separators.Contains(line_[i]) ? 1 : 0;
    count_ = static_cast<int>(count);
    separators_ = static_cast<int>(total);
  }
  // A field that would start at the very end of the line does not exist for GetField
  // (it walks characters), so a line ending in a separator has no empty last field.
  const std::uint32_t lastStart = count_ == 0 ? 0 : ends_[count_ - 1] + 1;
  if (lastStart < size && count_ < kMaxFields) ends_[count_++] = size;
}

template <bool kTwo>
void FieldList::SplitByWords(unsigned char first, unsigned char second) {
  const char* p = line_.data();
  const auto size = static_cast<std::uint32_t>(line_.size());
  std::uint32_t count = 0, i = 0;
  // Each separator byte has its high bit set in mask; i is the word's position.
  // While a whole word of separators fits, no store needs checking.
  for (; i + 8 <= size && count + 8 <= kMaxFields; i += 8) {
    for (std::uint64_t mask = SeparatorBytes<kTwo>(LoadWord(p + i), first, second); mask != 0;
         mask &= mask - 1)
      ends_[count++] = i + std::countr_zero(mask) / 8;
  }
  std::uint32_t total = count;
  const auto take = [&](std::uint64_t mask, std::uint32_t base) {
    for (; mask != 0; mask &= mask - 1) {
      if (count < kMaxFields) ends_[count++] = base + std::countr_zero(mask) / 8;
      ++total;
    }
  };
  for (; i + 8 <= size; i += 8) take(SeparatorBytes<kTwo>(LoadWord(p + i), first, second), i);
  if (i < size) {
    // The last word overlaps the one before it: its first bytes were seen already.
    const std::uint32_t base = size - 8;
    const std::uint64_t fresh = ~std::uint64_t{0} << (8 * (i - base));
    take(SeparatorBytes<kTwo>(LoadWord(p + base), first, second) & fresh, base);
  }
  count_ = static_cast<int>(count);
  separators_ = static_cast<int>(total);
}

void FieldList::SplitByBlocks([[maybe_unused]] unsigned char first,
                              [[maybe_unused]] unsigned char second) {
#if defined(__SSE2__)
  const char* p = line_.data();
  const auto size = static_cast<std::uint32_t>(line_.size());
  const __m128i a = _mm_set1_epi8(static_cast<char>(first));
  const __m128i b = _mm_set1_epi8(static_cast<char>(second));
  // Bit k set: byte `at + k` is a separator.
  const auto separatorsAt = [&](std::uint32_t at) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
    return static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, a), _mm_cmpeq_epi8(v, b))));
  };
  // count is as wide as a pointer: the stores' index needs no widening per separator.
  std::size_t count = 0;
  std::uint32_t total = 0, i = 0;
  const auto take = [&](std::uint32_t mask, std::uint32_t base) {
    if (count + 16 <= kMaxFields) {  // room for the whole block: no store needs checking
      const std::size_t before = count;
      for (; mask != 0; mask &= mask - 1) ends_[count++] = base + std::countr_zero(mask);
      total += static_cast<std::uint32_t>(count - before);
      return;
    }
    for (; mask != 0; mask &= mask - 1) {
      if (count < kMaxFields) ends_[count++] = base + std::countr_zero(mask);
      ++total;
    }
  };
  for (; i + 16 <= size; i += 16) take(separatorsAt(i), i);
  if (i < size) {
    // The last block overlaps the one before it: its first bytes were seen already.
    const std::uint32_t base = size - 16;
    take(separatorsAt(base) & (0xFFFFu << (i - base)), base);
  }
  count_ = static_cast<int>(count);
  separators_ = static_cast<int>(total);
#endif
}

namespace fields_detail {

ParsedInt ParseIntFully(std::string_view text) {
  std::int32_t value = 0;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size()) return {value, false};

  int base = 10;
  if (text[i] == '$') {
    base = 16;
    ++i;
  }
  // -2147483648 fits only with its '-'.
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t magnitude = 0;
  bool any = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else break;
    const std::int64_t next = magnitude * base + digit;
    if (next > limit) return {value, false};  // value keeps what was accumulated so far
    magnitude = next;
    any = true;
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  }
  // A sign or '$' with no digit after it is not a number.
  return {value, any && i == text.size()};
}

ParsedFloat ParseFloatFully(std::string_view text) {
  // Check the accepted form first; from_chars alone would also take "inf" and "nan".
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  std::string_view s = text.substr(b, e - b);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  // While checking, gather the digits: most readings ("3730.2492") have few enough
  // of them to be converted exactly with one division.
  std::uint64_t mantissa = 0;
  int digits = 0, fraction = 0;
  std::size_t i = 0;
  bool dot = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      if (digits < 19) mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      ++digits;
      fraction += dot ? 1 : 0;
    } else if (c == '.' && !dot) {
      dot = true;
    } else {
      break;
    }
  }
  if (digits == 0 && !dot) return {0, false};
  bool exponent = false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    exponent = true;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t expStart = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i == expStart) return {0, false};
  }
  if (i != s.size()) return {0, false};
  if (digits == 0) {  // a lone "." (with or without exponent) reads as zero
    return {negative ? -0.0 : 0.0, true};
  }
  double parsed = 0;
  if (!exponent && digits <= 15 && fraction <= 22) {
    // Both operands are exact doubles, so the one rounding of the division is correct.
    parsed = static_cast<double>(mantissa) / kPow10[fraction];
  } else {
    // from_chars reads '.5' and '5.' as strtod does, without the locale.
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), parsed);
    // A number beyond the range of a double (either way) is not taken as a reading.
    if (ec != std::errc{} || ptr != s.data() + s.size()) return {0, false};
  }
  return {negative ? -parsed : parsed, true};
}

}  // namespace fields_detail

namespace {

// Four digits ("hhmm") as two two-digit numbers, read as one word: false when any of
// them is no digit, and on big-endian machines (the caller then reads the pairs one by
// one, under the full rules).
bool DigitPairs(const char* p, std::int32_t& first, std::int32_t& second) {
  if (!kWordSearch) return false;
  std::uint32_t w;
  std::memcpy(&w, p, sizeof w);
  w ^= 0x30303030;  // each digit to its value
  if (((((w & 0x7F7F7F7F) + 0x76767676) | w) & 0x80808080) != 0) return false;  // a byte above 9
  first = static_cast<std::int32_t>((w & 0xFF) * 10 + (w >> 8 & 0xFF));
  second = static_cast<std::int32_t>((w >> 16 & 0xFF) * 10 + (w >> 24));
  return true;
}

}  // namespace

double NMEAToDegrees(double v) {
  const double d = std::trunc(v / 100);
  return d + (v - 100 * d) / 60;
}

bool ParseNMEATime(std::string_view text, TNMEATime& time) {
  // Receivers differ in the fraction: none ("hhmmss"), two or three digits, or more.
  if (text.size() < 6) return false;
  std::int32_t hour = 0, minute = 0;
  double seconds = 0;
  if (!DigitPairs(text.data(), hour, minute) &&
      (!TryParseInt(text.substr(0, 2), hour) || !TryParseInt(text.substr(2, 2), minute)))
    return false;
  if (!TryParseFloat(text.substr(4), seconds)) return false;
  time.Hour = static_cast<std::uint8_t>(hour);
  time.Minute = static_cast<std::uint8_t>(minute);
  time.Seconds = seconds;
  return true;
}

bool ParseNMEADate(std::string_view text, TNMEADate& date) {
  if (text.size() != 6) return false;
  std::int32_t day = 0, month = 0, year = 0;
  if (!TryParseInt(text.substr(4, 2), year) || !TryParseInt(text.substr(2, 2), month) ||
      !TryParseInt(text.substr(0, 2), day))
    return false;
  date.Year = static_cast<std::int16_t>(year);
  date.Month = static_cast<std::uint8_t>(month);
  date.Day = static_cast<std::uint8_t>(day);
  return true;
}

}  // namespace orlimo
