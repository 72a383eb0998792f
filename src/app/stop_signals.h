// SIGTERM, SIGHUP and SIGINT end the program through its event loop, as a close
// would, instead of killing it: the handler only writes a byte to a pipe, which a
// socket notifier reads in the event loop. A second signal of the same kind kills as
// usual, so a close that hangs can still be ended.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace orlimo {

class TStopSignals : public QObject {
 public:
  // Catches the signals from now on; `onStop` runs in the event loop for each one.
  // Only one may exist at a time (the handler's pipe is the process's).
  explicit TStopSignals(std::function<void()> onStop, QObject* parent = nullptr);
  // The signals kill as usual again.
  ~TStopSignals() override;

  // False when the pipe could not be made: the signals then kill as usual.
  bool Active() const { return notifier_ != nullptr; }

 private:
  std::function<void()> onStop_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace orlimo
