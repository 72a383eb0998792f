#include "nmea/text.h"

#include <gtest/gtest.h>

namespace orlimo {
namespace {

TEST(TextUtilities, CopiesAndPositionsAreOneBased) {
  EXPECT_EQ(LeftText("abcdef", 2), "ab");
  EXPECT_EQ(LeftText("ab", 5), "ab");
  EXPECT_EQ(RightText("abcdef", 2), "ef");
  EXPECT_EQ(RightText("ab", 5), "ab");
  EXPECT_EQ(CopyRange("abcdef", 2, 4), "bcd");
  EXPECT_EQ(CopyRange("abcdef", 5, 99), "ef");
  EXPECT_EQ(CopyRange("abcdef", 4, 3), "");
  EXPECT_EQ(CopyFrom("abcdef", 5), "ef");
  EXPECT_EQ(CopyFrom("abcdef", 7), "");
  EXPECT_EQ(PosFrom("cd", "abcdcd", 1), 3u);
  EXPECT_EQ(PosFrom("cd", "abcdcd", 4), 5u);
  EXPECT_EQ(PosFrom("cd", "abcdcd", 6), 0u);
  EXPECT_EQ(PosFrom("", "abc", 1), 0u);
  EXPECT_EQ(LastPosBefore("$", "$a$b$", 5), 3u);
  EXPECT_EQ(LastPosBefore("$", "$a$b$", 99), 5u);
  EXPECT_EQ(LastPosBefore("ab", "xxab", 4), 0u) << "must lie wholly before the limit";
  EXPECT_EQ(LastPosBefore("ab", "xxab", 5), 3u);
  EXPECT_EQ(LastPosBefore("a", "a", 1), 0u);
}

TEST(TextUtilities, HexBytesAndClock) {
  EXPECT_EQ(HexDigits(0x1F, 2), "1F");
  EXPECT_EQ(HexDigits(0xABC, 2), "BC");
  EXPECT_EQ(HexDigits(0x5, 4), "0005");
  const unsigned char raw[] = {0x00, 0x80, 0xFF, '$'};
  const std::string copied = CopyBytes(raw, sizeof raw);
  ASSERT_EQ(copied.size(), 4u);
  EXPECT_EQ(static_cast<unsigned char>(copied[2]), 0xFF);
  EXPECT_EQ(SecondsToHMS(3723), "01:02:03");
  EXPECT_EQ(SecondsToHMS(90000), "25:00:00");
}

}  // namespace
}  // namespace orlimo
