#include "app/app_options.h"

#include <QCommandLineParser>

#include <algorithm>
#include <string>

#include "session/settings.h"
#include "sim/sim_options.h"

namespace orlimo {
namespace {

bool IsSupportedRate(int bps) {
  const std::string text = std::to_string(bps);
  return std::find(kPortRates.begin(), kPortRates.end(), text) != kPortRates.end();
}

// "4800, 9600, ...": the rates the rate boxes offer.
QString RateList() {
  QString list;
  for (const std::string_view rate : kPortRates) {
    if (!list.isEmpty()) list += QStringLiteral(", ");
    list += QString::fromLatin1(rate.data(), static_cast<qsizetype>(rate.size()));
  }
  return list;
}

}  // namespace

bool ParseAppOptions(const QStringList& args, TAppOptions& out, QString& error, QString& helpText,
                     bool& helpRequested) {
  QCommandLineParser cli;
  cli.setApplicationDescription(QStringLiteral("Monitor and test a GPS receiver on a serial line."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show these options and quit."));
  const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version and quit."));
  const QCommandLineOption simulate(QStringLiteral("simulate"),
                                    QStringLiteral("Start a simulated receiver (sirf, sirf-binary, "
                                                   "ublox, ublox8, ubx, mtk, silent, noisy) on a pty, select it and connect."),
                                    QStringLiteral("PERSONALITY"));
  const QCommandLineOption simRate(QStringLiteral("sim-rate"),
                                   QStringLiteral("Rate the simulated receiver sends at (a replay's "
                                                  "default: the lowest that keeps the capture's pace)."),
                                   QStringLiteral("BPS"));
  const QCommandLineOption simSpeed(QStringLiteral("sim-speed"),
                                    QStringLiteral("Speed over ground of the simulated receiver."),
                                    QStringLiteral("KNOTS"));
  const QCommandLineOption simCourse(QStringLiteral("sim-course"),
                                     QStringLiteral("Its course over ground."), QStringLiteral("DEGREES"));
  const QCommandLineOption replay(QStringLiteral("replay"),
                                  QStringLiteral("Play a receiver capture or a raw-data log through the "
                                                 "simulated receiver at the capture's pace, select it and "
                                                 "connect (it takes the place of --simulate)."),
                                  QStringLiteral("FILE"));
  const QCommandLineOption replaySpeed(QStringLiteral("replay-speed"),
                                       QStringLiteral("Play the replay N times faster (1 to 16)."),
                                       QStringLiteral("N"));
  const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Rate to open the port with."),
                                QStringLiteral("N"));
  const QCommandLineOption port(QStringLiteral("port"),
                                QStringLiteral("Offer this port (a device path, or a stable name under /dev/serial/by-id/) and select it; "
                                               "or a receiver on the network: tcp://HOST:PORT, udp://[ADDR]:PORT, "
                                               "gpsd://HOST[:PORT][/DEVICE]."),
                                QStringLiteral("PATH"));
  const QCommandLineOption retry(QStringLiteral("retry-interval"),
                                 QStringLiteral("Seconds between reconnects of a network source that was refused "
                                                "or lost (default 5)."),
                                 QStringLiteral("SECONDS"));
  const QCommandLineOption serve(QStringLiteral("serve"),
                                 QStringLiteral("Share every byte received from the receiver with TCP clients on "
                                                "this port (File > Share switches it)."),
                                 QStringLiteral("PORT"));
  const QCommandLineOption serveAddress(QStringLiteral("serve-address"),
                                        QStringLiteral("The address the stream server listens on (default 127.0.0.1)."),
                                        QStringLiteral("ADDR"));
  const QCommandLineOption connect(QStringLiteral("connect"), QStringLiteral("Connect after start."));
  const QCommandLineOption detect(QStringLiteral("detect"),
                                  QStringLiteral("Connect after start and search for the receiver's rate."));
  const QCommandLineOption log(QStringLiteral("log"),
                               QStringLiteral("Connect after start and log the raw data from the moment "
                                              "the connection opens (nothing is logged when it does not)."));
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Save a PNG of the window and quit."),
                                      QStringLiteral("FILE"));
  const QCommandLineOption after(QStringLiteral("after"),
                                 QStringLiteral("Seconds before the screenshot (default 3)."),
                                 QStringLiteral("SECONDS"));
  const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                   QStringLiteral("Keep the settings and the logs in this folder."),
                                   QStringLiteral("DIR"));
  cli.addOptions({help, version, simulate, simRate, simSpeed, simCourse, replay, replaySpeed, baud, port, connect,
                  detect, log, screenshot, after, dataDir, retry, serve, serveAddress});
  helpText = cli.helpText() + QStringLiteral(
      "\nWhere files go:\n"
      "  The settings (orlimo.ini) and the raw-data logs (NMEA_yyyymmdd-hhmmss.log)\n"
      "  are kept beside the program when its folder can be written and it is not\n"
      "  installed (a build tree, a portable copy). Otherwise the settings go to\n"
      "  $XDG_CONFIG_HOME/orlimo/ (~/.config/orlimo/) and the logs to\n"
      "  $XDG_DATA_HOME/orlimo/ (~/.local/share/orlimo/). With --data-dir DIR both\n"
      "  go to DIR.\n"
      "\nSignals:\n"
      "  SIGTERM, SIGHUP and SIGINT close the window as its close button would, but\n"
      "  without any question or message box: the log is saved, the settings are\n"
      "  written, and the status is 0. A second one of the same kind kills it.\n");
  // The usage line names the program, whatever the executable is called.
  const qsizetype nameStart = helpText.indexOf(QStringLiteral("Usage: ")) + 7;
  const qsizetype nameEnd = helpText.indexOf(QStringLiteral(" [options]"));
  if (nameStart >= 7 && nameEnd > nameStart) {
    helpText.replace(nameStart, nameEnd - nameStart, QStringLiteral("orlimo"));
  }
  helpRequested = false;

