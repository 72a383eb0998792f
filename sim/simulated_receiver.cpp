#include "sim/simulated_receiver.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <deque>
#include <memory>

#include "sim/replay_stream.h"
#include "sim/termios_rate.h"
#include "sim/uart_model.h"

namespace orlimo {
namespace {

// The line hands the host its bytes in batches, as a UART's receive FIFO and its
// driver do (eight bytes take 8 ms at 9600 bit/s): waking for every byte was most of
// what a simulated connection cost, and no host reads faster than that anyway.
constexpr UartTick kBatchTicks = kUartTicksPerSecond * 8 / 1000;
// A closed port reports a hangup until the host opens it, so the opening cannot be
// waited for in poll: it is looked for this often.
constexpr UartTick kClosedCheckTicks = kUartTicksPerSecond * 20 / 1000;
// The status (fix, host, rate) is never older than this, even from a silent receiver.
constexpr UartTick kMaxSleepTicks = kUartTicksPerSecond;
// The core said something was due but had nothing: ask again after this long.
constexpr UartTick kCoreRecheckTicks = kUartTicksPerSecond * 4 / 1000;

struct PendingByte {
  std::uint8_t byte;
  int gap;            // sixteenths of a bit
  int rateAfter = 0;  // the line's rate from the next byte on, or 0: unchanged
};

}  // namespace

SimulatedReceiver::SimulatedReceiver(SimOptions options) : options_(std::move(options)) {}

SimulatedReceiver::~SimulatedReceiver() { Stop(); }

std::string SimulatedReceiver::Start() {
  std::lock_guard lock(mu_);
  if (status_.running) return path_;
  std::unique_ptr<ReplaySource> replay;
  if (!options_.replayFile.empty()) {
    // Streamed: the receiver's thread reads the capture as it plays it.
    std::string why;
    replay = ReplayStream::Open(options_.replayFile, why);
    if (!replay) {
      error_ = "cannot read replay file " + options_.replayFile;
      return {};
    }
  }
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error_ = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    if (master_ >= 0) close(master_);
    master_ = -1;
    return {};
  }
  char name[128] = {};
  if (ptsname_r(master_, name, sizeof name) != 0) {
    error_ = "cannot name the pseudo-terminal";
    close(master_);
    master_ = -1;
    return {};
  }
  path_ = name;
  // Leave the port raw at the receiver's rate, so that a host that does not set the
  // line up gets neither echo nor line editing.
  const int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave >= 0) {
    termios t{};
    if (tcgetattr(slave, &t) == 0) {
      cfmakeraw(&t);
      t.c_cflag |= CLOCAL | CREAD;
      cfsetispeed(&t, SpeedOfRate(options_.rate));
      cfsetospeed(&t, SpeedOfRate(options_.rate));
      tcsetattr(slave, TCSANOW, &t);
    }
    close(slave);
  }
  wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  status_ = SimStatus{};
  status_.running = true;
  status_.rate = options_.rate;
  const auto utc = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();
  auto core = std::make_shared<ReceiverCore>(options_, utc, std::move(replay));
  epoch_ = SimClock::now();
  thread_ = std::jthread([this, core, epoch = epoch_](std::stop_token st) { Run(st, *core, epoch); });
  return path_;
}

void SimulatedReceiver::Stop() {
  if (thread_.joinable()) {
    thread_.request_stop();
    if (wake_ >= 0) {
      const std::uint64_t one = 1;
      [[maybe_unused]] const auto n = write(wake_, &one, sizeof one);
    }
    thread_.join();
  }
  std::lock_guard lock(mu_);
  status_.running = false;
  if (master_ >= 0) close(master_);
  if (wake_ >= 0) close(wake_);
  master_ = wake_ = -1;
}

std::string SimulatedReceiver::PortPath() const {
  std::lock_guard lock(mu_);
  return path_;
}

std::string SimulatedReceiver::Error() const {
  std::lock_guard lock(mu_);
  return error_;
}

SimStatus SimulatedReceiver::Status() const {
  std::lock_guard lock(mu_);
  SimStatus s = status_;
  // The receiver sleeps between bursts; its clock does not.
  if (s.running) s.seconds = std::chrono::duration<double>(SimClock::now() - epoch_).count();
  return s;
}

