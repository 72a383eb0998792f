// What the simulated receiver's thread costs, counted in wake-ups: it sleeps between
// bursts and hands its bytes to the host in batches.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "sim/simulated_receiver.h"
#include "thread_counters.h"

namespace orlimo {
namespace {

TEST(SimWakeups, AReceiverWakesFarLessOftenThanItSendsBytes) {
  SimOptions o;  // SiRF at 9600 bit/s, 1 Hz: what --simulate sirf starts
  o.ttffStart = 0;
  SimulatedReceiver sim(o);
  const std::string path = sim.Start();
  ASSERT_FALSE(path.empty()) << sim.Error();
  const int host = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(host, 0);
  termios t{};
  tcgetattr(host, &t);
  cfmakeraw(&t);
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  tcsetattr(host, TCSANOW, &t);
  long long received = 0;
  auto readUntil = [&](const std::function<bool()>& done) {  // at most 5 s of the receiver's clock
    for (const double end = sim.Status().seconds + 5; !done();) {
      if (sim.Status().seconds > end) return false;
      pollfd p{host, POLLIN, 0};
      char buf[4096];
      if (poll(&p, 1, 10) > 0) received += std::max<ssize_t>(read(host, buf, sizeof buf), 0);
    }
    return true;
  };
  int thread = 0;
  ASSERT_TRUE(readUntil([&] { return (thread = test::FindThread("sim-receiver")) != 0; }));
  const int first = sim.Status().counters.cycles + 1;
  ASSERT_TRUE(readUntil([&] { return sim.Status().counters.cycles >= first; }));
  const long wakes = test::VoluntarySwitches(thread);
  const long long bytes = received;
  ASSERT_TRUE(readUntil([&] { return sim.Status().counters.cycles >= first + 2; }));
  // Polling every millisecond in a burst took about a wake-up per byte; a batch
  // every 8 ms takes one per 8 bytes.
  EXPECT_LT((test::VoluntarySwitches(thread) - wakes) * 4, received - bytes);
  close(host);
}

}  // namespace
}  // namespace orlimo
