// The program's command-line options.
#pragma once

#include <QString>
#include <QStringList>

namespace orlimo {

struct TAppOptions {
  QString Simulate;     // personality of the simulated receiver; empty: none
  int SimRate = 0;      // its rate in bit/s; 0: the personality's own (a replay's: one
                        // that keeps the capture's pace)
  double SimSpeed = 0;  // its speed over ground in knots
  double SimCourse = 0; // its course over ground in degrees
  QString Replay;       // capture to play through the simulated receiver; empty: none
  int ReplaySpeed = 1;  // ... this many times faster
  int Baud = 0;         // rate to open with; 0: the window's default
  QStringList Ports;    // extra port paths to offer
  bool Connect = false; // press the connect button after start
  bool Detect = false;  // ... and start the rate detection once connected
  bool Log = false;     // ... and the log button once connected
  QString Screenshot;   // save a PNG of the window there and quit
  double After = 3.0;   // seconds before the screenshot
  QString DataDir;      // folder of the settings and the logs; empty: the usual places
  bool Version = false; // print the version and quit
  double RetrySeconds = 5;  // between reconnects of a network source
  int ServePort = 0;        // the stream server's port; 0: not started
  QString ServeAddress = QStringLiteral("127.0.0.1");
};

// Parses argv (without running anything). False with `error` set on bad input;
// `helpText` is always filled, `helpRequested` set for --help.
bool ParseAppOptions(const QStringList& args, TAppOptions& out, QString& error, QString& helpText,
                     bool& helpRequested);

}  // namespace orlimo
