// One pipeline pass over a full 4096-byte buffer of a 1 Hz stream, views left out.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "nmea/decoder.h"
#include "session/activity_indicator.h"
#include "session/pipeline_hooks.h"
#include "session/receive_pipeline.h"
#include "session/session_view.h"

namespace {
using namespace orlimo;

class NullView : public ISessionView {
 public:
  void SetPanelText(int, std::string_view) override {}
  void RepaintStatusBar() override {}
  void AppendMonitorLine(std::string_view) override { ++lines; }
  void SelectLastMonitorLine() override {}
  int MonitorLineCount() const override { return lines; }
  void DeleteFirstMonitorLines(int count) override { lines -= count; }
  void AppendTrace(int, std::string_view) override {}
  int TraceLineCount(int) const override { return 0; }
  void ClearTrace(int) override {}
  void UpdateNaviPanel(const TqvNMEA&) override {}
  void ShowSatelliteTable(const TqvNMEA&) override {}
  void DrawSkyView(const TqvNMEA&) override {}
  void ShowSpeedAndCourse(const TqvNMEA&) override {}
  int lines = 0;
};

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
  NullView view;
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
