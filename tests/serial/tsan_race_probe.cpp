// A deliberate data race, built for the ThreadSanitizer build only: one thread fills
// a QByteArray, then another appends to it, with nothing between them that orders the
// two (a relaxed flag only keeps them apart in time, so nothing is corrupted). The
// check that runs it passes when ThreadSanitizer reports the race with the project's
// suppressions in force: a suppression broad enough to hide races on our own data
// fails it.
#include <QByteArray>

#include <atomic>
#include <cstdio>
#include <thread>

int main() {
  QByteArray shared;
  std::atomic<bool> filled{false};
  std::thread first([&] {
    for (int i = 0; i < 64; ++i) shared.append("filled by the first thread ");
    std::atomic_signal_fence(std::memory_order_seq_cst);
    filled.store(true, std::memory_order_relaxed);
  });
  std::thread second([&] {
    while (!filled.load(std::memory_order_relaxed)) std::this_thread::yield();
    std::atomic_signal_fence(std::memory_order_seq_cst);
    for (int i = 0; i < 4096; ++i) shared.append("grown by the second thread ");
  });
  first.join();
  second.join();
  std::printf("%lld bytes\n", static_cast<long long>(shared.size()));
  return 0;
}