  if (!cli.parse(args)) {
    error = cli.errorText();
    return false;
  }
  if (cli.isSet(help)) {
    helpRequested = true;
    return true;
  }
  if (cli.isSet(version)) {
    out.Version = true;
    return true;
  }
  if (!cli.positionalArguments().isEmpty()) {
    error = QStringLiteral("Unexpected argument: %1").arg(cli.positionalArguments().first());
    return false;
  }

  auto rateOption = [&](const QCommandLineOption& o, int& target) {
    if (!cli.isSet(o)) return true;
    bool ok = false;
    const int v = cli.value(o).toInt(&ok);
    if (!ok || !IsSupportedRate(v)) {
      error = QStringLiteral("--%1: %2 is not one of %3").arg(o.names().first(), cli.value(o), RateList());
      return false;
    }
    target = v;
    return true;
  };
  if (!rateOption(simRate, out.SimRate) || !rateOption(baud, out.Baud)) return false;

  out.Simulate = cli.value(simulate);
  if (cli.isSet(replay)) {
    out.Replay = cli.value(replay);
    if (out.Replay.isEmpty()) {
      error = QStringLiteral("--replay needs a file");
      return false;
    }
  }
  for (const QCommandLineOption* o : {&simRate, &simSpeed, &simCourse}) {
    // A replay's receiver has a rate but no scenario.
    if (cli.isSet(*o) && out.Simulate.isEmpty() && (o != &simRate || out.Replay.isEmpty())) {
      error = QStringLiteral("--%1 needs --simulate%2")
                  .arg(o->names().first(), o == &simRate ? QStringLiteral(" or --replay") : QString());
      return false;
    }
  }
  if (cli.isSet(replaySpeed)) {
    if (!ParseReplaySpeed(cli.value(replaySpeed).toStdString(), out.ReplaySpeed)) {
      error = QStringLiteral("--replay-speed: %1 is not a whole number from 1 to 16").arg(cli.value(replaySpeed));
      return false;
    }
    if (out.Replay.isEmpty()) {
      error = QStringLiteral("--replay-speed needs --replay");
      return false;
    }
  }
  auto numberOption = [&](const QCommandLineOption& o, double low, double high, double& target) {
    if (!cli.isSet(o)) return true;
    bool ok = false;
    const double v = cli.value(o).toDouble(&ok);
    if (!ok || !(v >= low && v <= high)) {
      error = QStringLiteral("--%1: %2 is not a number from %3 to %4")
                  .arg(o.names().first(), cli.value(o))
                  .arg(low)
                  .arg(high);
      return false;
    }
    target = v;
    return true;
  };
  if (!numberOption(simSpeed, 0, 999, out.SimSpeed) || !numberOption(simCourse, 0, 360, out.SimCourse) ||
      !numberOption(retry, 0.01, 86400, out.RetrySeconds)) {
    return false;
  }
  if (cli.isSet(serve)) {
    bool ok = false;
    const int v = cli.value(serve).toInt(&ok);
    if (!ok || v < 1 || v > 65535) {
      error = QStringLiteral("--serve: %1 is not a port number from 1 to 65535").arg(cli.value(serve));
      return false;
    }
    out.ServePort = v;
  }
  if (cli.isSet(serveAddress)) out.ServeAddress = cli.value(serveAddress);
  for (const QString& p : cli.values(port)) {
    if (p.isEmpty()) {
      error = QStringLiteral("--port needs a path");
      return false;
    }
    out.Ports << p;
  }
  if (cli.isSet(dataDir)) {
    out.DataDir = cli.value(dataDir);
    if (out.DataDir.isEmpty()) {
      error = QStringLiteral("--data-dir needs a folder");
      return false;
    }
  }
  out.Connect = cli.isSet(connect);
  out.Detect = cli.isSet(detect);
  out.Log = cli.isSet(log);
  out.Screenshot = cli.value(screenshot);
  if (cli.isSet(after)) {
    bool ok = false;
    out.After = cli.value(after).toDouble(&ok);
    if (!ok || out.After < 0 || out.After > 86400) {
      error = QStringLiteral("--after: %1 is not a number of seconds").arg(cli.value(after));
      return false;
    }
    if (out.Screenshot.isEmpty()) {
      error = QStringLiteral("--after needs --screenshot");
      return false;
    }
  }
  return true;
}

}  // namespace orlimo
