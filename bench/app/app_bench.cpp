// The whole program's cost with its window visible and painting, against a bare list
// widget doing the monitor list's share of the work the way a plain list would: the
// same lines at the same rate, one batch a second, uniform item sizes, trimmed like
// the window's list. Both are measured in the same run and their ratio printed; the
// paint events of each stretch are counted to show that they painted. It also times
// the start of the program to its window's first paint, from the process's start.
// Run it under a display:
//
//   xvfb-run -a build/bench/app/bench_app [--seconds N] [--rate BPS] [--hz N]
//
// N seconds each (default 60), the simulated receiver at BPS bit/s (default 115200)
// sending N times a second (default 10). Prints the figures; fails only when a window
// did not paint or the receiver did not start.
#include <QApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/fonts.h"
#include "app/main_window.h"
#include "app/monitor_list.h"
#include "session/receive_pipeline.h"

using namespace orlimo;

namespace {

constexpr const char* kFirstPaintChild = "--first-paint-child";

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// CPU seconds of the process (every thread) and of the calling thread alone.
struct Cpu {
  double process = 0;
  double thread = 0;
  static Cpu Now() {
    rusage all{}, own{};
    ::getrusage(RUSAGE_SELF, &all);
    ::getrusage(RUSAGE_THREAD, &own);
    return {Seconds(all.ru_utime) + Seconds(all.ru_stime), Seconds(own.ru_utime) + Seconds(own.ru_stime)};
  }
};

long long MonotonicNs() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Runs the event loop for a while. Not QApplication::quit(): Qt 6 closes every window
// with it, and a stretch measured after it paints nothing.
void RunFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Paint events anywhere in the application, and those of one widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(const QObject* watched) : watched_(watched) { qApp->installEventFilter(this); }
  ~PaintCounter() override { qApp->removeEventFilter(this); }
  long long all = 0;
  long long watched = 0;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      ++all;
      watched += o == watched_;
    }
    return false;
  }

 private:
  const QObject* watched_;
};

// The simulated receiver in a process of its own (so its cost is not counted); its
// first line of output is the port to open.
class Receiver {
 public:
  Receiver(int rate, int hz) {
    process_.setProgram(QStringLiteral(ORLIMO_GPSSIM));
    process_.setArguments({QStringLiteral("--rate"), QString::number(rate), QStringLiteral("--hz"), QString::number(hz)});
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

struct Stretch {
  double seconds = 0;
  Cpu used;
  long long paints = 0;
  long long listPaints = 0;
  long long lines = 0;
  double CorePercent() const { return 100.0 * used.process / seconds; }
  double ThreadPercent() const { return 100.0 * used.thread / seconds; }
};

// Measures `seconds` of the event loop; `lines` counts what the list was given meanwhile.
Stretch Measure(int seconds, const QWidget* list, const long long& lines) {
  PaintCounter paints(list);
  const long long lines0 = lines;
  const Cpu cpu0 = Cpu::Now();
  const long long t0 = MonotonicNs();
  RunFor(seconds * 1000);
  const Cpu cpu1 = Cpu::Now();
  Stretch s;
  s.seconds = static_cast<double>(MonotonicNs() - t0) / 1e9;
  s.used = {cpu1.process - cpu0.process, cpu1.thread - cpu0.thread};
  s.paints = paints.all;
  s.listPaints = paints.watched;
  s.lines = lines - lines0;
  return s;
}

// The child's part of the start-up measurement: the window, shown, reports the moment
// of its first paint and the process ends there.
class FirstPaint : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      std::printf("%lld\n", MonotonicNs());
      std::fflush(stdout);
      std::_Exit(0);
    }
    return false;
  }
};

int FirstPaintChild(int argc, char** argv) {
  QApplication app(argc, argv);
  TFrmOrlimo window{TFrmOrlimoSetup{}};
  FirstPaint firstPaint;
  window.installEventFilter(&firstPaint);
  window.show();
  return app.exec();
}

// Milliseconds from starting this program again to its window's first paint, or -1.
double StartToFirstPaint() {
  QProcess child;
  child.setProgram(QCoreApplication::applicationFilePath());
  child.setArguments({QString::fromLatin1(kFirstPaintChild)});
  const long long started = MonotonicNs();
  child.start();
  if (!child.waitForFinished(30000) || child.exitCode() != 0) return -1;
  bool ok = false;
  const long long painted = child.readAllStandardOutput().trimmed().toLongLong(&ok);
  return ok ? static_cast<double>(painted - started) / 1e6 : -1;
}

