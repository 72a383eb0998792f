#include "app/stop_signals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace orlimo {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The handler's only state: the pipe it writes to.
int gStopPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
  const char byte = 0;
  if (::write(gStopPipe[1], &byte, 1) < 0) {}  // full: a stop is already waiting
}

void SetHandler(void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  for (int s : kStopSignals) ::sigaction(s, &action, nullptr);
}

}  // namespace

TStopSignals::TStopSignals(std::function<void()> onStop, QObject* parent)
    : QObject(parent), onStop_(std::move(onStop)) {
  if (::pipe2(gStopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(gStopPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char byte;
    while (::read(gStopPipe[0], &byte, 1) > 0) {}
    onStop_();
  });
  SetHandler(OnStopSignal, SA_RESETHAND);
}

TStopSignals::~TStopSignals() {
  if (notifier_ == nullptr) return;
  SetHandler(SIG_DFL, 0);
  delete notifier_;
  ::close(gStopPipe[0]);
  ::close(gStopPipe[1]);
  gStopPipe[0] = gStopPipe[1] = -1;
}

}  // namespace orlimo
