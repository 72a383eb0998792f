#include "nmea/fields.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <limits>

#include "nmea/records.h"

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

// Positions are 32-bit: a line is cut at 4 GiB (the receive buffer holds 4096 bytes).
FieldList::FieldList(std::string_view line, const SeparatorSet& separators)
    : line_(line.substr(0, UINT32_MAX)) {
  line = line_;
  const auto size = static_cast<std::uint32_t>(line.size());
  std::uint32_t i = 0;
  for (; i < size && count_ < kMaxFields; ++i) {
    if (separators.Contains(line[i])) ends_[count_++] = i;
  }
  separators_ = count_;
  for (; i < size; ++i) separators_ += separators.Contains(line[i]) ? 1 : 0;
  // A field that would start at the very end of the line does not exist for GetField
  // (it walks characters), so a line ending in a separator has no empty last field.
  const std::uint32_t lastStart = count_ == 0 ? 0 : ends_[count_ - 1] + 1;
  if (lastStart < size && count_ < kMaxFields) ends_[count_++] = size;
}

bool TryParseInt(std::string_view text, std::int32_t& value) {
  value = 0;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size()) return false;

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
    if (next > limit) return false;  // value keeps what was accumulated so far
    magnitude = next;
    any = true;
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  }
  // A sign or '$' with no digit after it is not a number.
  return any && i == text.size();
}

bool TryParseFloat(std::string_view text, double& value) {
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
  if (digits == 0 && !dot) return false;
  bool exponent = false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    exponent = true;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t expStart = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i == expStart) return false;
  }
  if (i != s.size()) return false;
  if (digits == 0) {  // a lone "." (with or without exponent) reads as zero
    value = negative ? -0.0 : 0.0;
    return true;
  }
  static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  double parsed = 0;
  if (!exponent && digits <= 15 && fraction <= 22) {
    // Both operands are exact doubles, so the one rounding of the division is correct.
    parsed = static_cast<double>(mantissa) / kPow10[fraction];
  } else {
    // from_chars reads '.5' and '5.' as strtod does, without the locale.
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), parsed);
    // A number beyond the range of a double (either way) is not taken as a reading.
    if (ec != std::errc{} || ptr != s.data() + s.size()) return false;
  }
  value = negative ? -parsed : parsed;
  return true;
}

double NMEAToDegrees(double v) {
  const double d = std::trunc(v / 100);
  return d + (v - 100 * d) / 60;
}

bool ParseNMEATime(std::string_view text, TNMEATime& time) {
  // Receivers differ in the fraction: none ("hhmmss"), two or three digits, or more.
  if (text.size() < 6) return false;
  std::int32_t hour = 0, minute = 0;
  double seconds = 0;
  if (!TryParseInt(text.substr(0, 2), hour) || !TryParseInt(text.substr(2, 2), minute) ||
      !TryParseFloat(text.substr(4), seconds))
    return false;
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
