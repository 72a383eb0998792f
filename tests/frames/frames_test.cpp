#include <gtest/gtest.h>

#include "frames/hex.h"
#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"

namespace orlimo {
namespace {

std::string Hex(std::string_view text) { return HexToBytes(text).value(); }

TEST(SiRFFrame, BuiltInSelfTestFrameDecodes) {
  const std::string f = Hex("A0A20007961E510006001E0129B0B3");
  EXPECT_EQ(SiRFPayloadLength(f), 7);
  EXPECT_EQ(BytesToHex(SiRFPayload(f)), "961E510006001E");
  EXPECT_EQ(SiRFChecksumField(f), 0x0129);
  EXPECT_EQ(SiRFMessageID(f), 0x96);
  EXPECT_TRUE(IsValidSiRFFrame(f));
  for (std::size_t i = 4; i < 11; ++i) {
    std::string bad = f;
    bad[i] ^= 0x10;
    EXPECT_FALSE(IsValidSiRFFrame(bad)) << "payload byte " << i;
  }
}

TEST(SiRFFrame, CannedCommandFramesAreValidAndRebuildExactly) {
  const std::string factory =
      Hex("A0A20019" "80" "000000000000000000000000" "000177FA" "00000000" "0000" "0C38" "0236B0B3");
  const std::string toNmea4800 =
      Hex("A0A20018810201010101010105010101010100010001000100011" "2C00169B0B3");
  for (const std::string& f : {factory, toNmea4800}) {
    EXPECT_TRUE(IsValidSiRFFrame(f));
    EXPECT_EQ(BuildSiRFFrame(SiRFPayload(f)), f);
  }
  EXPECT_EQ(factory.size(), 33u);
  EXPECT_EQ(SiRFMessageID(factory), 0x80);
  EXPECT_EQ(toNmea4800.size(), 32u);
}

TEST(SiRFFrame, ChecksumKeepsFifteenBits) {
  const std::string payload(200, '\xFF');  // sum 0xC738 -> 0x4738
  EXPECT_EQ(SiRFChecksum(payload), 0x4738);
  EXPECT_TRUE(IsValidSiRFFrame(BuildSiRFFrame(payload)));
}

TEST(SiRFFrame, MalformedFramesAreRejectedWithoutReadingPastTheEnd) {
  const std::string good = BuildSiRFFrame(Hex("09000000000000BA0044"));
  // Length disagreeing with the size, wrong start or end, cut short, empty.
  // A zero byte more before the checksum, spliced in: GCC 12 at -O3 takes an insert()
  // at size() - 4 for a copy that may overlap (-Wrestrict), as it cannot bound size().
  const std::string longer = good.substr(0, good.size() - 4) + '\0' + good.substr(good.size() - 4);
  std::string badStart = good;
  badStart[1] = '\xA3';
  std::string badEnd = good;
  badEnd.back() = '\xB4';
  for (const std::string& f : {longer, badStart, badEnd, good.substr(0, 10), good.substr(0, 3),
                               std::string(), std::string("\xA0\xA2\xFF\xFF\xB0\xB3", 6)}) {
    EXPECT_FALSE(IsValidSiRFFrame(f)) << BytesToHex(f);
    EXPECT_LE(SiRFPayload(f).size(), f.size());
  }
  EXPECT_EQ(SiRFPayloadLength("\xA0"), 0);
  EXPECT_EQ(SiRFMessageID("\xA0\xA2\x00\x01"), 0);
  EXPECT_EQ(SiRFChecksumField(""), 0);
}

TEST(UBXFrame, RestartFramesCarryTheirKnownChecksums) {
  EXPECT_EQ(BytesToHex(BuildUBXFrame(0x06, 0x04, Hex("00000200"))), "B56206040400000002001068");
  EXPECT_EQ(BytesToHex(BuildUBXFrame(0x06, 0x04, Hex("FF070200"))), "B5620604040" "0FF0702001679");
  EXPECT_EQ(BytesToHex(BuildUBXFrame(0x06, 0x09, Hex("FFFFFFFF00000000FFFFFFFF"))),
            "B5620609" "0C00FFFFFFFF00000000FFFFFFFF135B");
  const auto ck = UBXChecksum(Hex("06010200F000"));
  EXPECT_EQ(BytesToHex(BuildUBXFrame(0x06, 0x01, Hex("F000"))),
            "B56206010200F000" + BytesToHex(std::string{static_cast<char>(ck[0]), static_cast<char>(ck[1])}));
}

TEST(UBXFrame, ValidityAndFields) {
  const std::string f = BuildUBXFrame(0x06, 0x01, Hex("F00401010101"));
  EXPECT_TRUE(IsValidUBXFrame(f));
  EXPECT_EQ(UBXClass(f), 0x06);
  EXPECT_EQ(UBXId(f), 0x01);
  EXPECT_EQ(UBXPayloadLength(f), 6);
  EXPECT_EQ(BytesToHex(UBXPayload(f)), "F00401010101");
  std::string bad = f;
  bad[7] ^= 1;
  EXPECT_FALSE(IsValidUBXFrame(bad));
  EXPECT_FALSE(IsValidUBXFrame(f.substr(0, f.size() - 1)));
  EXPECT_FALSE(IsValidUBXFrame("\xB5\x62"));
  EXPECT_EQ(UBXPayload("\xB5\x62\x06\x01\xFF\xFF").size(), 0u);
}

TEST(Hex, ConvertsBothWaysAndRefusesBadText) {
  EXPECT_EQ(HexToBytes("a0A2ff"), std::string("\xA0\xA2\xFF"));
  EXPECT_EQ(HexToBytes(""), std::string());
  EXPECT_EQ(BytesToHex(std::string("\x00\x0F\xF0", 3)), "000FF0");
  for (const char* bad : {"A", "A0A", "G0", "0x12", "12 34", "1-"}) EXPECT_FALSE(HexToBytes(bad)) << bad;
}

}  // namespace
}  // namespace orlimo
