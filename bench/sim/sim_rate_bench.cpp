// The simulator at 115200 bit/s and 10 Hz over 100 cycles while a host reads: does it
// keep its true rate? Reported counters:
//   cycle_rate_error_pct  output cycles counted against 10 a second
//   line_rate_error_pct   bit times clocked out against the bytes the host received
//   host_bytes_per_s      what the host read
// And what it costs as the program's --simulate sirf runs it (BM_SimCostAt9600).
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <set>

#include "sim/simulated_receiver.h"
#include "thread_counters.h"

namespace orlimo {
namespace {

void BM_SimKeepsItsRate(benchmark::State& state) {
  for (auto _ : state) {
    SimOptions o;
    o.rate = 115200;
    o.hz = 10;
    o.ttffStart = 0;
    o.zda = true;
    SimulatedReceiver sim(o);
    const std::string path = sim.Start();
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B115200);
    cfsetospeed(&t, B115200);
    tcsetattr(fd, TCSANOW, &t);

    // Let it settle, then measure between two status snapshots 100 cycles (10 s) apart,
    // each taken as a cycle begins: taken at any moment, the count between them may be
    // one off, which reads as 1 % at 10 Hz over 10 s whatever the pacing.
    const auto settle = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    char buf[4096];
    auto drain = [&](const auto& done, long long& bytes) {
      const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
      while (!done() && std::chrono::steady_clock::now() < limit) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 1) > 0) {
          const ssize_t n = read(fd, buf, sizeof buf);
          if (n > 0) bytes += n;
        }
      }
    };
    long long ignored = 0, received = 0;
    drain([&] { return std::chrono::steady_clock::now() >= settle; }, ignored);
    const int settled = sim.Status().counters.cycles;
    drain([&] { return sim.Status().counters.cycles > settled; }, ignored);
    const SimStatus a = sim.Status();
    drain([&] { return sim.Status().counters.cycles >= a.counters.cycles + 100; }, received);
    const SimStatus b = sim.Status();
    close(fd);
    sim.Stop();

    const double seconds = b.seconds - a.seconds;
    const double cycles = b.counters.cycles - a.counters.cycles;
    const double bits = b.bitsOnLine - a.bitsOnLine;
    const double bytes = static_cast<double>(b.bytesOnLine - a.bytesOnLine);
    // Each byte the host got took (bits / bytes) bit times at the line rate.
    const double lineSeconds = static_cast<double>(received) * (bits / bytes) / 115200.0;
    const double busySeconds = bits / 115200.0;
    state.counters["cycle_rate_error_pct"] = 100.0 * (cycles / seconds - 10.0) / 10.0;
    state.counters["line_rate_error_pct"] = 100.0 * (lineSeconds - busySeconds) / busySeconds;
    state.counters["host_bytes_per_s"] = static_cast<double>(received) / seconds;
    state.counters["line_busy_pct"] = 100.0 * busySeconds / seconds;
  }
}
BENCHMARK(BM_SimKeepsItsRate)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// A SiRF receiver at 9600 bit/s and 1 Hz (what --simulate sirf starts) with a host
// reading it, over 10 s after a settling second. Reported counters:
//   sim_cpu_ms_per_s   processor time of the simulator's thread
//   sim_wakeups_per_s  times that thread went to sleep and was woken
//   host_bytes_per_s   what the host read
void BM_SimCostAt9600(benchmark::State& state) {
  for (auto _ : state) {
    const std::set<int> before = test::ThreadIds();
    SimulatedReceiver sim(SimOptions{});
    const std::string path = sim.Start();
    int tid = 0;
    for (int t : test::ThreadIds()) {
      if (before.count(t) == 0) tid = t;
    }
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(fd, TCSANOW, &t);

    char buf[4096];
    auto drain = [&](std::chrono::milliseconds span) {
      long long bytes = 0;
      const auto until = std::chrono::steady_clock::now() + span;
      for (auto now = std::chrono::steady_clock::now(); now < until; now = std::chrono::steady_clock::now()) {
        pollfd p{fd, POLLIN, 0};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
        if (poll(&p, 1, static_cast<int>(left)) > 0) {
          const ssize_t n = read(fd, buf, sizeof buf);
          if (n > 0) bytes += n;
        }
      }
      return bytes;
    };
    drain(std::chrono::seconds(1));
    const long long cpu0 = test::ThreadCpuNanoseconds(tid);
    const long wake0 = test::VoluntarySwitches(tid);
    const long long received = drain(std::chrono::seconds(10));
    const long long cpu1 = test::ThreadCpuNanoseconds(tid);
    const long wake1 = test::VoluntarySwitches(tid);
    close(fd);
    sim.Stop();

    state.counters["sim_cpu_ms_per_s"] = static_cast<double>(cpu1 - cpu0) / 1e6 / 10.0;
    state.counters["sim_wakeups_per_s"] = static_cast<double>(wake1 - wake0) / 10.0;
    state.counters["host_bytes_per_s"] = static_cast<double>(received) / 10.0;
  }
}
BENCHMARK(BM_SimCostAt9600)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace orlimo

BENCHMARK_MAIN();
