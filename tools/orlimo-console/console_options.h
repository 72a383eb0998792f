// The console's command line: what a run is asked to do, read from its arguments.
// A bad argument is told in one line that names the option, the value and what the
// value must be ("--replay-speed: 0 is not a whole number from 1 to 16"); a command
// line with no option that starts work (connect, simulate, log, measure ...) gets the
// usage instead of a run that would do nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console_accuracy.h"
#include "console_actions.h"
#include "console_ttff.h"

namespace orlimo {

struct ConsoleOptions {
  std::string port;  // empty: the saved one
  std::string baud;  // empty: the saved one, or the simulator's own
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
  std::vector<ConsoleAction> actions;
  bool pro = false;
  bool trickleButton = false;
  bool log = false;
  std::string dataDir;
  ConsoleTtffOptions ttff;
  ConsoleMeasureOptions measure;
  std::int64_t retryMs = 0;
  int servePort = 0;
  std::string serveAddress = "127.0.0.1";
  bool work = false;  // an option that starts work was given
};

enum class ConsoleCommand { Run, Help, Version, BadArgument, NoWork };

// Reads `args` (without the program name) into `options`. BadArgument comes with the
// one line that says why in `error`.
ConsoleCommand ParseConsoleOptions(const std::vector<std::string>& args, ConsoleOptions& options, std::string& error);

// The usage text of --help.
const char* ConsoleUsage();

}  // namespace orlimo
