#include "sim/simulated_receiver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>

#include "sim/replay.h"
#include "sim/termios_rate.h"
#include "sim/uart_model.h"

namespace orlimo {
namespace {


struct PendingByte {
  std::uint8_t byte;
  int gap;  // sixteenths of a bit
};

}  // namespace

SimulatedReceiver::SimulatedReceiver(SimOptions options) : options_(std::move(options)) {}

SimulatedReceiver::~SimulatedReceiver() { Stop(); }

std::string SimulatedReceiver::Start() {
  std::lock_guard lock(mu_);
  if (status_.running) return path_;
  std::vector<std::string> replay;
  if (!options_.replayFile.empty()) {
    auto cycles = LoadReplay(options_.replayFile);
    if (!cycles) {
      error_ = "cannot read replay file " + options_.replayFile;
      return {};
    }
    replay = std::move(*cycles);
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
  thread_ = std::jthread([this, core](std::stop_token st) { Run(st, *core); });
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
  return status_;
}

void SimulatedReceiver::Run(std::stop_token stop, ReceiverCore& core) {
  using Clock = std::chrono::steady_clock;
  const auto epoch = Clock::now();
  auto ticksNow = [&] {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - epoch).count();
    return static_cast<UartTick>(static_cast<__int128>(ns) * kUartTicksPerSecond / 1000000000);
  };
  UartGapSource gaps(options_.seed);

  int hostRate = options_.rate;
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
    if (hostOpen && (probe.revents & POLLIN) != 0) {
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n > 0) {
        const std::string_view chunk(buf, static_cast<std::size_t>(n));
        core.Receive(hostRate == core.Rate() ? std::string(chunk)
                                             : SampleAtRate(chunk, hostRate, core.Rate()),
                     nowSec);
      }
    }

    // New output joins the queue; the line clocks out every byte whose time has come.
    for (char c : core.Due(nowSec)) pending.push_back({static_cast<std::uint8_t>(c), gaps.NextSixteenths()});
    if (pending.empty() && lineFree < now) lineFree = now;
    while (!pending.empty() && lineFree <= now) {
      const PendingByte b = pending.front();
      pending.pop_front();
      lineFree = toHost.Send(b.byte, core.Rate(), lineFree, b.gap);
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
      status_.rate = core.Rate();
      status_.hostRate = hostOpen ? hostRate : 0;
      status_.mode = core.Mode();
      status_.hasFix = core.HasFix(nowSec);
      status_.tricklePower = core.TricklePower();
      status_.counters = core.Counters();
      status_.bytesOnLine = bytesOnLine;
      status_.bitsOnLine = bitsOnLine;
      status_.bytesToHost = bytesToHost;
      status_.seconds = nowSec;
    }

    // Sleep a millisecond while bytes are on their way, a little longer when idle.
    pollfd fds[2] = {{wake_, POLLIN, 0}, {master_, POLLIN, 0}};
    poll(fds, hostOpen ? 2 : 1, pending.empty() ? 4 : 1);
  }
}

}  // namespace orlimo
