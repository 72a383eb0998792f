// orlimo: the program entry. Finds the places of its files, creates the main window
// (and after it the USB information window), applies the command-line options and
// runs until the main window closes, by the user or on a stop signal.
#include <QApplication>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>

#include "app/app_options.h"
#include "app/built_edition.h"
#include "app/main_window.h"
#include "app/simulator_link.h"
#include "app/stop_signals.h"
#include "app/tool_bar.h"
#include "orlimo_version.h"
#include "session/file_places.h"

using namespace orlimo;

namespace {

constexpr const char* kNoDisplay =
    "orlimo: no display was found (DISPLAY and WAYLAND_DISPLAY are not set, or the display\n"
    "cannot be reached). Run it in a desktop session, or without one:\n"
    "  xvfb-run -a orlimo [options]\n"
    "or take a picture of the window without any display:\n"
    "  QT_QPA_PLATFORM=offscreen orlimo --screenshot FILE.png [options]\n";

// A platform chosen on purpose (offscreen, vnc, ...) is trusted; otherwise a display
// must be named.
bool DisplayAvailable() {
  const auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && v[0] != '\0';
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// A named display that cannot be reached ends in the toolkit's fatal error: say what
// to do instead, and end with status 1 rather than an abort.
void ExitPlainlyWithoutDisplay(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg && message.contains(QStringLiteral("platform plugin"))) {
    std::fputs(kNoDisplay, stderr);
    std::_Exit(1);
  }
  std::fprintf(stderr, "%s\n", qPrintable(message));
  if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
  // Options first: --help and bad input need no display.
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  TAppOptions opts;
  QString error;
  QString help;
  bool helpRequested = false;
  if (!ParseAppOptions(args, opts, error, help, helpRequested)) {
    std::fprintf(stderr, "orlimo: %s\n\n%s", qPrintable(error), qPrintable(help));
    return 2;
  }
  if (helpRequested) {
    std::fputs(qPrintable(help), stdout);
    return 0;
  }
  if (opts.Version) {
    std::printf("orlimo %s\n", kProgramVersion);
    return 0;
  }

  TFrmOrlimoSetup setup;
  setup.Session.edition = BuiltEdition();
  setup.ExtraPorts = opts.Ports;
  TSimulatorLink simulator;
  if (!opts.Replay.isEmpty()) {
    // The replay is the receiver: a scenario receiver asked for as well is not started.
    if (!opts.Simulate.isEmpty())
      std::fprintf(stderr, "orlimo: --replay plays the captured receiver; --simulate %s is not started\n",
                   qPrintable(opts.Simulate));
    QString note;
    if (!simulator.StartReplay(opts.Replay, opts.SimRate, opts.ReplaySpeed, error, note)) {
      std::fprintf(stderr, "orlimo: %s\n", qPrintable(error));
      return 1;
    }
    if (!note.isEmpty()) std::fprintf(stderr, "orlimo: replay of %s: %s\n", qPrintable(opts.Replay), qPrintable(note));
    setup.ExtraPorts << simulator.PortPath();
    setup.SimulatorPort = simulator.PortPath();
  } else if (!opts.Simulate.isEmpty()) {
    if (!simulator.Start(opts.Simulate, opts.SimRate, error, opts.SimSpeed, opts.SimCourse)) {
      std::fprintf(stderr, "orlimo: %s\n", qPrintable(error));
      return 1;
    }
    setup.ExtraPorts << simulator.PortPath();
    setup.SimulatorPort = simulator.PortPath();
  }

  if (!DisplayAvailable()) {
    std::fputs(kNoDisplay, stderr);
    return 1;
  }
  qInstallMessageHandler(ExitPlainlyWithoutDisplay);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orlimo"));
  // No display name: the platform would add it to the caption, which must end with
  // the receiver's firmware.

  setup.Places = ResolveFilePlaces(QCoreApplication::applicationFilePath().toStdString(), opts.DataDir.toStdString());

  setup.RetryIntervalMs = static_cast<int>(opts.RetrySeconds * 1000);
  if (opts.ServePort != 0) setup.ServePort = static_cast<quint16>(opts.ServePort);
  setup.ServeAddress = opts.ServeAddress;
  TFrmOrlimo window(std::move(setup));
  if (opts.ServePort != 0) {
    std::string why;
    if (!window.ShareReceiver(true, &why)) {
      std::fprintf(stderr, "orlimo: stream server: %s\n", why.c_str());
      return 2;
    }
  }
  // Shown first: the settings file is read then, and the options below win over it.
  window.show();
  if (!opts.Ports.isEmpty()) window.ChoosePort(opts.Ports.first());
  if (simulator.Running()) {
    window.SelectPort(simulator.PortPath());
    window.SelectBaudRate(std::to_string(simulator.Rate()));
  }
  if (opts.Baud != 0) window.SelectBaudRate(std::to_string(opts.Baud));

  // A simulated receiver or a replay has nothing to wait for: it plays as soon as the
  // window shows.
  if (opts.Connect || opts.Detect || opts.Log || simulator.Running()) {
    QTimer::singleShot(0, &window, [&window, log = opts.Log, detect = opts.Detect] {
      window.Session().TBOpenClick();
      if (detect && window.Session().State().PortOpen) window.Session().TBAutoSyncClick();
      if (!log) return;
      if (!window.Session().State().PortOpen) {
        std::fputs("orlimo: not connected: nothing is logged\n", stderr);
        return;
      }
      window.ToolBar1()->Button(TTool::TBStartLog)->click();
    });
  }
  // The stop signals close the window as its close button would, without questions.
  TStopSignals stopSignals([&window] { window.CloseForSignal(); });

  int status = 0;
  if (!opts.Screenshot.isEmpty()) {
    const QString file = opts.Screenshot;
    QTimer::singleShot(static_cast<int>(opts.After * 1000), &window, [&window, &status, file] {
      if (!window.grab().save(file, "PNG")) {
        std::fprintf(stderr, "orlimo: cannot write %s\n", qPrintable(file));
        status = 1;
      }
      // Ends without closing the window: a picture run asks nothing and leaves the
      // settings file alone.
      QApplication::exit(status);
    });
  }
  const int rc = app.exec();
  return status != 0 ? status : rc;
}
