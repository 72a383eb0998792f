// The short ways through splitting, type search and number reading must give what
// the plain rules give, on any text: word-at-a-time splitting against GetField, the
// skipping type search against a search for each tag, and plain digit strings
// against the full number rules (which a leading blank selects).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>

#include "nmea/fields.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

std::string RandomText(std::mt19937& rng, std::string_view alphabet, std::size_t maxLength) {
  std::string s(rng() % (maxLength + 1), ' ');
  for (char& c : s) c = alphabet[rng() % alphabet.size()];
  return s;
}

TEST(FastPaths, WordSplitMatchesGetField) {
  // Near misses of ',' and '*': a high bit set, one bit off, zero bytes.
  constexpr std::string_view kBytes{",*,-+A0\xAC\xAA\x2D\x2B\0\xFF", 13};
  constexpr SeparatorSet kDash{'-'}, kTwice{',', ','}, kThree{',', '*', 'A'};
  std::mt19937 rng(7);
  for (int round = 0; round < 1500; ++round) {
    // Every fourth line long and dense: more separators than FieldList keeps.
    const std::string line = round % 4 ? RandomText(rng, kBytes, 40)
                                       : RandomText(rng, ",,*-A\xAC", 200);
    for (const SeparatorSet* set : {&FieldSeparators, &CommaSeparator, &kDash, &kTwice, &kThree}) {
      const FieldList list(line, *set);
      ASSERT_EQ(list.SeparatorCount(), CountSeparators(line, *set)) << line;
      for (int n = 0; n <= FieldList::kMaxFields; ++n)
        ASSERT_EQ(list[n], GetField(n, line, *set)) << line << " field " << n;
      ASSERT_EQ(list[FieldList::kMaxFields + 1], "") << line << ": only the first fields are kept";
    }
  }
}

TEST(FastPaths, FieldsUpToTheSeparatorCountNeedNoTest) {
  std::mt19937 rng(23);
  for (int round = 0; round < 3000; ++round) {
    // Every fourth line past the fields FieldList keeps.
    const std::string line = RandomText(rng, ",,*-A0", round % 4 ? 40 : 200);
    const FieldList list(line, FieldSeparators);
    const int known = std::min(list.SeparatorCount(), FieldList::kMaxFields);
    for (int n = 2; n <= known; ++n) ASSERT_EQ(list.At(n), list[n]) << line << " field " << n;
  }
}

TEST(FastPaths, TypeSearchFindsTheFirstTagOfTheTable) {
  std::mt19937 rng(11);
  for (int round = 0; round < 50000; ++round) {
    // Lines from 32 bytes on are searched in blocks; bytes next to 'A' and 'Z' too.
    const std::string line = RandomText(rng, "RMCGAVLSTPQYX,0$@[\xC1", round % 2 ? 24 : 100);
    TSentenceType expected = stNIL;
    for (int t = kTaggedTypeCount - 1; t >= 1; --t)
      if (line.find(SentenceTags[t]) != std::string::npos) expected = static_cast<TSentenceType>(t);
    ASSERT_EQ(GetSentenceType(line), expected) << line;
  }
}

TEST(FastPaths, IntegersReadAsTheFullRulesReadThem) {
  std::mt19937 rng(13);
  for (int round = 0; round < 200000; ++round) {
    const std::string text = round % 2 ? RandomText(rng, "0123456789", 11)
                                       : RandomText(rng, "0123456789 -+$Af.*", 5);
    std::int32_t fast = -7, full = -7;
    const bool ok = TryParseInt(text, fast);
    ASSERT_EQ(ok, TryParseInt(" " + text, full)) << text;
    ASSERT_EQ(fast, full) << text;
  }
}

TEST(FastPaths, ReadingsGiveTheFullRulesDoubleBitForBit) {
  std::mt19937 rng(17);
  for (int round = 0; round < 200000; ++round) {
    const std::string text = round % 2 ? RandomText(rng, "0123456789.", 17)
                                       : RandomText(rng, "0123456789. -+eE*", 6);
    double fast = -7, full = -7;
    const bool ok = TryParseFloat(text, fast);
    ASSERT_EQ(ok, TryParseFloat(" " + text, full)) << text;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(full)) << text;
    // And the correctly rounded double of the text.
    double exact = -7;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), exact);
    const bool plain = text.find_first_of(" +-") == std::string::npos;
    if (ok && plain && ec == std::errc{} && end == text.data() + text.size()) {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(exact)) << text;
    }
  }
}

TEST(FastPaths, BlockChecksumMatchesAPlainXor) {
  // Lines of every length around the 8- and 16-byte steps, with all byte values.
  std::mt19937 rng(19);
  for (int round = 0; round < 20000; ++round) {
    std::string body(rng() % 90, ' ');
    for (char& c : body) c = static_cast<char>(rng() % 256);
    unsigned x = 0;
    for (char c : body) x ^= static_cast<unsigned char>(c);
    constexpr char kHex[] = "0123456789ABCDEF";
    const std::string line = "$" + body + "*" + kHex[x >> 4] + kHex[x & 15];
    ASSERT_TRUE(IsValidSentence(line)) << body.size();
    ASSERT_EQ(NMEAChecksumSuffix("$" + body), line.substr(line.size() - 3));
    std::string wrong = line;
    wrong[1 + rng() % (body.size() + 1)] ^= 0x01;  // one bit off, the '*' included
    ASSERT_FALSE(IsValidSentence(wrong)) << body.size();
  }
}

}  // namespace
}  // namespace orlimo
