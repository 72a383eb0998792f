// What the port's workers report, on its way to the thread that owns the component.
//
// A worker pushes each report under a lock; the owning thread takes them under the
// same lock, until none is left, once an eventfd that its event loop watches wakes it.
// The lock hands the chunk's bytes over and the eventfd orders the wake-up, both in
// ways ThreadSanitizer sees; a worker never calls into Qt, whose own locks it cannot.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace orlimo {

struct CommReport {
  enum class Kind : std::uint8_t { Received, ReceiveError, ModemStateChange, Hangup, SendDataEmpty };
  Kind kind = Kind::Hangup;
  QByteArray chunk;        // Received: the bytes
  std::uint32_t word = 0;  // Received: the line generation they were read at; the error or modem bits
};

class CommReportQueue {
 public:
  // Appends; true when the queue was empty, so the caller wakes the owner (one
  // wake-up serves every report that joins before the owner takes them).
  bool Push(CommReport report);
  // The oldest report, or nothing when the queue is empty; `more` says whether others
  // wait behind it. One at a time, so that a receiver of a signal that runs an event
  // loop of its own (and so empties the queue further) never sees a later report
  // before an earlier one.
  std::optional<CommReport> Pop(bool& more);

 private:
  std::mutex mutex_;
  std::deque<CommReport> items_;
};

}  // namespace orlimo
