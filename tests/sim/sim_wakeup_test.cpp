// What the simulated receiver's thread costs, counted in wake-ups: it sleeps between
// bursts and hands its bytes over in batches, and a silent one sleeps until the host
// writes.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "sim/simulated_receiver.h"
#include "thread_counters.h"

namespace orlimo {
namespace {

class SimWakeups : public ::testing::Test {
 protected:
  // Starts the receiver, opens its port raw at 9600 bit/s and waits until the
  // receiver has seen the host and sleeps.
  void Start(SimOptions o) {
    sim = std::make_unique<SimulatedReceiver>(o);
    const std::string path = sim->Start();
    ASSERT_FALSE(path.empty()) << sim->Error();
    host = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(host, 0);
    termios t{};
    tcgetattr(host, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(host, TCSANOW, &t);
    ASSERT_TRUE(ReadUntil([&] {
      thread = test::FindThread("sim-receiver");
      return thread != 0 && sim->Status().hostOpen && test::ThreadSleeping(thread);
    }));
  }
  void TearDown() override {
    if (host >= 0) close(host);
  }
  // Reads what the receiver sends until `done` (at most 5 s of its clock).
  bool ReadUntil(const std::function<bool()>& done) {
    const double end = sim->Status().seconds + 5;
    while (!done()) {
      if (sim->Status().seconds > end) return false;
      pollfd p{host, POLLIN, 0};
      char buf[4096];
      if (poll(&p, 1, 10) > 0) received += std::max<ssize_t>(read(host, buf, sizeof buf), 0);
    }
    return true;
  }
  std::unique_ptr<SimulatedReceiver> sim;
  int host = -1;
  int thread = 0;
  long long received = 0;
};

TEST_F(SimWakeups, AReceiverWakesFarLessOftenThanItSendsBytes) {
  SimOptions o;  // SiRF at 9600 bit/s, 1 Hz: --simulate sirf
  o.ttffStart = 0;
  Start(o);
  const int first = sim->Status().counters.cycles + 1;
  ASSERT_TRUE(ReadUntil([&] { return sim->Status().counters.cycles >= first; }));
  const long wakes = test::VoluntarySwitches(thread);
  const long long bytes = received;
  ASSERT_TRUE(ReadUntil([&] { return sim->Status().counters.cycles >= first + 2; }));
  // Polling every millisecond in a burst took about a wake-up per byte; a batch
  // every 8 ms takes one per 8 bytes.
  EXPECT_LT((test::VoluntarySwitches(thread) - wakes) * 4, received - bytes);
}

TEST_F(SimWakeups, ASilentReceiverSleepsUntilTheHostWrites) {
  SimOptions o;
  o.personality = SimPersonality::Silent;
  Start(o);
  const long wakes = test::VoluntarySwitches(thread);
  const double from = sim->Status().seconds;
  ReadUntil([&] { return sim->Status().seconds > from + 0.5; });
  EXPECT_LE(test::VoluntarySwitches(thread) - wakes, 1);  // its status is refreshed once a second

  ASSERT_EQ(write(host, "$PQXC,201*05\r\n", 14), 14);
  ASSERT_TRUE(ReadUntil([&] { return sim->Status().counters.commands == 1; }));
  EXPECT_EQ(received, 0);
}

}  // namespace
}  // namespace orlimo
