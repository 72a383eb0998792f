// Timers of the session: a QTimer in the program, or one that only keeps its state
// when a test (or a script) drives the ticks itself.
#pragma once

#include <QTimer>

#include <functional>

#include "session/activity_indicator.h"

namespace orlimo {

class QtIntervalTimer : public IIntervalTimer {
 public:
  QtIntervalTimer(int intervalMs, std::function<void()> onTick) {
    timer_.setInterval(intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
  }
  void Start() override { timer_.start(); }
  void Stop() override { timer_.stop(); }
  bool IsActive() const override { return timer_.isActive(); }
  void SetInterval(int ms) { timer_.setInterval(ms); }

 private:
  QTimer timer_;
};

class ManualTimer : public IIntervalTimer {
 public:
  void Start() override { active_ = true; }
  void Stop() override { active_ = false; }
  bool IsActive() const override { return active_; }

 private:
  bool active_ = false;
};

}  // namespace orlimo
