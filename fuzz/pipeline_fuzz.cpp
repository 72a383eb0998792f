// Arbitrary bytes through the validity test and the decoder (line by line) and
// through the receive pipeline (in two received blocks, with passes and scans).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fake_session_view.h"
#include "nmea/decoder.h"
#include "nmea/fields.h"
#include "session/activity_indicator.h"
#include "session/pipeline_hooks.h"
#include "session/receive_pipeline.h"

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
  pipeline.CommGPSReceiveData(bytes.data(), cut);
  state.LinkState = TLinkState::Auto;
  pipeline.DetectBaudBySignature(size % 2 ? 19200 : 115200);
  state.LinkState = TLinkState::NMEA;
  pipeline.FindFirstValidLine();
  pipeline.ProcessRxBuffer();
  pipeline.CommGPSReceiveData(bytes.data() + cut, size - cut);
  pipeline.ProcessRxBuffer();
  return 0;
}