void SimulatedReceiver::Run(std::stop_token stop, ReceiverCore& core, SimClock::time_point epoch) {
  (void)pthread_setname_np(pthread_self(), "sim-receiver");  // for top -H and per-thread CPU figures
  auto ticksNow = [&] {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(SimClock::now() - epoch).count();
    return static_cast<UartTick>(static_cast<__int128>(ns) * kUartTicksPerSecond / 1000000000);
  };
  UartGapSource gaps(options_.seed);

  int hostRate = options_.rate;
  int lineRate = options_.rate;  // the receiver's UART now, which may lag core.Rate()
  UartLine toHost(hostRate);
  std::deque<PendingByte> pending;
  UartTick lineFree = 0;
  long long bytesOnLine = 0, bytesToHost = 0;
  double bitsOnLine = 0;
  bool hostOpen = false;
  std::string fromHost, toHostBytes;
  char buf[4096];

  while (!stop.stop_requested()) {
    // Is the host there, and did it send anything?
    pollfd probe{master_, POLLIN, 0};
    poll(&probe, 1, 0);
    hostOpen = (probe.revents & POLLHUP) == 0;
    if (hostOpen) {
      termios t{};
      if (tcgetattr(master_, &t) == 0) {
        const int r = RateOfSpeed(cfgetispeed(&t));
        if (r != 0 && r != hostRate) {
          hostRate = r;
          toHost.SetListenRate(r, ticksNow());
        }
      }
    }
    const UartTick now = ticksNow();
    const double nowSec = static_cast<double>(now) / kUartTicksPerSecond;
    bool heard = false;
    if (hostOpen && (probe.revents & POLLIN) != 0) {
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n > 0) {
        const std::string_view chunk(buf, static_cast<std::size_t>(n));
        const int rateBefore = core.Rate();
        core.Receive(hostRate == lineRate ? std::string(chunk) : SampleAtRate(chunk, hostRate, lineRate), nowSec);
        if (core.Rate() != rateBefore) {  // changed at once: the bytes still waiting too
          lineRate = core.Rate();
          for (PendingByte& b : pending) b.rateAfter = 0;
        }
        heard = true;
      }
    }

    // New output joins the queue (on an idle line its first byte starts now); the line
    // clocks out every byte whose time has come.
    if (pending.empty() && lineFree < now) lineFree = now;
    const int rateBefore = core.Rate();
    const std::string due = core.Due(nowSec);
    for (char c : due) pending.push_back({static_cast<std::uint8_t>(c), gaps.NextSixteenths()});
    if (core.Rate() != rateBefore) {  // changed once what it had acknowledged was handed out
      if (pending.empty()) {
        lineRate = core.Rate();
      } else {
        pending.back().rateAfter = core.Rate();
      }
    }
    while (!pending.empty() && lineFree <= now) {
      const PendingByte b = pending.front();
      pending.pop_front();
      lineFree = toHost.Send(b.byte, lineRate, lineFree, b.gap);
      if (b.rateAfter != 0) lineRate = b.rateAfter;
      ++bytesOnLine;
      bitsOnLine += 10.0 + b.gap / 16.0;
    }
    toHostBytes.clear();
    toHost.Advance(now, toHostBytes);
    if (hostOpen && !toHostBytes.empty()) {
      const ssize_t n = write(master_, toHostBytes.data(), toHostBytes.size());
      if (n > 0) bytesToHost += n;  // a full buffer loses bytes, as an overrun would
    }

    {
      std::lock_guard lock(mu_);
      status_.hostOpen = hostOpen;
      status_.rate = lineRate;
      status_.hostRate = hostOpen ? hostRate : 0;
      status_.mode = core.Mode();
      status_.hasFix = core.HasFix(nowSec);
      status_.tricklePower = core.TricklePower();
      // The counters keep the last commands received: copied only when they can
      // have changed.
      if (heard || !due.empty() || core.Counters().cycles != status_.counters.cycles) {
        status_.counters = core.Counters();
      }
      status_.bytesOnLine = bytesOnLine;
      status_.bitsOnLine = bitsOnLine;
      status_.bytesToHost = bytesToHost;
      status_.seconds = nowSec;
    }

    // Sleep until something is due: the core's next output, the next batch of bytes
    // for the host, or (waking the poll) a write from the host or Stop().
    UartTick wakeAt = now + kMaxSleepTicks;
    const double coreDue = core.NextDue();
    if (coreDue * kUartTicksPerSecond < static_cast<double>(wakeAt)) {
      UartTick coreAt = static_cast<UartTick>(std::ceil(coreDue * kUartTicksPerSecond));
      if (coreAt <= now) coreAt = now + kCoreRecheckTicks;  // it had nothing after all: do not spin
      wakeAt = std::min(wakeAt, coreAt);
    }
    UartTick nextByte = toHost.NextByteAt();
    if (!pending.empty()) nextByte = std::min(nextByte, lineFree);
    if (nextByte != kUartNever) wakeAt = std::min(wakeAt, std::max(nextByte, now + kBatchTicks));
    if (!hostOpen) wakeAt = std::min(wakeAt, now + kClosedCheckTicks);
    const UartTick left = std::max<UartTick>(wakeAt - ticksNow(), 0);
    const auto ns = static_cast<long long>(static_cast<__int128>(left) * 1000000000 / kUartTicksPerSecond) + 1;
    const timespec timeout{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    pollfd fds[2] = {{wake_, POLLIN, 0}, {master_, POLLIN, 0}};
    ppoll(fds, hostOpen ? 2 : 1, &timeout, nullptr);
  }
}

}  // namespace orlimo
