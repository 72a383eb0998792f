// One pipeline pass over a full 4096-byte buffer of a 1 Hz stream, views left out.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "nmea/decoder.h"
#include "session/activity_indicator.h"
#include "session/pipeline_hooks.h"
#include "session/receive_pipeline.h"
#include "session/session_view.h"
#include "fake_session_view.h"

namespace {
using namespace orlimo;

class IdleTimer : public IIntervalTimer {
 public:
  void Start() override { active = true; }
  void Stop() override { active = false; }
  bool IsActive() const override { return active; }
  bool active = false;
};

std::string FullBuffer() {
  std::ifstream in(std::string(ORLIMO_SOURCE_DIR) + "/data/sample-1hz.nmea", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str().substr(0, ReceivePipeline::kRxBufferCap);
}

void BM_PipelinePassFullBuffer(benchmark::State& state) {
  const std::string buffer = FullBuffer();
  SessionState session;
  TqvNMEA nmea;
  FakeSessionView view;
  PipelineHooks hooks;
  IdleTimer timer;
  ActivityIndicator indicator(timer, view);
  ReceivePipeline pipeline(session, nmea, view, hooks, indicator);
  for (auto _ : state) {
    pipeline.RxBuffer = buffer;
    pipeline.ProcessRxBuffer();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_PipelinePassFullBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
