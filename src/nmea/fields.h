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
  // Separators in the whole line, including those past kMaxFields.
  int SeparatorCount() const { return separators_; }

 private:
  template <bool kTwo>
  void SplitByWords(unsigned char first, unsigned char second);

  std::string_view line_;
  // Where field i+1 ends (its separator, or the end of the line). Only the first
  // count_ entries are written; no need to clear the rest per sentence.
  std::uint32_t ends_[kMaxFields];
  int count_ = 0;
  int separators_ = 0;
};

// Decimal, or hexadecimal after a '$'; optional blanks and sign first. On failure the
// value holds what was accumulated before the stop (the GSV decoder relies on that).
bool TryParseInt(std::string_view text, std::int32_t& value);

// '.' is the decimal separator whatever the locale. On failure value is left as it was.
bool TryParseFloat(std::string_view text, double& value);

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
