// Field splitting and number parsing for sentences. Positions and field numbers are
// 1-based: field 1 is the address field with its '$'.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace orlimo {

// A membership set over byte values (a table: one load per byte tested). A set of one
// or two characters also keeps them, so a line can be searched a word at a time.
class SeparatorSet {
 public:
  constexpr SeparatorSet(std::initializer_list<unsigned char> chars) {
    for (unsigned char c : chars) {
      if (member_[c]) continue;
      member_[c] = true;
      if (distinct_ < 2) pair_[distinct_] = c;
      ++distinct_;
    }
    if (distinct_ == 1) pair_[1] = pair_[0];
  }
  constexpr bool Contains(char c) const { return member_[static_cast<unsigned char>(c)]; }
  // The members, when there are one or two (the second repeats a lone first).
  constexpr bool IsPair() const { return distinct_ == 1 || distinct_ == 2; }
  constexpr unsigned char First() const { return pair_[0]; }
  constexpr unsigned char Second() const { return pair_[1]; }

 private:
  std::array<bool, 256> member_{};
  std::array<unsigned char, 2> pair_{};
  int distinct_ = 0;
};

inline constexpr SeparatorSet FieldSeparators{',', '*'};
inline constexpr SeparatorSet CommaSeparator{','};

// Field n of the line: the text after the (n-1)-th separator up to the next one.
// A field number past the last field gives empty text.
std::string_view GetField(int n, std::string_view line, const SeparatorSet& separators);

// How many characters of the set the line holds.
int CountSeparators(std::string_view line, const SeparatorSet& separators);

// Splits a line once and hands out its first kMaxFields fields with the same results
// as GetField, so a decoder reads a sentence without rescanning it per field.
// No decoder reads past field 52 (a GSV message announcing 12 satellites).
class FieldList {
 public:
  static constexpr int kMaxFields = 64;

  FieldList(std::string_view line, const SeparatorSet& separators);

  std::string_view operator[](int n) const {  // 1-based, like GetField
    // n from 1 to count_ (one unsigned test). count_ never passes kMaxFields; saying so
    // lets the compiler see that ends_ is not overrun.
    if (static_cast<unsigned>(n) - 1 >= static_cast<unsigned>(count_) || n > kMaxFields) return {};
    const std::uint32_t start = n == 1 ? 0 : ends_[n - 2] + 1;
    return {line_.data() + start, ends_[n - 1] - start};  // within the line by construction
  }
  // Field n, 2 <= n <= min(SeparatorCount(), kMaxFields), without operator[]'s test:
  // every field up to the separator count exists. For decoders past their count check.
  std::string_view At(int n) const {
    const std::uint32_t start = ends_[n - 2] + 1;
    return {line_.data() + start, ends_[n - 1] - start};
  }
  // Separators in the whole line, including those past kMaxFields.
  int SeparatorCount() const { return separators_; }

 private:
  template <bool kTwo>
  void SplitByWords(unsigned char first, unsigned char second);
  void SplitByBlocks(unsigned char first, unsigned char second);

  std::string_view line_;
  // Where field i+1 ends (its separator, or the end of the line). Only the first
  // count_ entries are written; no need to clear the rest per sentence.
  std::uint32_t ends_[kMaxFields];
  int count_ = 0;
  int separators_ = 0;
};

namespace fields_detail {

// The full rules of TryParseInt and TryParseFloat, for what their short ways leave.
// The numbers come back by value (in registers), so a caller's variable need not live
// in memory for the rare call.
struct ParsedInt {
  std::int32_t value;  // what TryParseInt leaves, success or not
  bool ok;
};
struct ParsedFloat {
  double value;  // meaningful only when ok
  bool ok;
};
ParsedInt ParseIntFully(std::string_view text);
ParsedFloat ParseFloatFully(std::string_view text);

inline constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 0-9 for a digit, more for anything else (one unsigned test).
inline unsigned DigitValue(char c) {
  return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
}

}  // namespace fields_detail

// Decimal, or hexadecimal after a '$'; optional blanks and sign first. On failure the
// value holds what was accumulated before the stop (the GSV decoder relies on that).
// Inline: a sentence has a dozen numbers, most of them plain digit strings.
inline bool TryParseInt(std::string_view text, std::int32_t& value) {
  using fields_detail::DigitValue;
  // A digit first and at most nine in all: no blank, sign, base or overflow to mind.
  // The value on a stop is what the digits before it make, as the full rules give.
  if (text.size() - 1 < 9 && DigitValue(text[0]) <= 9) {
    // The commonest readings, two or three digits ("05", "254"), without the loop.
    if (text.size() == 2 && DigitValue(text[1]) <= 9) {
      value = static_cast<std::int32_t>(DigitValue(text[0]) * 10 + DigitValue(text[1]));
      return true;
    }
    if (text.size() == 3 && DigitValue(text[1]) <= 9 && DigitValue(text[2]) <= 9) {
      value = static_cast<std::int32_t>(DigitValue(text[0]) * 100 + DigitValue(text[1]) * 10 +
                                        DigitValue(text[2]));
      return true;
    }
    std::uint32_t v = 0;
    std::size_t i = 0;
    for (unsigned d; i < text.size() && (d = DigitValue(text[i])) <= 9; ++i) v = v * 10 + d;
    value = static_cast<std::int32_t>(v);
    return i == text.size();
  }
  if (text.empty()) {  // an empty field, the commonest failure: no call for it
    value = 0;
    return false;
  }
  const fields_detail::ParsedInt full = fields_detail::ParseIntFully(text);
  value = full.value;
  return full.ok;
}

// '.' is the decimal separator whatever the locale. On failure value is left as it was.
inline bool TryParseFloat(std::string_view text, double& value) {
  using fields_detail::DigitValue;
  // Digits with at most one '.', a digit first, at most fifteen characters: the same
  // exact division as the full rules make (both operands are exact doubles, so its one
  // rounding is correct), without their checks for blanks, signs and exponents.
  const std::size_t n = text.size();
  if (n - 1 < 15 && DigitValue(text[0]) <= 9) {
    std::uint64_t mantissa = 0;
    std::size_t i = 0;
    unsigned d;
    for (; i < n && (d = DigitValue(text[i])) <= 9; ++i) mantissa = mantissa * 10 + d;
    std::size_t fraction = 0;
    if (i < n && text[i] == '.') {
      const std::size_t dot = i++;
      for (; i < n && (d = DigitValue(text[i])) <= 9; ++i) mantissa = mantissa * 10 + d;
      fraction = i - dot - 1;
    }
    if (i == n) {
      value = static_cast<double>(mantissa) / fields_detail::kPow10[fraction];
      return true;
    }
  }
  if (n == 0) return false;  // an empty field, the commonest failure: no call for it
  const fields_detail::ParsedFloat full = fields_detail::ParseFloatFully(text);
  if (full.ok) value = full.value;
  return full.ok;
}

// ddmm.mmmm or dddmm.mmmm to decimal degrees (no sign).
double NMEAToDegrees(double v);

struct TNMEATime;
struct TNMEADate;
// 'hhmmss' with or without a fraction of any length ('hhmmss', 'hhmmss.ss',
// 'hhmmss.sss', ...): two-digit hours and minutes, then the seconds as a number.
// The record is written only on success.
bool ParseNMEATime(std::string_view text, TNMEATime& time);
// 'ddmmyy'; the record is written only on success.
bool ParseNMEADate(std::string_view text, TNMEADate& date);

}  // namespace orlimo
