#include <gtest/gtest.h>

#include <vector>

#include "sim/uart_model.h"

namespace orlimo {
namespace {

std::string Bytes(std::initializer_list<int> v) {
  std::string s;
  for (int b : v) s.push_back(static_cast<char>(b));
  return s;
}

TEST(UartModel, EqualRatesReadExactlyWhatWasSent) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::vector<int> gaps = {0, 4, 16, 8, 12};
  for (int rate : {4800, 9600, 115200}) {
    EXPECT_EQ(SampleAtRate(all, rate, rate), all) << rate;
    EXPECT_EQ(SampleAtRate(all, rate, rate, gaps), all) << rate;
  }
}

TEST(UartModel, FourTimesFasterListenerSeesStartBitAndFirstDataBits) {
  // At 4x the listener's 8 data samples fall on: start bit x3, data bit 0 x4, data bit 1.
  // 0x01: bit0 = 1, bit1 = 0 -> 0b01111000 = 0x78; 0xFF -> 0xF8; 0x02 -> 0x80; 0x00 -> 0x00.
  EXPECT_EQ(SampleAtRate(Bytes({0x01}), 4800, 19200).substr(0, 1), Bytes({0x78}));
  EXPECT_EQ(SampleAtRate(Bytes({0xFF}), 4800, 19200).substr(0, 1), Bytes({0xF8}));
  EXPECT_EQ(SampleAtRate(Bytes({0x02}), 4800, 19200).substr(0, 1), Bytes({0x80}));
  EXPECT_EQ(SampleAtRate(Bytes({0x00}), 4800, 19200), Bytes({0x00}));
  // 0xFF after its first frame is a high line: nothing more is read.
  EXPECT_EQ(SampleAtRate(Bytes({0xFF}), 4800, 19200).size(), 1u);
}

TEST(UartModel, TwiceFasterListenerReadsBitPairs) {
  // 0x55 = 1,0,1,0,1,0,1,0 LSB first. Falling edges at the start bit and before each 0
  // bit; each read takes the start bit and two halves of each of the next bits.
  const std::string got = SampleAtRate(Bytes({0x55}), 9600, 19200);
  ASSERT_FALSE(got.empty());
  // Samples: start bit (2nd half), d0 = 1 twice, d1 = 0 twice, d2 = 1 twice, d3 = 0.
  EXPECT_EQ(static_cast<unsigned char>(got[0]), 0b01100110u);
}

TEST(UartModel, SlowerListenerReadsFewerBytes) {
  const std::string sent(100, 'U');
  const std::string got = SampleAtRate(sent, 115200, 9600);
  EXPECT_GT(got.size(), 0u);
  EXPECT_LT(got.size(), sent.size() / 4);
}

TEST(UartModel, StreamingInPiecesMatchesOneBurst) {
  const std::string sent = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
  const std::vector<int> gaps = {0, 4, 8, 12, 16, 4, 0};
  for (auto [tx, rx] : {std::pair{4800, 19200}, {9600, 19200}, {38400, 115200}, {19200, 4800}}) {
    UartLine line(rx);
    std::string streamed;
    UartTick t = 0;
    for (std::size_t i = 0; i < sent.size(); ++i) {
      t = line.Send(static_cast<std::uint8_t>(sent[i]), tx, t, gaps[i % gaps.size()]);
      line.Advance(t - UartBitTicks(tx) * 3, streamed);  // read behind the sender
    }
    line.Advance(t + 40 * UartBitTicks(std::min(tx, rx)), streamed);
    EXPECT_EQ(streamed, SampleAtRate(sent, tx, rx, gaps)) << tx << "->" << rx;
  }
}

TEST(UartModel, ListenerRateChangeLosesTheHalfReadByteAndReadsOnAtTheNewRate) {
  UartLine line(9600);
  std::string out;
  UartTick t = line.Send('A', 9600, 0);
  line.Advance(t / 2, out);
  line.SetListenRate(19200, t / 2);
  t = line.Send('B', 19200, t + 20 * UartBitTicks(19200));  // after a pause
  line.Advance(t + 20 * UartBitTicks(19200), out);
  // The rest of 'A' is read as garbage at the new rate; 'B' then comes through intact.
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.back(), 'B');
  EXPECT_EQ(out.find('A'), std::string::npos);
}

TEST(UartModel, GapSourceStaysWithinOneBitInQuarterSteps) {
  UartGapSource gaps(7);
  bool seen[5] = {};
  for (int i = 0; i < 1000; ++i) {
    const int g = gaps.NextSixteenths();
    ASSERT_TRUE(g >= 0 && g <= 16 && g % 4 == 0) << g;
    seen[g / 4] = true;
  }
  for (bool s : seen) EXPECT_TRUE(s);
  EXPECT_EQ(UartByteTicks(9600, 16), 11 * UartBitTicks(9600));
}

}  // namespace
}  // namespace orlimo
