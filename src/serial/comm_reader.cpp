// The reader: waits in poll for bytes or the stop signal, gathers a chunk until the
// line has been quiet for the interval timeout (or 2048 bytes, or the total
// timeout), and posts each chunk as an owned QByteArray. While a chunk is being
// gathered it looks at the port once an interval instead of waking per byte.
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>

#include "serial/comm_types.h"
#include "serial/comm_workers.h"

namespace orlimo {
namespace {

using Clock = std::chrono::steady_clock;

// Line errors and modem events from the driver's interrupt counters. Drivers
// without counters (ptys, many USB adapters) are skipped quietly. The counters are
// looked at whenever bytes arrive, so a carrier or ring change on a silent line is
// seen with the next bytes.
class LineEventWatch {
 public:
  explicit LineEventWatch(int fd) : fd_(fd) { supported_ = ::ioctl(fd_, TIOCGICOUNT, &last_) == 0; }

  void Check(CommEventSink& sink) {
    if (!supported_) return;
    serial_icounter_struct now{};
    if (::ioctl(fd_, TIOCGICOUNT, &now) != 0) return;
    std::uint32_t errors = 0;
    if (now.buf_overrun != last_.buf_overrun) errors |= 0x0001;  // input queue overflow
    if (now.overrun != last_.overrun) errors |= 0x0002;          // hardware overrun
    if (now.parity != last_.parity) errors |= 0x0004;
    if (now.frame != last_.frame) errors |= 0x0008;
    if (now.brk != last_.brk) errors |= 0x0010;
    std::uint32_t modem = 0;
    if (now.dcd != last_.dcd) modem |= 8;
    if (now.rng != last_.rng) modem |= 4;
    last_ = now;
    if (errors != 0) sink.PostReceiveError(errors);
    if (modem != 0) sink.PostModemStateChange(modem);
  }

