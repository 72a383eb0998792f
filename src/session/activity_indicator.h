// The receive-activity light: on with the first block of a burst, off on the second
// tick of its 250 ms timer. Blocks in between do not extend it.
#pragma once

namespace orlimo {

// The timer behind the light (a QTimer in the program, a fake in tests).
class IIntervalTimer {
 public:
  virtual ~IIntervalTimer() = default;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual bool IsActive() const = 0;
};

class ISessionView;

class ActivityIndicator {
 public:
  static constexpr int kIntervalMs = 250;

  ActivityIndicator(IIntervalTimer& timer, ISessionView& view) : timer_(timer), view_(view) {}

  bool IsOn() const { return on_; }
  int Tag() const { return tag_; }

  void OnBlockReceived();  // from the receive handler
  void TmGPSDataTimer();   // the timer's tick
  void Reset();            // port closed: timer stopped, count cleared
  void SetOff() { on_ = false; }  // port opened

 private:
  IIntervalTimer& timer_;
  ISessionView& view_;
  bool on_ = false;
  int tag_ = 0;
};

}  // namespace orlimo
