#include "session/receive_pipeline.h"

#include <gtest/gtest.h>

#include "nmea/sentence.h"
#include "pipeline_fixture.h"

namespace orlimo {
namespace {

std::string Sentence(const std::string& body) {
  const std::string s = "$" + body;
  return s + NMEAChecksumSuffix(s);
}

const std::string kGLL = "$GPGLL,3730.2492,N,12702.8663,E,023441.000,A,A*5E";
const std::string kGGA =
    "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";
const std::string kRMC =
    "$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B";

class Pipeline : public ::testing::Test, public PipelineRig {};

TEST_F(Pipeline, ReceiveHandlerCountsAppendsAndCaps) {
  Feed("abc");
  Feed("");
  EXPECT_EQ(state.gCntRxIn1s, 1);
  EXPECT_EQ(state.RxBytesInSecond, 3);
  Feed(std::string(5000, 'x') + "tail");
  EXPECT_EQ(pipeline.RxBuffer.size(), 4096u);
  EXPECT_EQ(pipeline.RxBuffer.substr(4092), "tail");
  state.LinkState = TLinkState::Null;
  Feed("ignored");
  EXPECT_EQ(state.gCntRxIn1s, 2);
  EXPECT_EQ(pipeline.RxBuffer.substr(4092), "tail");
}

TEST_F(Pipeline, IndicatorLightsWithFirstBlockAndGoesOffOnSecondTick) {
  Feed("a");
  EXPECT_TRUE(indicator.IsOn());
  EXPECT_TRUE(timer.active);
  Feed("b");  // does not extend
  EXPECT_EQ(timer.starts, 1);
  indicator.TmGPSDataTimer();
  EXPECT_TRUE(indicator.IsOn());
  indicator.TmGPSDataTimer();
  EXPECT_FALSE(indicator.IsOn());
  EXPECT_FALSE(timer.active);
  EXPECT_EQ(view.statusRepaints, 2);
  Feed("c");
  EXPECT_TRUE(indicator.IsOn());
  EXPECT_EQ(timer.starts, 2);
}

TEST_F(Pipeline, SentenceSplitOverTwoSecondsDecodesInTheSecond) {
  Feed(kGGA + "\r\n" + kGLL.substr(0, 4));
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(view.monitor.size(), 1u);
  EXPECT_EQ(pipeline.RxBuffer, kGLL.substr(0, 4));
  Feed(kGLL.substr(4) + "\r\n");
  pipeline.ProcessRxBuffer();
  ASSERT_EQ(view.monitor.size(), 2u);
  EXPECT_EQ(view.monitor[1], kGLL);
  EXPECT_EQ(nmea.GLL.Status, 'A');
  EXPECT_TRUE(pipeline.RxBuffer.empty());
}

TEST_F(Pipeline, OnlyTheFirstLineIsResynchronised) {
  Feed("noise" + kGGA + "\r\nnoise" + kRMC + "\r\n" + kGLL + "\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(view.monitor, (std::vector<std::string>{kGGA, kGLL}));
  // A cut sentence start and a whole sentence in the same first line.
  view.monitor.clear();
  Feed("$GPRM" + kRMC + "\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(view.monitor, std::vector<std::string>{kRMC});
}

TEST_F(Pipeline, PassOrderScansBeforeAssembly) {
  state.ReceiverKind = 2;
  Feed(kGGA + "\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"ubx", "firmware", "power"}));
  EXPECT_EQ(hooks.seenBuffers[0], kGGA + "\r\n") << "scanners see the whole buffer";
  EXPECT_EQ(view.refreshes, (std::vector<std::string>{"navi", "table", "sky", "speed"}));
  EXPECT_EQ(view.selected, 0);
}

TEST_F(Pipeline, PauseStopsListLogAndViewsButNotDecoding) {
  state.Paused = true;
  state.LogActive = true;
  Feed(kRMC + "\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_TRUE(view.monitor.empty());
  EXPECT_TRUE(hooks.logLines.empty());
  EXPECT_TRUE(view.refreshes.empty());
  EXPECT_TRUE(nmea.FixValid);
  EXPECT_TRUE(nmea.SentenceSeen[stRMC]);
  EXPECT_TRUE(pipeline.NewLinesPending);

  state.Paused = false;
  pipeline.ProcessRxBuffer();  // nothing new, but the paused lines are still pending
  EXPECT_EQ(view.refreshes.size(), 4u);
  EXPECT_FALSE(nmea.SentenceSeen[stRMC]);
  EXPECT_FALSE(pipeline.NewLinesPending);
}

TEST_F(Pipeline, PassWithoutSentencesLeavesViewsAndFlags) {
  Feed(kRMC + "\r\n");
  pipeline.ProcessRxBuffer();
  nmea.SentenceSeen[stGGA] = true;
  view.refreshes.clear();
  Feed("garbage\r\n$GPGGA,bad*00\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_TRUE(view.refreshes.empty());
  EXPECT_TRUE(nmea.SentenceSeen[stGGA]);
}

TEST_F(Pipeline, MonitorListTrimmedTo1919NewestLast) {
  for (int i = 0; i < 2400; ++i) view.monitor.push_back("old");
  view.traces[2].assign(501, "t");
  view.traces[3].assign(500, "t");
  Feed(kGGA + "\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(view.monitor.size(), 1919u);
  EXPECT_EQ(view.monitor.back(), kGGA);
  EXPECT_EQ(view.monitorDeletes, 1);
  EXPECT_EQ(view.TraceLineCount(2), 0);
  EXPECT_EQ(view.TraceLineCount(3), 500);
}

TEST_F(Pipeline, LogLinesFlushedPastSixHundred) {
  state.LogActive = true;
  std::string burst;
  for (int i = 0; i < 601; ++i) burst += kGGA + "\r\n";
  for (std::size_t at = 0; at < burst.size(); at += 4000) {
    Feed(std::string_view(burst).substr(at, 4000));
    pipeline.ProcessRxBuffer();
  }
  EXPECT_EQ(hooks.flushes, 1);
}

TEST_F(Pipeline, CompletedGSVCycleIsDrawnOnce) {
  Feed("$GPGSV,3,1,10,04,65,054,42,02,60,325,26,13,40,063,35,10,36,245,40*78\r\n"
       "$GPGSV,3,2,10,24,31,087,30,17,25,155,34,05,14,276,21,23,13,039,24*79\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(view.skyDrawn, 0);
  Feed("$GPGSV,3,3,10,30,09,305,16,27,02,115,*71\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(view.satelliteTablesFilled, 1);
  EXPECT_EQ(view.skyDrawn, 1);
  EXPECT_EQ(nmea.GSV.MsgNum, 0);
  Feed(kGGA + "\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(view.skyDrawn, 1);
}

TEST_F(Pipeline, FixLossAfterRestartStartsTheFirstFixClock) {
  state.AwaitFixLoss = true;
  state.AutoSyncSeconds = 7;
  Feed(kRMC + "\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_TRUE(state.AwaitFixLoss) << "fix still held";
  Feed(Sentence("GPRMC,023442.000,V,,,,,,,200406,,,N") + "\r\n");
  pipeline.ProcessRxBuffer();
  EXPECT_FALSE(state.AwaitFixLoss);
  EXPECT_EQ(state.FirstFixSeconds, 7);
  EXPECT_EQ(state.AutoSyncSeconds, 0);
}

TEST_F(Pipeline, FirstValidLineDropsWhatComesBefore) {
  Feed("\x80\x81junk\r\n$GPGGA,bad*00\r\n" + kGGA + "\r\n" + kRMC + "\r\n$GPG");
  EXPECT_TRUE(pipeline.FindFirstValidLine());
  EXPECT_EQ(pipeline.RxBuffer.substr(0, kGGA.size()), kGGA);
  pipeline.ProcessRxBuffer();
  EXPECT_EQ(view.monitor, (std::vector<std::string>{kGGA, kRMC}));

  pipeline.RxBuffer = "junk\r\nmore junk\r\n$GPR";
  EXPECT_FALSE(pipeline.FindFirstValidLine());
  EXPECT_EQ(pipeline.RxBuffer, "$GPR");
}

TEST_F(Pipeline, BaudSignatures) {
  const std::string nmea4800("\x11\x00\x80\x80\xF8\x00\xF8\x22", 8);
  const std::string sirfRow3("\x00\x86\x80\x86\x80", 5);
  state.LinkState = TLinkState::Auto;
  pipeline.RxBuffer = nmea4800;
  EXPECT_FALSE(pipeline.DetectBaudBySignature(9600)) << "only listens at 19200 and 115200";
  ASSERT_TRUE(pipeline.DetectBaudBySignature(19200));
  EXPECT_EQ(state.LinkState, TLinkState::NMEA);
  EXPECT_EQ(state.DetectedBaudRate, 4800);
  EXPECT_EQ(view.panels[3], "NMEA");
  EXPECT_TRUE(pipeline.RxBuffer.empty());

  // Row 1 wins over row 3 wherever they are in the buffer.
  state.LinkState = TLinkState::Auto;
  state.DetectedBaudRate = 0;
  pipeline.RxBuffer = sirfRow3 + nmea4800;
  ASSERT_TRUE(pipeline.DetectBaudBySignature(19200));
  EXPECT_EQ(state.DetectedBaudRate, 4800);
  EXPECT_EQ(state.LinkState, TLinkState::NMEA);

  // Once a rate is found, or outside detection, the buffer is left alone.
  state.LinkState = TLinkState::Auto;
  pipeline.RxBuffer = "$GP";
  EXPECT_FALSE(pipeline.DetectBaudBySignature(115200));
  state.DetectedBaudRate = 0;
  state.LinkState = TLinkState::NMEA;
  EXPECT_FALSE(pipeline.DetectBaudBySignature(115200));
  state.LinkState = TLinkState::Auto;
  ASSERT_TRUE(pipeline.DetectBaudBySignature(115200));
  EXPECT_EQ(state.DetectedBaudRate, 115200);
  pipeline.RxBuffer = std::string("\xA0\xA2\x00\x09\x09", 5);
  state.LinkState = TLinkState::Auto;
  state.DetectedBaudRate = 0;
  ASSERT_TRUE(pipeline.DetectBaudBySignature(115200));
  EXPECT_EQ(state.LinkState, TLinkState::SiRF);
}

}  // namespace
}  // namespace orlimo
