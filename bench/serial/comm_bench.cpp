// Throughput of the port component through a pty (bytes from the far side to
// OnReceiveData, checked for loss) and the CPU an idle open port costs.
#include <benchmark/benchmark.h>

#include <QByteArray>

#include <time.h>

#include <chrono>
#include <thread>

#include "pty_support.h"
#include "serial/comm.h"

namespace {

using orlimo::TComm;
using orlimo::test::Pty;
using orlimo::test::SpinUntil;

void BM_PtyToOnReceiveData(benchmark::State& state) {
  const auto size = static_cast<qsizetype>(state.range(0));
  QByteArray payload(size, '\0');
  for (qsizetype i = 0; i < size; ++i) payload[i] = static_cast<char>((i * 131 + (i >> 9)) & 0xFF);

  Pty pty;
  TComm comm;
  comm.SetCommName(QString::fromStdString(pty.SlavePath()));
  comm.SetOutx_XonXoffFlow(false);
  comm.SetInx_XonXoffFlow(false);
  comm.SetBaudRate(115200);
  comm.SetReadIntervalTimeout(33);  // what a connection uses
  QByteArray received;
  received.reserve(size);
  QObject::connect(&comm, &TComm::OnReceiveData, [&](const QByteArray& b) { received += b; });
  comm.OpenComm();

  for (auto _ : state) {
    received.clear();
    std::thread feeder([&] { pty.Write(payload); });
    const bool complete = SpinUntil([&] { return received.size() >= size; }, 60000);
    feeder.join();
    if (!complete || received != payload) {
      state.SkipWithError("bytes lost or changed");
      break;
    }
  }
  comm.CloseComm();
  state.SetBytesProcessed(state.iterations() * size);
  // 115200 bit/s at 10 bits a byte is 11520 bytes/s.
  state.counters["x115200"] =
      benchmark::Counter(static_cast<double>(size) / 11520.0 * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PtyToOnReceiveData)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();

double ProcessCpuSeconds() {
  timespec ts{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// CPU used by the whole process while a port sits open and silent; the main
// thread sleeps, so what is counted is what the reader and writer cost.
void BM_IdleOpenPortCpu(benchmark::State& state) {
  Pty pty;
  TComm comm;
  comm.SetCommName(QString::fromStdString(pty.SlavePath()));
  bool writerIdle = false;
  QObject::connect(&comm, &TComm::OnSendDataEmpty, [&] { writerIdle = true; });
  comm.OpenComm();
  SpinUntil([&] { return writerIdle; }, 5000);
  double cpuMs = 0;
  for (auto _ : state) {
    const double before = ProcessCpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
    cpuMs = (ProcessCpuSeconds() - before) * 1000.0;
  }
  comm.CloseComm();
  state.counters["cpu_ms"] = cpuMs;
}
BENCHMARK(BM_IdleOpenPortCpu)->Arg(10)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  orlimo::test::App();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
