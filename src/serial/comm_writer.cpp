// The writer: takes owned buffers from its queue in call order and writes each one
// completely, waiting in poll when the driver's queue is full.
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>

#include "serial/comm_workers.h"

namespace orlimo {

WriteQueue::WriteQueue() : wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

bool WriteQueue::Push(QByteArray data) {
  {
    std::lock_guard lock(mutex_);
    items_.push_back(std::move(data));
  }
  const std::uint64_t one = 1;
  // A full counter still leaves the writer woken; nothing else can fail here.
  (void)::write(wake_.get(), &one, sizeof one);
  return true;
}

std::optional<QByteArray> WriteQueue::Pop() {
  std::lock_guard lock(mutex_);
  if (items_.empty()) return std::nullopt;
  QByteArray front = std::move(items_.front());
  items_.pop_front();
  return front;
}

void WriteQueue::DrainWake() {
  std::uint64_t count = 0;
  (void)::read(wake_.get(), &count, sizeof count);
}

namespace {

bool StopSignalled(int stopFd) {
  pollfd p{stopFd, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

// Writes all of data, continuing after partial writes. False when stopped or on
// an error (a hangup request is posted for errors other than a closed descriptor).
bool WriteAll(const WriterContext& ctx, const QByteArray& data) {
  const char* pos = data.constData();
  auto left = static_cast<size_t>(data.size());
  while (left > 0) {
    const ssize_t n = ::write(ctx.fd, pos, left);
    if (n > 0) {
      pos += n;
      left -= static_cast<size_t>(n);
      continue;
    }
    const int err = n < 0 ? errno : EIO;
    if (err == EINTR) continue;
    if (err == EBADF) return false;
    if (err != EAGAIN) {
      ctx.sink->PostHangup();
      return false;
    }
    std::array<pollfd, 2> fds{{{ctx.stopFd, POLLIN, 0}, {ctx.fd, POLLOUT, 0}}};
    const int ready = ::poll(fds.data(), fds.size(), -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      ctx.sink->PostHangup();
      return false;
    }
    if (fds[0].revents != 0) return false;
    const short ev = fds[1].revents;
    if ((ev & POLLNVAL) != 0) return false;
    if ((ev & POLLOUT) == 0 && (ev & (POLLHUP | POLLERR)) != 0) {
      ctx.sink->PostHangup();
      return false;
    }
  }
  return true;
}

void WriteLoop(const std::stop_token& stop, const WriterContext& ctx) {
  bool announceEmpty = true;
  for (;;) {
    if (stop.stop_requested()) return;
    std::optional<QByteArray> item = ctx.queue->Pop();
    if (!item) {
      ctx.outputEmpty->store(true);
      if (announceEmpty) {
        ctx.sink->PostSendDataEmpty();
        announceEmpty = false;
      }
      std::array<pollfd, 2> fds{{{ctx.stopFd, POLLIN, 0}, {ctx.queue->WakeFd(), POLLIN, 0}}};
      if (::poll(fds.data(), fds.size(), -1) < 0) {
        if (errno == EINTR) continue;
        ctx.sink->PostHangup();
        return;
      }
      if (fds[0].revents != 0) return;
      ctx.queue->DrainWake();
      continue;
    }
    if (StopSignalled(ctx.stopFd)) return;
    if (!WriteAll(ctx, *item)) return;
    announceEmpty = true;
  }
}

}  // namespace

void RunWriter(std::stop_token stop, WriterContext ctx) {
  try {
    WriteLoop(stop, ctx);
  } catch (...) {
    ctx.sink->PostHangup();
  }
  (void)::tcflush(ctx.fd, TCOFLUSH);
  ctx.outputEmpty->store(true);
}

}  // namespace orlimo
