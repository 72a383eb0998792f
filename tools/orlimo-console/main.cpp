// orlimo-console: the receiver session with a text view instead of the window.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console_accuracy.h"
#include "console_actions.h"
#include "console_options.h"
#include "console_settings.h"
#include "console_ttff.h"
#include "console_view.h"
#include "orlimo_version.h"
#include "session/file_places.h"
#include "session/ini_file.h"
#include "session/session.h"
#include "sim_port.h"

namespace {

constexpr int kExitNotConnected = 3;
constexpr int kExitConnectionEnded = 4;

// The log folder can be made and written; else `why` says why not.
bool LogFolderWritable(const std::string& folder, std::string& why) {
  if (orlimo::MakeFolders(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0) return true;
  why = std::strerror(errno);
  return false;
}

// Calls `fn` after `ms`; a QTimer interval is an int, so long waits go a day at a time.
void After(std::int64_t ms, std::function<void()> fn) {
  constexpr std::int64_t kDayMs = 86'400'000;
  if (ms > kDayMs) {
    QTimer::singleShot(static_cast<int>(kDayMs), [ms, fn] { After(ms - kDayMs, fn); });
    return;
  }
  QTimer::singleShot(static_cast<int>(ms), fn);
}

// Ctrl-C, SIGTERM and SIGHUP end the run through the event loop, so the log and the
// settings are saved; a second one of the same kind kills as usual. (The window has
// the same in src/app/stop_signals, which the console does not link.)
int gStopPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
  const char byte = 0;
  if (::write(gStopPipe[1], &byte, 1) < 0) {}
}

void CatchStopSignals() {
  if (::pipe2(gStopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orlimo;
  ConsoleOptions o;
  std::string badArgument;
  switch (ParseConsoleOptions(std::vector<std::string>(argv + 1, argv + argc), o, badArgument)) {
    case ConsoleCommand::Help: std::fputs(ConsoleUsage(), stdout); return 0;
    case ConsoleCommand::Version: std::printf("orlimo-console %s\n", orlimo::kProgramVersion); return 0;
    case ConsoleCommand::BadArgument: std::fprintf(stderr, "orlimo-console: %s\n", badArgument.c_str()); return 2;
    case ConsoleCommand::NoWork:
      std::fprintf(stderr, "orlimo-console: %s\n%s", badArgument.c_str(), ConsoleUsage());
      return 2;
    case ConsoleCommand::Run: break;
  }
  QCoreApplication app(argc, argv);
  const TFilePlaces places =
      ResolveFilePlaces(QCoreApplication::applicationFilePath().toStdString(), o.dataDir);
  TIniFile ini;
  ini.Load(places.IniPath);  // none yet: nothing saved
  const TSettings saved = ReadSettings(ini);

  // Neither asked for nor simulated: the port of the last run.
  const bool savedPort = o.port.empty() && o.replay.empty() && o.simulate.empty();
  std::unique_ptr<SimulatedPort> sim;
  if (!o.replay.empty()) {
    // The replay is the receiver: a scenario receiver asked for as well is not started.
    if (!o.simulate.empty())
      std::fprintf(stderr, "orlimo-console: --replay plays the captured receiver; --simulate %s is not started\n",
                   o.simulate.c_str());
    std::string error, note;
    sim = StartReplayPort(o.replay, o.simRateGiven ? o.simRate : 0, o.replaySpeed, error, note);
    if (!sim) {
      std::fprintf(stderr, "orlimo-console: %s\n", error.c_str());
      return 2;
    }
    if (!note.empty()) std::fprintf(stderr, "orlimo-console: replay of %s: %s\n", o.replay.c_str(), note.c_str());
    o.port = sim->Path();
    if (o.baud.empty()) o.baud = std::to_string(sim->Rate());
    o.connect = true;  // a replay has nothing to wait for, as in the window
  } else if (!o.simulate.empty()) {
    std::string error;
    sim = StartSimulatedPort(o.simulate, o.simRate, error);
    if (!sim) {
      std::fprintf(stderr, "orlimo-console: %s\n", error.c_str());
      return 2;
    }
    o.port = sim->Path();
    // The simulated receiver talks at its own rate, whatever the last run used.
    if (o.baud.empty()) o.baud = std::to_string(sim->Rate());
    o.connect = true;  // nothing to wait for, as in the window
  }
  if (o.log || o.detect || o.measure.stats) o.connect = true;  // each needs a connection
  if (o.ttff.plan.runs > 0) o.connect = true;

  ConsoleView view(stdout, o.answerYes);
  ApplySettings(saved, o.port, o.baud, view);
  SessionOptions options;
  options.edition.ProEdition = o.pro;
  options.edition.TrickleButtonEnabled = o.trickleButton;
  TSession session(view, options);
  session.SetRetryInterval(static_cast<int>(o.retryMs));
  if (o.servePort > 0) {
    std::string why;
    if (!session.StartStreamServer(QString::fromStdString(o.serveAddress), static_cast<quint16>(o.servePort), why)) {
      std::fprintf(stderr, "orlimo-console: stream server: %s\n", why.c_str());
      return 2;
    }
  }
  session.RawLog().SetPlaces(places.AppDir, LocalTimeNow());
  session.RawLog().DisableLoggingOnCDROM();
  // Logging was what the run was asked for: without it there is no run, and the
  // folder is tried before any port is.
  if (o.log && !session.RawLog().Available()) {
    std::fprintf(stderr, "orlimo-console: logging is unavailable: %s cannot be written\n", places.AppDir.c_str());
    return 1;
  }
  if (std::string why; o.log && !LogFolderWritable(places.AppDir, why)) {
    std::fprintf(stderr, "orlimo-console: the log folder %s cannot be written: %s\n", places.AppDir.c_str(),
                 why.c_str());
    std::fputs("orlimo-console: logging did not start\n", stderr);
    return 1;
  }
  session.RawLog().RecoverEarlierLogs();
  ActionRunner actions(o.actions, [&](const ConsoleAction& a) { RunConsoleAction(a, session, view); });
  ConsoleMeasurements measurements(o.measure, session, stdout);

  // The end of the run: disconnect, save the log, write the settings.
  bool finished = false;
  std::function<void(int)> finish = [&](int code) {
    if (finished) return;
    finished = true;
    if (session.State().PortOpen) session.TBOpenClick();
    // Saved without a question (its confirm line names it: a line blocks nothing); what
    // could not be saved is told in one sentence: where its lines are.
    const std::string lost = session.RawLog().SaveAtExit(true);
    if (!lost.empty()) {
      std::fprintf(stderr, "orlimo-console: %s\n", lost.c_str());
      code = 1;
    }
    if (std::string why; !measurements.Finish(why)) {
      std::fprintf(stderr, "orlimo-console: %s\n", why.c_str());
      code = 1;
    }
    std::string error;
    if (IsCDROMDrive(FolderOf(places.IniPath))) {
      std::fprintf(stderr, "orlimo-console: settings not written: %s cannot be written\n",
                   FolderOf(places.IniPath).c_str());
    } else if (!SaveSettingsFile(places.IniPath, SettingsAfterRun(saved, view, sim != nullptr),
                                 options.edition.WritesExtendedSettings(), error)) {
      std::fprintf(stderr, "orlimo-console: cannot write the settings file %s: %s\n", places.IniPath.c_str(),
                   error.c_str());
    }
    QCoreApplication::exit(code);
  };
  ConsoleTtff ttff(o.ttff, session, stdout, [&](int code) { finish(code); });
  CatchStopSignals();
  std::unique_ptr<QSocketNotifier> stopSignal;
  if (gStopPipe[0] >= 0) {
    stopSignal = std::make_unique<QSocketNotifier>(gStopPipe[0], QSocketNotifier::Read);
    QObject::connect(stopSignal.get(), &QSocketNotifier::activated, [&] {
      char byte;
      while (::read(gStopPipe[0], &byte, 1) > 0) {}
      finish(0);
    });
  }
  if (o.seconds > 0) After(std::int64_t{o.seconds} * 1000, [&] { finish(0); });
  // A connection that ends on its own (not during a rate change, where the supervisor
  // keeps running while the port reopens) ends the run.
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    // A network source that never reached its peer was not connected at all.
    if (!session.State().PortOpen && !session.Tm1sRunning())
      finish(session.Networked() && !session.State().SourceConnected ? kExitNotConnected : kExitConnectionEnded);
  });

  if (o.connect) {
    QTimer::singleShot(0, [&] {
      const std::string port = view.PortText();
      if (port.empty()) {
        std::fprintf(stderr, "orlimo-console: no port to open: none given with --port and none saved in %s\n",
                     places.IniPath.c_str());
      } else {
        session.TBOpenClick();
      }
      if (!session.State().PortOpen) {
        if (savedPort && !port.empty())
          std::fprintf(stderr,
                       "orlimo-console: the saved port %s (from %s) could not be opened; --port PATH names another\n",
                       port.c_str(), places.IniPath.c_str());
        if (!o.actions.empty()) std::fputs("orlimo-console: not connected: the --do actions do not run\n", stderr);
        if (o.log) std::fputs("orlimo-console: not connected: nothing is logged\n", stderr);
        finish(kExitNotConnected);
        return;
      }
      watch.start(200);
      if (o.log) {
        session.TBStartLogClick();
        if (!session.State().LogActive) {
          std::fputs("orlimo-console: logging did not start\n", stderr);
          finish(1);
          return;
        }
      }
      actions.Start();  // the clock runs from here
      ttff.Start();
      if (o.detect) session.TBAutoSyncClick();
    });
  } else if (!o.actions.empty()) {
    std::fputs("orlimo-console: without --connect the --do actions do not run\n", stderr);
  }

  return app.exec();
}
