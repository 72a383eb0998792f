// Test helpers: a pseudo-terminal whose slave plays the serial port, an event loop
// to deliver the component's signals, and counters of open descriptors and threads.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>

#include "serial/unique_fd.h"

namespace orlimo::test {

inline QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "serial_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Runs the event loop until pred holds or timeoutMs passes; returns pred().
inline bool SpinUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
  App();
  QTimer tick;  // wakes the wait below regularly so the deadline is seen
  tick.start(5);
  QElapsedTimer clock;
  clock.start();
  while (!pred()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

inline int CountEntries(const char* dir) {
  int n = 0;
  if (DIR* d = ::opendir(dir)) {
    while (const dirent* e = ::readdir(d)) n += e->d_name[0] != '.';
    ::closedir(d);
  }
  return n;
}
inline int CountOpenFds() { return CountEntries("/proc/self/fd"); }
inline int CountThreads() { return CountEntries("/proc/self/task"); }

class Pty {
 public:
  Pty() {
    master_.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (master_ && ::grantpt(master_.get()) == 0 && ::unlockpt(master_.get()) == 0) {
      char buf[128] = {};
      if (::ptsname_r(master_.get(), buf, sizeof buf) == 0) slave_ = buf;
    }
  }
  bool Valid() const { return master_ && !slave_.empty(); }
  const std::string& SlavePath() const { return slave_; }
  int Master() const { return master_.get(); }
  void CloseMaster() { master_.reset(); }

  // The slave's line settings, as the master sees them.
  termios SlaveSettings() const {
    termios t{};
    ::tcgetattr(master_.get(), &t);
    return t;
  }

  bool Write(const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
      const ssize_t n = ::write(master_.get(), data.constData() + done, static_cast<size_t>(data.size() - done));
      if (n > 0) {
        done += n;
      } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        pollfd p{master_.get(), POLLOUT, 0};
        if (::poll(&p, 1, 5000) <= 0) return false;
      } else {
        return false;
      }
    }
    return true;
  }

  // Reads until `count` bytes arrived or nothing came for timeoutMs.
  // Waits `firstTimeoutMs` for the first bytes (by default as long as for the rest).
  QByteArray Read(qsizetype count, int timeoutMs = 5000, int firstTimeoutMs = -1) {
    QByteArray out;
    char buf[4096];
    while (out.size() < count) {
      pollfd p{master_.get(), POLLIN, 0};
      const int wait = out.isEmpty() && firstTimeoutMs >= 0 ? firstTimeoutMs : timeoutMs;
      if (::poll(&p, 1, wait) <= 0) break;
      const ssize_t n = ::read(master_.get(), buf, sizeof buf);
      if (n > 0) out.append(buf, n);
      else if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      else break;
    }
    return out;
  }

 private:
  UniqueFd master_;
  std::string slave_;
};

}  // namespace orlimo::test