 private:
  int fd_;
  bool supported_ = false;
  serial_icounter_struct last_{};
};

int MillisUntil(Clock::time_point deadline) {
  const auto left = deadline - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

// How long the reader sleeps without watching the port while bytes keep coming.
// Watching wakes it for every byte a slow line brings (a pty or a UART hands them
// over one or two at a time), and a receiver that writes its cycle in pieces would
// make a chunk of each piece. Instead, like a UART's receive time-out, it sleeps a
// whole interval, takes all that came, and ends the chunk at the first look that
// finds nothing: the line was then quiet for an interval. Pieces less than an
// interval apart join one chunk; the last byte waits at most a second interval.
// Intervals below 2 ms keep watching byte by byte; long ones are looked at every
// 50 ms, so the deadline still comes within a look of its time.
constexpr std::uint32_t kMaxLookMs = 50;

std::uint32_t LookPeriodMs(std::uint32_t interval) { return interval < 2 ? 0 : std::min(interval, kMaxLookMs); }

// The looks need no finer timing than an eighth of their period. A sleep allowed to end
// that much late is woken together with other work instead of by a timer of its own,
// which on a virtual machine cuts the reader's cost by a quarter. Byte-by-byte watching
// keeps the kernel's default.
class LookSlack {
 public:
  void Follow(std::uint32_t interval) {
    const std::uint32_t look = LookPeriodMs(interval);
    if (look == look_) return;
    look_ = look;
    (void)::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(look) * 1'000'000UL / 8, 0, 0, 0);  // 0: the default
  }

 private:
  std::uint32_t look_ = 0;
};

void ReadLoop(const std::stop_token& stop, const ReaderContext& ctx) {
  CommEventSink& sink = *ctx.sink;
  LineEventWatch lineEvents(ctx.fd);
  LookSlack slack;
  std::array<char, kReadChunkMax> buf{};
  int have = 0;
  Clock::time_point chunkEnd{};  // the earlier of the quiet deadline and the total deadline
  Clock::time_point totalEnd{};
  bool totalLimited = false;
  // Bytes are coming: sleep and look rather than watch. Only set while a chunk is
  // being gathered, so an idle port blocks in poll without a timeout.
  bool looking = false;

  std::uint32_t chunkGeneration = ctx.timeouts->lineGeneration.load(std::memory_order_acquire);
  auto deliver = [&] {
    if (have > 0) sink.PostReceived(QByteArray(buf.data(), have), chunkGeneration);
    have = 0;
    looking = false;
  };

  for (;;) {
    if (stop.stop_requested()) return;
    int timeout = -1;
    if (have > 0) {
      timeout = MillisUntil(chunkEnd);
      if (timeout == 0 && !looking) {
        deliver();
        continue;
      }
    }

    short portEvents = 0;
    const bool watched = !looking || have == 0;
    if (watched) {
      std::array<pollfd, 2> fds{{{ctx.stopFd, POLLIN, 0}, {ctx.fd, POLLIN, 0}}};
      const int ready = ::poll(fds.data(), fds.size(), timeout);
      if (ready < 0) {
        if (errno == EINTR) continue;
        sink.PostHangup();
        return;
      }
      if (fds[0].revents != 0) return;  // stopped: a half-gathered chunk goes with the purge
      if (ready == 0) continue;         // the quiet deadline passed; delivered above
      portEvents = fds[1].revents;
      if ((portEvents & POLLNVAL) != 0) return;  // descriptor closed under us
    } else {
      const std::uint32_t interval = ctx.timeouts->interval.load(std::memory_order_relaxed);
      pollfd stopped{ctx.stopFd, POLLIN, 0};
      const int ready = ::poll(&stopped, 1, std::min(timeout, static_cast<int>(LookPeriodMs(interval))));
      if (ready < 0 && errno != EINTR) {
        sink.PostHangup();
        return;
      }
      if (ready > 0) return;  // stopped
    }

    // The line settings changed since this chunk began (a new rate during baud
    // detection): what was gathered so far goes out on its own, first.
    const std::uint32_t generation = ctx.timeouts->lineGeneration.load(std::memory_order_acquire);
    if (generation != chunkGeneration) {
      deliver();
      chunkGeneration = generation;
    }
    const auto readAt = Clock::now();
    const int room = kReadChunkMax - have;
    const ssize_t n = ::read(ctx.fd, buf.data() + have, static_cast<size_t>(room));
    if (n > 0) {
      if (have == 0) {
        const std::uint64_t total =
            std::uint64_t{ctx.timeouts->totalMultiplier.load(std::memory_order_relaxed)} * kReadChunkMax +
            ctx.timeouts->totalConstant.load(std::memory_order_relaxed);
        totalLimited = total != 0;
        totalEnd = readAt + std::chrono::milliseconds(total);
      }
      have += static_cast<int>(n);
      std::uint32_t interval = ctx.timeouts->interval.load(std::memory_order_relaxed);
      if (interval == UINT32_MAX) interval = 0;  // "return at once with what is there"
      slack.Follow(interval);
      // The line is quiet once an interval after this read finds nothing new.
      chunkEnd = readAt + std::chrono::milliseconds(interval);
      if (totalLimited && totalEnd < chunkEnd) chunkEnd = totalEnd;
      lineEvents.Check(sink);
      if (have == kReadChunkMax) {
        deliver();
      } else {  // less than asked for: the port is empty up to readAt
        looking = LookPeriodMs(interval) > 0;
      }
      continue;
    }
    if (n == 0) {
      // End of file. A terminal that was hung up (the device was unplugged, the
      // other end of a pty closed) also reads as end of file, but polls POLLHUP:
      // that is a vanished device and asks for a hangup. Plain end of file ends the
      // reader without a word.
      if (!watched) {
        pollfd port{ctx.fd, POLLIN, 0};
        if (::poll(&port, 1, 0) > 0) portEvents = port.revents;
      }
      deliver();
      if ((portEvents & (POLLHUP | POLLERR)) != 0) sink.PostHangup();
      return;
    }
    const int err = errno;
    if (err == EINTR) continue;
    if (err == EAGAIN) {
      // Nothing came since the last look: watch the port for the rest of the
      // interval (which also sees a hangup), or deliver if it is over.
      if (!watched) {
        looking = false;
        continue;
      }
      if ((portEvents & (POLLHUP | POLLERR)) == 0) continue;
      deliver();  // hung up with nothing left to read
      sink.PostHangup();
      return;
    }
    deliver();
    if (err != EBADF) sink.PostHangup();  // EIO, ENXIO: the device is gone
    return;
  }
}

}  // namespace

void RunReader(std::stop_token stop, ReaderContext ctx) {
  (void)::pthread_setname_np(::pthread_self(), "comm-reader");  // for top -H and per-thread counts
  try {
    ReadLoop(stop, ctx);
  } catch (...) {  // out of memory for a chunk
    ctx.sink->PostHangup();
  }
  (void)::tcflush(ctx.fd, TCIFLUSH);
}

}  // namespace orlimo
