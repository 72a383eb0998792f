// orlimo-console: the receiver session with a text view instead of the window.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
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
#include "console_settings.h"
#include "console_ttff.h"
#include "console_view.h"
#include "orlimo_version.h"
#include "session/file_places.h"
#include "session/ini_file.h"
#include "session/session.h"
#include "sim/sim_options.h"
#include "sim_port.h"

namespace {

constexpr int kExitNotConnected = 3;
constexpr int kExitConnectionEnded = 4;

constexpr const char* kUsage =
    "usage: orlimo-console [options]\n"
    "Runs a receiver session and prints what the window would show, one line per change:\n"
    "  panel N: TEXT, title: TEXT, dialog KIND: TEXT -> ANSWER, monitor: LINE,\n"
    "  trace MemoN: TEXT, navi: ... (after each view refresh)\n"
    "options:\n"
    "  --port PATH             serial port to use, or a receiver on the network:\n"
    "                          tcp://HOST:PORT (both ways), udp://[ADDR]:PORT (datagrams\n"
    "                          received, read only), gpsd://HOST[:PORT][/DEVICE] (gpsd's\n"
    "                          raw sentences; port 2947 by default; read only)\n"
    "  --retry-interval S      a network source that is refused or lost is tried again\n"
    "                          every S seconds (fractions allowed) until the run ends;\n"
    "                          without it the run ends as for a serial port\n"
    "  --serve PORT            stream server: every byte received from the receiver goes\n"
    "                          to each TCP client on PORT (at most 16; clients only listen;\n"
    "                          one that falls 1 MB behind is dropped)\n"
    "  --serve-address ADDR    the address the stream server listens on (default 127.0.0.1)\n"
    "  --baud N                rate to open the port with (default: the saved rate, else 4800)\n"
    "  --connect               connect right after start\n"
    "  --detect                start baud-rate detection right after connecting\n"
    "  --answer yes|no         how questions are answered (default no)\n"
    "  --seconds N             disconnect and quit after N seconds (without it the run ends\n"
    "                          on Ctrl-C, SIGTERM or SIGHUP, the same way)\n"
    "  --simulate PERSONALITY  start the simulated receiver in-process and use its port\n"
    "  --sim-rate BPS          the simulated receiver's own rate: 4800, 9600, 19200, 38400,\n"
    "                          57600 or 115200 (default 9600; a replay's: the lowest that\n"
    "                          keeps the capture's pace)\n"
    "  --replay FILE           play a receiver capture or a raw-data log through the simulated\n"
    "                          receiver in-process at the capture's pace, and connect to it\n"
    "                          (it takes the place of --simulate); at a --sim-rate too slow for\n"
    "                          it the cycles stretch and a note on standard error says so\n"
    "  --replay-speed N        play the replay N times faster: 1 to 16 (default 1)\n"
    "  --do ACTION@SECONDS     press a button SECONDS after the connection opened (needs\n"
    "                          --connect; fractions like 2.5 allowed; repeatable, actions\n"
    "                          at one time run in the order given). ACTION is one of:\n"
    "                            hot, cold, factory  the three restarts\n"
    "                            warm                a warm start (ephemeris cleared)\n"
    "                            rate:BPS            set the receiver's rate (4800 9600 19200\n"
    "                                                38400 57600 115200) and reopen at it;\n"
    "                                                --answer answers the Bluetooth question\n"
    "                            console:TEXT        send TEXT from the command console\n"
    "                                                (checksum added when TEXT has no '*')\n"
    "                            trickle             the trickle-power setting\n"
    "                            nmea4800            SiRF binary frame: switch to NMEA at 4800\n"
    "                            frame-test          the SiRF frame self-test (sends nothing)\n"
    "  --pro                   the session runs as the Pro edition\n"
    "  --trickle-button        the session runs as an edition with the trickle-power button\n"
    "                          (power-mode queries sent, panel 7 shows the power mode)\n"
    "  --log                   connect, and log from the moment the connection opens:\n"
    "                          every accepted sentence and console command, as the monitor:\n"
    "                          lines show them; at the end of the run the log is saved as\n"
    "                          NMEA_yyyymmdd-hhmmss.log and its 'dialog confirm:' line names it\n"
    "                          (lines that cannot be written go to a rescue file that standard\n"
    "                          error names). A run that cannot start logging ends at once\n"
    "                          (status 1)\n"
    "  --data-dir DIR          keep the logs and the settings file in DIR (created when needed)\n"
    "  --accuracy              print the accuracy of the fixes every 60 s and at the end, one\n"
    "                          line: accuracy: {\"fixes\":N,\"cep50_m\":...} with the keys fixes,\n"
    "                          cep50_m, cep95_m, drms2_m, mean_lat, mean_lon, mean_height_m\n"
    "                          and vertical95_m (metres, degrees; null when not known),\n"
    "                          measured from the mean position\n"
    "  --reference LAT,LON[,HEIGHT]  measure against this point instead (degrees, metres above\n"
    "                          mean sea level as GGA gives it); implies --accuracy\n"
    "  --gpx FILE              write the run's track (a point per fix) as GPX 1.1 at the end\n"
    "  --ttff-runs KIND:N      connect, wait for the receiver to identify itself, then time N\n"
    "                          restarts (KIND hot, warm, cold or factory) to the first fix,\n"
    "                          --ttff-pause S apart (default 10) with --ttff-timeout S each\n"
    "                          (default 300): one line a run, ttff: {\"run\":1,\"kind\":\"cold\",\n"
    "                          \"seconds\":31.2} (null: timed out), then ttff-summary: {\"kind\":..,\n"
    "                          \"runs\":N,\"fixed\":F,\"min_s\":..,\"median_s\":..,\"p95_s\":..,\"max_s\":..};\n"
    "                          the run then ends: 0 every run fixed, 4 the receiver did not\n"
    "                          identify itself, 5 a run timed out\n"
    "  --help                  this text\n"
    "  --version               the program's version\n"
    "exit status:\n"
    "  0 the run ended by --seconds or a signal; 1 logging did not start, or lines could not\n"
    "  be written to the log or the GPX track; 2 a bad argument; 3 the connection could not\n"
    "  be opened (a network source: its peer was never reached); 4 the connection ended on\n"
    "  its own (the receiver fell silent, its port hung up or vanished, its peer closed, no\n"
    "  rate was found)\n"
    "files:\n"
    "  The settings file orlimo-console.ini is read at start and written at the end of the\n"
    "  run: the port and rate last used (and with --pro the receiver rate and the console\n"
    "  history). --port and --baud win over the saved port and rate; --simulate uses the\n"
    "  simulator's port, and the saved rate (else the simulator's own) unless --baud is\n"
    "  given; --replay its port and rate unless --baud is given. Without --data-dir the\n"
    "  logs and the settings are kept beside the program when its folder can be written\n"
    "  and is not an installed bin/ folder, otherwise the logs in $XDG_DATA_HOME/orlimo/ (~/.local/share/orlimo/) and the\n"
    "  settings in $XDG_CONFIG_HOME/orlimo/ (~/.config/orlimo/). Nothing is written to a\n"
    "  read-only folder or an optical disc. At start, the temporary logs (__tmp....tmp)\n"
    "  that earlier runs left unsaved (a crash, a kill) become dated logs, each named in a\n"
    "  'dialog information:' line.\n";

struct Options {
  std::string port;  // empty: the saved one
  std::string baud;  // empty: the saved one
  bool connect = false;
  bool detect = false;
  bool answerYes = false;
  int seconds = 0;
  std::string simulate;
  int simRate = 9600;
  bool simRateGiven = false;
  std::string replay;
  int replaySpeed = 1;
  bool replaySpeedGiven = false;
  std::vector<orlimo::ConsoleAction> actions;
  bool pro = false;
  bool trickleButton = false;
  bool log = false;
  std::string dataDir;
  orlimo::ConsoleTtffOptions ttff;
  orlimo::ConsoleMeasureOptions measure;
  std::int64_t retryMs = 0;
  int servePort = 0;
  std::string serveAddress = "127.0.0.1";
};

bool ParseInt(const char* text, int& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < 0 || v > 100000000) return false;
  out = static_cast<int>(v);
  return true;
}