// A plain list widget as the monitor list would be without its own drawing: the same
// size and font, uniform item sizes, `perSecond` of `lines` appended in one batch a
// second, the last one selected and shown, trimmed as the session trims the window's.
class BareList {
 public:
  BareList(QSize size, const QStringList& lines, double perSecond, int startCount) : lines_(lines), rate_(perSecond) {
    list_.setFont(CourierFont(11));
    list_.setUniformItemSizes(true);
    list_.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_.resize(size);
    for (int i = 0; i < startCount; ++i) Append();
    list_.show();
    QObject::connect(&timer_, &QTimer::timeout, [this] { Pass(); });
    timer_.start(1000);
  }
  const QWidget* Viewport() const { return list_.viewport(); }
  long long added = 0;

 private:
  void Append() {
    list_.addItem(lines_[static_cast<qsizetype>(next_++ % lines_.size())]);
    ++added;
  }
  void Pass() {
    due_ += rate_;
    for (; due_ >= 1; due_ -= 1) Append();
    list_.setCurrentRow(list_.count() - 1, QItemSelectionModel::ClearAndSelect);
    list_.scrollToBottom();
    if (list_.count() > ReceivePipeline::kMonitorMaxLines) {
      list_.model()->removeRows(0, list_.count() - ReceivePipeline::kMonitorKeepLines);
    }
  }

  QListWidget list_;
  QTimer timer_;
  QStringList lines_;
  double rate_;
  double due_ = 0;
  long long next_ = 0;
};

bool DisplayNamed() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* v = std::getenv(name);
    if (v != nullptr && v[0] != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == kFirstPaintChild) return FirstPaintChild(argc, argv);
  int seconds = 60;
  int rate = 115200;
  int hz = 10;
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--seconds") seconds = std::max(1, std::atoi(argv[++i]));
    else if (a == "--rate") rate = std::atoi(argv[++i]);
    else if (a == "--hz") hz = std::atoi(argv[++i]);
  }
  if (!DisplayNamed()) {
    std::fputs("bench_app: no display; run it as  xvfb-run -a bench_app\n", stderr);
    return 2;
  }
  QApplication app(argc, argv);

  std::vector<double> starts;
  for (int i = 0; i < 3; ++i) starts.push_back(StartToFirstPaint());
  std::sort(starts.begin(), starts.end());
  std::printf("start to first paint: %.0f ms (median of %.0f, %.0f, %.0f)\n", starts[1], starts[0], starts[1],
              starts[2]);

  Stretch window;
  QStringList seen;
  QSize listSize;
  int listCount = 0;
  std::string link;
  {
    Receiver receiver(rate, hz);
    if (receiver.Path().isEmpty()) {
      std::fprintf(stderr, "bench_app: the simulated receiver did not start (%s)\n", ORLIMO_GPSSIM);
      return 1;
    }
    long long lines = 0;
    TFrmOrlimoSetup setup;
    setup.ExtraPorts << receiver.Path();
    TFrmOrlimo w(std::move(setup));
    w.SelectPort(receiver.Path());
    w.SelectBaudRate(std::to_string(rate));
    w.show();
    // Every accepted sentence is a line of the list (nothing is paused here).
    w.Session().Pipeline().AddSentenceObserver([&lines](TSentenceType, std::string_view) { ++lines; });
    w.Session().TBOpenClick();
    RunFor(3000);  // the link recognised, the list filling
    window = Measure(seconds, w.lbxNMEA()->viewport(), lines);
    link = w.PanelText(3);
    listSize = w.lbxNMEA()->size();
    listCount = w.MonitorLineCount();
    for (int i = std::max(0, listCount - 200); i < listCount; ++i) seen << QString::fromStdString(w.lbxNMEA()->Line(i));
  }
  std::printf("window at %d bit/s, %d Hz: %.2f %% of one core over %.0f s (window thread %.2f %%), "
              "%lld lines, %lld paint events (monitor list %lld), link %s\n",
              rate, hz, window.CorePercent(), window.seconds, window.ThreadPercent(), window.lines, window.paints,
              window.listPaints, link.c_str());
  if (window.listPaints == 0 || seen.isEmpty()) {
    std::fputs("bench_app: the window's monitor list did not paint or received nothing\n", stderr);
    return 1;
  }

  const double perSecond = static_cast<double>(window.lines) / window.seconds;
  Stretch bare;
  {
    BareList list(listSize, seen, perSecond, listCount);
    RunFor(3000);
    bare = Measure(seconds, list.Viewport(), list.added);
  }
  std::printf("bare list, %.1f lines/s in one batch a second: %.2f %% of one core over %.0f s, "
              "%lld lines, %lld paint events (list %lld)\n",
              perSecond, bare.CorePercent(), bare.seconds, bare.lines, bare.paints, bare.listPaints);
  if (bare.listPaints == 0) {
    std::fputs("bench_app: the bare list did not paint\n", stderr);
    return 1;
  }
  const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
  std::printf("window / bare list: %.1f (the window's thread alone: %.1f)\n", ratio(window.used.process, bare.used.process),
              ratio(window.used.thread, bare.used.thread));
  return 0;
}
