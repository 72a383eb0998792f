// What raw-data logging costs: one batch write of 601 sentences to the temporary
// file, and one full pipeline pass with logging on against the same pass without.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fake_session_view.h"
#include "session/file_places.h"
#include "session/session.h"

namespace {
using namespace orlimo;

std::string Sample() {
  std::ifstream in(std::string(ORLIMO_SOURCE_DIR) + "/data/sample-1hz.nmea", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str().substr(0, ReceivePipeline::kRxBufferCap);
}

struct Rig {
  Rig() : session(view, [] {
    SessionOptions o;
    o.manualTicks = true;
    return o;
  }()) {
    char name[] = "/tmp/orlimo-bench-XXXXXX";
    dir = ::mkdtemp(name);
    session.RawLog().SetPlaces(dir + "/", LocalTimeNow());
    session.State().LinkState = TLinkState::NMEA;
  }
  ~Rig() { std::filesystem::remove_all(dir); }
  FakeSessionView view;
  TSession session;
  std::string dir;
};

void BM_Flush601Lines(benchmark::State& state) {
  Rig rig;
  const std::string line = "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < 601; ++i) rig.session.RawLog().AddLogLine(line);
    state.ResumeTiming();
    rig.session.RawLog().FlushLogLines();
  }
}
BENCHMARK(BM_Flush601Lines)->Unit(benchmark::kMicrosecond);

// A pass over a full buffer (what a saturated 115200 bit/s line brings in about a
// third of a second), with and without logging.
void BM_PassWithLogging(benchmark::State& state) {
  Rig rig;
  rig.session.State().LogActive = state.range(0) != 0;
  const std::string buffer = Sample();
  for (auto _ : state) {
    rig.session.Pipeline().RxBuffer = buffer;
    rig.session.Pipeline().ProcessRxBuffer();
    rig.view.monitor.clear();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_PassWithLogging)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