// Returns 0 to run, 1 when --help was asked, 2 on a bad argument, 3 for --version.
int Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    auto value = [&]() -> const char* { return argv[++i]; };
    int n = 0;
    if (a == "--help" || a == "-h") return 1;
    if (a == "--version") return 3;
    if (a == "--connect") o.connect = true;
    else if (a == "--detect") o.detect = true;
    else if (a == "--pro") o.pro = true;
    else if (a == "--trickle-button") o.trickleButton = true;
    else if (a == "--log") o.log = true;
    else if (a == "--data-dir" && hasValue && argv[i + 1][0] != '\0') o.dataDir = value();
    else if (const int taken = orlimo::ParseMeasureOption(a, hasValue ? argv[i + 1] : nullptr, o.measure)) i += taken - 1;
    else if (const int taken = orlimo::ParseTtffOption(a, hasValue ? argv[i + 1] : nullptr, o.ttff)) i += taken - 1;
    else if (a == "--port" && hasValue) o.port = value();
    else if (a == "--retry-interval" && hasValue && orlimo::ParseSeconds(argv[i + 1]).value_or(0) > 0)
      o.retryMs = std::min<std::int64_t>(*orlimo::ParseSeconds(value()), 86'400'000);
    else if (a == "--serve" && hasValue && ParseInt(argv[i + 1], n) && n >= 1 && n <= 65535) o.servePort = (value(), n);
    else if (a == "--serve-address" && hasValue && argv[i + 1][0] != '\0') o.serveAddress = value();
    else if (a == "--baud" && hasValue && ParseInt(argv[i + 1], n)) o.baud = value();
    else if (a == "--seconds" && hasValue && ParseInt(argv[i + 1], n)) o.seconds = (value(), n);
    else if (a == "--sim-rate" && hasValue && ParseInt(argv[i + 1], n) && orlimo::IsReceiverRate(std::to_string(n))) {
      o.simRate = (value(), n);
      o.simRateGiven = true;
    } else if (a == "--simulate" && hasValue) o.simulate = value();
    else if (a == "--replay" && hasValue && argv[i + 1][0] != '\0') o.replay = value();
    else if (a == "--replay-speed" && hasValue && orlimo::ParseReplaySpeed(argv[i + 1], o.replaySpeed)) {
      value();
      o.replaySpeedGiven = true;
    } else if (a == "--answer" && hasValue && (std::strcmp(argv[i + 1], "yes") == 0 ||
                                             std::strcmp(argv[i + 1], "no") == 0))
      o.answerYes = std::strcmp(value(), "yes") == 0;
    else if (a == "--do" && hasValue) {
      const char* text = value();
      std::string why;
      const auto action = orlimo::ParseDoOption(text, &why);
      if (!action) {
        std::fprintf(stderr, "orlimo-console: bad argument '--do %s': %s\n%s", text, why.c_str(), kUsage);
        return 2;
      }
      o.actions.push_back(*action);
    } else {
      std::fprintf(stderr, "orlimo-console: bad argument '%s'\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  if (const std::string why = orlimo::CheckTtffOptions(o.ttff); !why.empty()) {
    std::fprintf(stderr, "orlimo-console: %s\n%s", why.c_str(), kUsage);
    return 2;
  }
  if (o.replaySpeedGiven && o.replay.empty()) {
    std::fprintf(stderr, "orlimo-console: --replay-speed needs --replay\n%s", kUsage);
    return 2;
  }
  return 0;
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
  Options o;
  switch (Parse(argc, argv, o)) {
    case 1: std::fputs(kUsage, stdout); return 0;
    case 3: std::printf("orlimo-console %s\n", orlimo::kProgramVersion); return 0;
    case 2: return 2;
    default: break;
  }
  QCoreApplication app(argc, argv);
  const TFilePlaces places =
      ResolveFilePlaces(QCoreApplication::applicationFilePath().toStdString(), o.dataDir);
  TIniFile ini;
  ini.Load(places.IniPath);  // none yet: nothing saved
  const TSettings saved = ReadSettings(ini);

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
    // Nothing saved and nothing asked: open at the simulated receiver's own rate.
    if (o.baud.empty() && !saved.BaudRate) o.baud = std::to_string(o.simRate);
  }
  if (o.log) o.connect = true;  // a log needs a connection
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
  // Logging was what the run was asked for: without it there is no run.
  if (o.log && !session.RawLog().Available()) {
    std::fprintf(stderr, "orlimo-console: logging is unavailable: %s cannot be written\n", places.AppDir.c_str());
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
    } else if (!SaveSettingsFile(places.IniPath, SettingsAfterRun(saved, view),
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
      session.TBOpenClick();
      if (!session.State().PortOpen) {
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
