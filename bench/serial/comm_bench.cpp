// Throughput of the port component through a pty (bytes from the far side to
// OnReceiveData, checked for loss), how often the reader wakes for a slow line, and
// the CPU an idle open port costs.
#include <benchmark/benchmark.h>

#include <QByteArray>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

#include "pty_support.h"
#include "serial/comm.h"
#include "thread_counters.h"

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

// A receiver at 9600 bit/s as a pty shows it: one byte a millisecond, for
// range(0) ms of every second (1000: without a pause), over five seconds, with the
// read interval a connection at 9600 uses. Reported counters:
//   wakeups_per_s    times the component's threads went to sleep and were woken
//                    (the writer is idle throughout, so this is the reader)
//   chunks_per_s     OnReceiveData calls
//   latency_ms_mean  from the last byte of a burst to the chunk that ends it
//   latency_ms_max   (events on the main thread, so scheduling delay is included)
void BM_ReaderWakeupsAt9600(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const int burstMs = static_cast<int>(state.range(0));
  const int seconds = 5;
  const qsizetype total = qsizetype{seconds} * burstMs;

  Pty pty;
  TComm comm;
  comm.SetCommName(QString::fromStdString(pty.SlavePath()));
  comm.SetOutx_XonXoffFlow(false);
  comm.SetInx_XonXoffFlow(false);
  comm.SetBaudRate(9600);
  comm.SetReadIntervalTimeout(33);
  std::vector<std::pair<Clock::time_point, qsizetype>> chunks;  // arrival, bytes so far
  qsizetype received = 0;
  QObject::connect(&comm, &TComm::OnReceiveData, [&](const QByteArray& b) {
    received += b.size();
    chunks.emplace_back(Clock::now(), received);
  });
  bool writerIdle = false;
  QObject::connect(&comm, &TComm::OnSendDataEmpty, [&] { writerIdle = true; });
  const std::set<int> before = orlimo::test::ThreadIds();
  comm.OpenComm();
  SpinUntil([&] { return writerIdle; }, 5000);
  std::vector<int> workers;
  for (int tid : orlimo::test::ThreadIds()) {
    if (before.count(tid) == 0) workers.push_back(tid);
  }
  auto switches = [&] {
    long sum = 0;
    for (int tid : workers) sum += std::max(orlimo::test::VoluntarySwitches(tid), 0L);
    return sum;
  };

  for (auto _ : state) {
    chunks.clear();
    received = 0;
    std::vector<Clock::time_point> burstEnds;
    const long startSwitches = switches();
    std::thread feeder([&] {
      timespec next{};
      ::clock_gettime(CLOCK_MONOTONIC, &next);
      auto advance = [&](long ms) {
        next.tv_nsec += ms * 1000000L;
        next.tv_sec += next.tv_nsec / 1000000000L;
        next.tv_nsec %= 1000000000L;
      };
      for (int s = 0; s < seconds; ++s) {
        for (int i = 0; i < burstMs; ++i) {
          advance(1);
          ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
          pty.Write(QByteArray(1, static_cast<char>('0' + i % 64)));
        }
        burstEnds.push_back(Clock::now());
        advance(1000 - burstMs);
      }
    });
    const bool complete = SpinUntil([&] { return received >= total; }, (seconds + 10) * 1000);
    feeder.join();
    if (!complete || received != total) {
      state.SkipWithError("bytes lost");
      break;
    }
    const long wakeups = switches() - startSwitches;

    // Bursts followed by a pause, and the last one, end a chunk.
    double latencySum = 0, latencyMax = 0;
    int bursts = 0;
    for (int b = 0; b < seconds; ++b) {
      if (burstMs >= 1000 && b + 1 < seconds) continue;
      const qsizetype end = qsizetype{b + 1} * burstMs;
      const auto chunk = std::find_if(chunks.begin(), chunks.end(), [&](const auto& c) { return c.second >= end; });
      const double ms = std::chrono::duration<double, std::milli>(chunk->first - burstEnds[b]).count();
      latencySum += ms;
      latencyMax = std::max(latencyMax, ms);
      ++bursts;
    }
    state.counters["wakeups_per_s"] = static_cast<double>(wakeups) / seconds;
    state.counters["chunks_per_s"] = static_cast<double>(chunks.size()) / seconds;
    state.counters["latency_ms_mean"] = latencySum / bursts;
    state.counters["latency_ms_max"] = latencyMax;
  }
  comm.CloseComm();
}
BENCHMARK(BM_ReaderWakeupsAt9600)->Arg(1000)->Arg(600)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

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
