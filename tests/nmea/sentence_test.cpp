#include "nmea/sentence.h"

#include <gtest/gtest.h>

#include <string>

namespace orlimo {
namespace {

constexpr const char* kGSV3 = "$GPGSV,3,3,10,30,09,305,16,27,02,115,*71";
constexpr const char* kGGA =
    "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";

TEST(SentenceValidity, ReceivedSentencesPassAndAnyChangedCharacterFails) {
  const std::string line = kGSV3;
  ASSERT_TRUE(IsValidSentence(line));
  ASSERT_TRUE(IsValidSentence(kGGA));
  for (std::size_t i = 1; i < line.size() - 3; ++i) {
    std::string changed = line;
    changed[i] = static_cast<char>(changed[i] ^ 0x01);
    EXPECT_FALSE(IsValidSentence(changed)) << "changed position " << i;
  }
}

TEST(SentenceValidity, FramingRules) {
  std::string lower = kGGA;
  lower.replace(lower.size() - 2, 2, "6d");
  EXPECT_FALSE(IsValidSentence(lower)) << "lower-case checksum digits";
  EXPECT_TRUE(IsValidSentence("$*00"));
  EXPECT_FALSE(IsValidSentence("$*01"));
  EXPECT_FALSE(IsValidSentence("$*0"));
  EXPECT_FALSE(IsValidSentence(std::string(kGGA).substr(1))) << "no leading '$'";
  // The checksum of "$AB*03" moved so the '*' is not third from the end.
  EXPECT_TRUE(IsValidSentence("$AB*03"));
  EXPECT_FALSE(IsValidSentence("$AB*003"));
  EXPECT_FALSE(IsValidSentence(""));
}

TEST(Checksum, SuffixAgreesWithValidityTest) {
  const std::string body = "$PSRF100,1,4800,8,1,0";
  const std::string suffix = NMEAChecksumSuffix(body);
  ASSERT_EQ(suffix.size(), 3u);
  EXPECT_EQ(suffix[0], '*');
  EXPECT_TRUE(IsValidSentence(body + suffix));
  EXPECT_TRUE(ChecksumMatches(body + suffix));
  EXPECT_EQ(NMEAChecksumSuffix(""), "*00");
  EXPECT_EQ(NMEAChecksumSuffix("$"), "*00");
  EXPECT_EQ(NMEAChecksumSuffix("$PQXC,201"), "*05");
}

TEST(Checksum, MatchesIgnoresFramingButNeedsTheDigits) {
  // No '$' and no '*' are checked here: only the XOR of the middle.
  EXPECT_TRUE(ChecksumMatches("XAB*03"));
  EXPECT_TRUE(ChecksumMatches("X__5F"));
  EXPECT_FALSE(ChecksumMatches("1"));
  EXPECT_TRUE(ChecksumMatches("$*00"));
}

TEST(SentenceType, FirstTagInTableOrderWinsAnywhereInTheLine) {
  EXPECT_EQ(GetSentenceType("$GPRMC,1"), stRMC);
  EXPECT_EQ(GetSentenceType("$GPGGA,RMC"), stRMC);
  EXPECT_EQ(GetSentenceType("$GPVTG,GSV"), stGSV);
  EXPECT_EQ(GetSentenceType("$GNGLL,"), stGLL);
  EXPECT_EQ(GetSentenceType("$PQXR,201"), stPQX);
  EXPECT_EQ(GetSentenceType("$PQYTQ"), stPQY);
  EXPECT_EQ(GetSentenceType("$GPMSS,"), stMSS);
  EXPECT_EQ(GetSentenceType("$GPZDA,"), stNIL);
  EXPECT_EQ(GetSentenceType("$gprmc"), stNIL) << "tags are case-sensitive";
  EXPECT_EQ(GetSentenceType("RM"), stNIL);
  EXPECT_EQ(GetSentenceType(""), stNIL);
}

}  // namespace
}  // namespace orlimo
