// The reader and writer that run for an open port, and what they share with the
// component. Each worker gets the port descriptor and the stop descriptor (an
// eventfd that CloseComm signals) before it starts; both stay valid until the
// component has joined the worker. All waiting is done in poll on the port and the
// stop descriptor, so an idle port costs no CPU and a stop is seen at once.
#pragma once

#include <QByteArray>

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <stop_token>

#include "serial/unique_fd.h"

namespace orlimo {

// Where the workers report. Implementations hand each call over to the thread that
// owns the component; calls from one worker arrive there in the order made.
class CommEventSink {
 public:
  virtual ~CommEventSink() = default;
  // A chunk, with the line generation (SharedReadTimeouts) it was read at.
  virtual void PostReceived(QByteArray chunk, std::uint32_t lineGeneration) = 0;
  virtual void PostReceiveError(std::uint32_t errorWord) = 0;
  virtual void PostModemStateChange(std::uint32_t modemBits) = 0;
  virtual void PostHangup() = 0;
  virtual void PostSendDataEmpty() = 0;
};

// The read timeouts as the reader sees them; the component may change them while
// the reader runs.
struct SharedReadTimeouts {
  std::atomic<std::uint32_t> interval{100};
  std::atomic<std::uint32_t> totalMultiplier{0};
  std::atomic<std::uint32_t> totalConstant{0};
  // Counts line-setting changes and discards of received bytes on the open port:
  // bytes read before a change (at the old rate, say) never share a chunk with bytes
  // read after it, and each chunk says which generation it was read at.
  std::atomic<std::uint32_t> lineGeneration{0};
};

// The writer's queue of owned buffers, in call order. Push wakes the writer
// through an eventfd that the writer polls next to the stop descriptor.
class WriteQueue {
 public:
  WriteQueue();
  bool Valid() const { return static_cast<bool>(wake_); }
  bool Push(QByteArray data);
  std::optional<QByteArray> Pop();
  int WakeFd() const { return wake_.get(); }
  void DrainWake();

 private:
  std::mutex mutex_;
  std::deque<QByteArray> items_;
  UniqueFd wake_;
};

struct ReaderContext {
  int fd = -1;
  int stopFd = -1;
  const SharedReadTimeouts* timeouts = nullptr;
  CommEventSink* sink = nullptr;
};

struct WriterContext {
  int fd = -1;
  int stopFd = -1;
  WriteQueue* queue = nullptr;
  std::atomic<bool>* outputEmpty = nullptr;
  CommEventSink* sink = nullptr;
};

// Gathers received bytes into chunks and posts them. While bytes keep coming it
// sleeps half the interval (20 ms at most) between reads instead of waking for each
// one, and dates what a read finds to the read before: a chunk ends within the
// interval of its last byte, and a pause shorter than the interval by less than that
// sleep may end one too. Ends on the stop signal, quietly on a plain end of file or
// a closed descriptor, and with a hangup request when the device vanished (a hung-up
// terminal: end of file with POLLHUP, EIO, ENXIO, POLLERR) or an unexpected error
// occurred. Bytes already gathered are delivered before it ends, except on the stop
// signal. Flushes the input queue on leaving.
void RunReader(std::stop_token stop, ReaderContext ctx);

// Writes queued buffers in order, each completely, and announces an empty queue
// once after start and after each completed write. Ends on the stop signal, quietly
// on a closed descriptor, and with a hangup request on any other error. Flushes the
// output queue and sets outputEmpty on leaving.
void RunWriter(std::stop_token stop, WriterContext ctx);

}  // namespace orlimo
