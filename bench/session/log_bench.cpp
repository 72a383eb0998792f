// What raw-data logging costs: one batch write of 601 sentences to the temporary
// file, one full pipeline pass with logging on against the same pass without, and a
// second of a saturated 115200 bit/s line written once a second against the same
// second written only in batches of 601 lines.
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

// A second of a saturated 115200 bit/s line, about 150 sentences of 75 bytes, as the
// log takes it: written when its oldest line has waited a second (Arg 1, what the
// log does), or only when more than 600 wait (Arg 0). The time per iteration is the
// processor time that one second of the line costs the log (17 us is 0.0017 % of a
// processor); the sync every ten seconds is in it as often as the clock allows it.
void BM_SecondAt115200(benchmark::State& state) {
  Rig rig;
  rig.session.RawLog().TBStartLogClick();
  const bool everySecond = state.range(0) != 0;
  const std::string line = "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";
  for (auto _ : state) {
    for (int i = 0; i < 150; ++i) rig.session.RawLog().AddLogLine(line);
    if (everySecond || rig.session.RawLog().LogLineCount() > ReceivePipeline::kLogFlushLines)
      rig.session.RawLog().FlushLog();
  }
}
BENCHMARK(BM_SecondAt115200)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
