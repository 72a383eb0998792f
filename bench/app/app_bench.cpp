// The whole program's cost: time from start to the window's first paint, and the
// CPU it uses over a stretch of time connected to the simulated receiver sending
// once a second, with the monitor list scrolling. Run it under a display
// (xvfb-run -a build/bench/app/bench_app). Prints the figures; asserts nothing.
//
//   bench_app [--seconds N] [--baseline]
//
// --baseline measures a bare list widget appending 10 lines a second instead, for
// comparison on the same machine.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window.h"

using namespace orlimo;

namespace {

double CpuSeconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The simulated receiver in a process of its own (so its cost is not counted), at
// 9600 bit/s sending once a second; its first line of output is the port to open.
class Receiver {
 public:
  Receiver() {
    process_.setProgram(QStringLiteral(ORLIMO_GPSSIM));
    process_.setArguments({QStringLiteral("--rate"), QStringLiteral("9600")});
    process_.start();
    if (process_.waitForReadyRead(5000)) path_ = QString::fromUtf8(process_.readLine()).trimmed();
  }
  ~Receiver() {
    process_.terminate();
    process_.waitForFinished(3000);
  }
  QString Path() const { return path_; }

 private:
  QProcess process_;
  QString path_;
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

  Receiver receiver;
  if (receiver.Path().isEmpty()) {
    std::fprintf(stderr, "bench_app: the simulated receiver did not start (%s)\n", ORLIMO_GPSSIM);
    return 1;
  }
  TFrmOrlimoSetup setup;
  setup.ExtraPorts << receiver.Path();
  TFrmOrlimo window(std::move(setup));
  FirstPaint firstPaint(sinceStart);
  window.installEventFilter(&firstPaint);
  window.SelectPort(receiver.Path());
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
