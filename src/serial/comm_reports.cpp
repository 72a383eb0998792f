#include "serial/comm_reports.h"

#include <utility>

namespace orlimo {

bool CommReportQueue::Push(CommReport report) {
  std::lock_guard lock(mutex_);
  const bool wasEmpty = items_.empty();
  items_.push_back(std::move(report));
  return wasEmpty;
}

std::optional<CommReport> CommReportQueue::Pop(bool& more) {
  std::lock_guard lock(mutex_);
  more = false;
  if (items_.empty()) return std::nullopt;
  CommReport front = std::move(items_.front());
  items_.pop_front();
  more = !items_.empty();
  return front;
}

}  // namespace orlimo
