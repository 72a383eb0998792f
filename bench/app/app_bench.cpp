// The whole program's cost: time from start to the window's first paint, and the
// CPU it uses over a stretch of time connected to a receiver that sends a burst of
// sentences once a second, with the monitor list scrolling. Run it under a display
// (xvfb-run -a build/bench/app/bench_app). Prints the figures; asserts nothing.
//
//   bench_app [--seconds N] [--baseline]
//
// --baseline measures a bare list widget appending 10 lines a second instead, for
// comparison on the same machine.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTimer>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"

using namespace orlimo;

namespace {

double CpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The sample log cut into one-second bursts, each starting at an RMC.
std::vector<std::string> LoadBursts() {
  std::ifstream in(ORLIMO_SOURCE_DIR "/data/sample-1hz.nmea");
  std::vector<std::string> bursts;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.rfind("$GPRMC", 0) == 0 || bursts.empty()) bursts.emplace_back();
    bursts.back() += line + "\r\n";
  }
  return bursts;
}

// Plays the receiver on a pty from its own thread, one burst a second.
class Feeder {
 public:
  Feeder() : bursts_(LoadBursts()) {
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::grantpt(fd_);
    ::unlockpt(fd_);
    char buf[128] = {};
    ::ptsname_r(fd_, buf, sizeof buf);
    path_ = buf;
    thread_ = std::thread([this] {
      for (std::size_t i = 0; !stop_; ++i) {
        const std::string& b = bursts_[i % bursts_.size()];
        if (::write(fd_, b.data(), b.size()) < 0) {
          // nobody has the port open yet
        }
        for (int t = 0; t < 10 && !stop_; ++t) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    });
  }
  ~Feeder() {
    stop_ = true;
    thread_.join();
    ::close(fd_);
  }
  QString Path() const { return QString::fromStdString(path_); }

 private:
  std::vector<std::string> bursts_;
  int fd_ = -1;
  std::string path_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class FirstPaint : public QObject {
 public:
  explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) {}
  qint64 ms = -1;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && ms < 0) ms = clock_.elapsed();
    return false;
  }

 private:
  const QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  QApplication app(argc, argv);
  int seconds = 60;
  bool baseline = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--seconds" && i + 1 < argc) seconds = std::atoi(argv[++i]);
    if (a == "--baseline") baseline = true;
  }

  if (baseline) {
    QListWidget list;
    list.resize(598, 310);
    list.show();
    QTimer add;
    int n = 0;
    QObject::connect(&add, &QTimer::timeout, [&] {
      list.addItem(QStringLiteral("$GPGSV,3,1,10,04,65,054,40,02,60,325,24,13,40,063,33,10,36,245,38*71 %1").arg(n++));
      list.setCurrentRow(list.count() - 1);
    });
    add.start(100);
    const double cpu0 = CpuSeconds();
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    app.exec();
    std::printf("bare list, 10 lines/s: %.2f %% of one core over %d s\n",
                100.0 * (CpuSeconds() - cpu0) / seconds, seconds);
    return 0;
  }

  Feeder feeder;
  TFrmOrlimoSetup setup;
  setup.ExtraPorts << feeder.Path();
  TFrmOrlimo window(std::move(setup));
  FirstPaint firstPaint(sinceStart);
  window.installEventFilter(&firstPaint);
  window.SelectPort(feeder.Path());
  window.show();
  while (firstPaint.ms < 0) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  std::printf("start to first paint: %lld ms\n", static_cast<long long>(firstPaint.ms));

  window.Session().TBOpenClick();
  // Let the link be recognised before measuring.
  QTimer::singleShot(3000, &app, &QApplication::quit);
  app.exec();
  const double cpu0 = CpuSeconds();
  const int lines0 = window.MonitorLineCount();
  QElapsedTimer wall;
  wall.start();
  QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
  app.exec();
  const double used = CpuSeconds() - cpu0;
  const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
  std::printf("connected at 1 Hz: %.2f %% of one core over %.0f s, %d lines added, link %s\n",
              100.0 * used / elapsed, elapsed, window.MonitorLineCount() - lines0,
              window.PanelText(3).c_str());
  return 0;
}
