// Arbitrary bytes through the validity test and the decoder (line by line) and
// through the receive pipeline (in two received blocks, with passes and scans), and
// through the reply scanners of a session talking to a u-blox receiver, and through
// the readers of what receivers say about themselves.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fake_session_view.h"
#include "nmea/decoder.h"
#include "nmea/fields.h"
#include "session/activity_indicator.h"
#include "session/pipeline_hooks.h"
#include "session/receive_pipeline.h"
#include "session/receiver_clues.h"
#include "session/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orlimo;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  TqvNMEA direct;
  for (std::size_t start = 0; start <= bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    TSentenceType type;
    direct.DecodeSentence(line, type);
    (void)GetField(static_cast<int>(size % 70), line, FieldSeparators);
    start = end + 1;
  }

  SessionState state;
  TqvNMEA nmea;
  FakeSessionView view;
  PipelineHooks hooks;
  FakeTimer timer;
  ActivityIndicator indicator(timer, view);
  ReceivePipeline pipeline(state, nmea, view, hooks, indicator);
  const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
  state.LogActive = size % 3 == 0;  // the log's own framing of what arrives
  pipeline.CommGPSReceiveData(bytes.data(), cut);
  state.LinkState = TLinkState::Auto;
  pipeline.DetectBaudBySignature(size % 2 ? 19200 : 115200);
  state.LinkState = TLinkState::NMEA;
  pipeline.FindFirstValidLine();
  pipeline.ProcessRxBuffer();
  pipeline.CommGPSReceiveData(bytes.data() + cut, size - cut);
  pipeline.ProcessRxBuffer();

  // The reply scanners of a session that believes it talks to a u-blox receiver
  // waiting for its firmware reply (nothing is written: the port is closed).
  static FakeSessionView sessionView;
  static TSession session(sessionView, [] {
    SessionOptions o;
    o.manualTicks = true;
    return o;
  }());
  SessionState& s = session.State();
  s.ReceiverKind = 2;
  s.VersionKnown = false;
  s.VersionQueryPending = true;
  s.Clues = {};
  s.PowerReplyWatch = true;
  s.PowerReplyCount = 3;
  session.Identification().ScanUBXFrames(bytes);
  session.Identification().WatchPowerReply(bytes);
  session.Identification().CheckFirmwareReply(bytes);
  // What today's receivers say of themselves, read from anything.
  UBloxClues clues;
  ReadMonVer(bytes, clues);
  ReadUBloxBanner(bytes, clues);
  (void)clues.Title();
  (void)MediaTekTitle(bytes);
  s.ReceiverKind = 2;
  session.Pipeline().RxBuffer.clear();
  session.Pipeline().CommGPSReceiveData(bytes.data(), size);
  session.Pipeline().ProcessRxBuffer();
  // The view lives across inputs: everything it records is dropped after each, or
  // a long run grows without bound and ends in a false out-of-memory.
  sessionView.ForgetRecorded();
  return 0;
}
