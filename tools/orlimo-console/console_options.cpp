#include "console_options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "console_settings.h"
#include "sim/sim_options.h"
#include "sim_port.h"

namespace orlimo {
namespace {

constexpr const char* kUsage =
    "usage: orlimo-console [options]\n"
    "Runs a receiver session and prints what the window would show, one line per change:\n"
    "  panel N: TEXT, title: TEXT, dialog KIND: TEXT -> ANSWER, monitor: LINE,\n"
    "  trace MemoN: TEXT, navi: ... (after each view refresh)\n"
    "  (a dialog's line breaks shown as ' | '). A run needs an option that starts work\n"
    "  (connecting, simulating, replaying, logging, measuring): without one this text is\n"
    "  printed and the exit status is 2.\n"
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
    "  --baud N                rate to open the port with: 4800, 9600, 19200, 38400, 57600,\n"
    "                          115200, 230400, 460800 or 921600 (default: the saved rate, else\n"
    "                          4800; with --simulate or --replay the simulated receiver's own)\n"
    "  --connect               connect right after start\n"
    "  --detect                start baud-rate detection right after connecting\n"
    "  --answer yes|no         how questions are answered (default no)\n"
    "  --seconds N             disconnect and quit after N seconds (without it the run ends\n"
    "                          on Ctrl-C, SIGTERM or SIGHUP, the same way)\n"
    "  --simulate PERSONALITY  start the simulated receiver in-process and use its port\n"
    "  --sim-rate BPS          the simulated receiver's own rate: one of the --baud rates\n"
    "                          (default 9600; a replay's: the lowest that keeps the\n"
    "                          capture's pace)\n"
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
    "                                                38400 57600 115200; u-blox receivers also\n"
    "                                                230400 460800 921600) and reopen at it;\n"
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
    "  --stats                 print what the receiver sent every 10 s and at the end, one\n"
    "                          JSON line: stats: {\"lines\":N, ...} with the keys lines,\n"
    "                          accepted, bad_checksum, junk_bytes, per_type (counts since the\n"
    "                          start) and per_second (the rate over the last 10 s); a type is\n"
    "                          the sentence type without its talker (GGA), a proprietary\n"
    "                          sentence's maker (PMTK) or a binary message (UBX-NAV-PVT, SIRF-41)\n"
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
    "  history). --port and --baud win over the saved port and rate; --simulate and\n"
    "  --replay use the simulated receiver's port, and its own rate unless --baud is\n"
    "  given. A log that holds no line when the run ends is not kept. Without --data-dir\n"
    "  the logs and the settings are kept beside the program when its folder can be written\n"
    "  and is not an installed bin/ folder, otherwise the logs in $XDG_DATA_HOME/orlimo/ (~/.local/share/orlimo/) and the\n"
    "  settings in $XDG_CONFIG_HOME/orlimo/ (~/.config/orlimo/). Nothing is written to a\n"
    "  read-only folder or an optical disc. At start, the temporary logs (__tmp....tmp)\n"
    "  that earlier runs left unsaved (a crash, a kill) become dated logs, each named in a\n"
    "  'dialog information:' line.\n";

// Takes an option's value; returns what a value must be when this one is not one
// ("a whole number from 1 to 16"), empty when it was taken.
using TakeValue = std::string (*)(std::string_view option, const std::string& value, ConsoleOptions& o);

// `work`: the option starts work; a command line without one runs nothing.
struct FlagOption {
  std::string_view name;
  bool work;
  void (*set)(ConsoleOptions& o);
};
struct ValueOption {
  std::string_view name;
  bool work;
  TakeValue take;
};

bool WholeNumber(const std::string& text, int low, int high, int& out) {
  int v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || v < low || v > high) return false;
  out = v;
  return true;
}

std::string Range(int low, int high) {
  return std::string("a whole number from ").append(std::to_string(low)).append(" to ").append(std::to_string(high));
}

std::string Rates() { return std::string("one of ").append(ReceiverRateList()); }

std::string NotEmpty(const std::string& value, const char* what) { return value.empty() ? what : ""; }

constexpr FlagOption kFlags[] = {
    {"--connect", true, [](ConsoleOptions& o) { o.connect = true; }},
    {"--detect", true, [](ConsoleOptions& o) { o.detect = true; }},
    {"--log", true, [](ConsoleOptions& o) { o.log = true; }},
    {"--accuracy", true, [](ConsoleOptions& o) { ParseMeasureOption("--accuracy", nullptr, o.measure); }},
    {"--stats", true, [](ConsoleOptions& o) { o.measure.stats = true; }},
    {"--pro", false, [](ConsoleOptions& o) { o.pro = true; }},
    {"--trickle-button", false, [](ConsoleOptions& o) { o.trickleButton = true; }},
};

constexpr ValueOption kValues[] = {
    {"--port", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.port = v;
       return NotEmpty(v, "a port path or a tcp://, udp:// or gpsd:// address");
     }},
    {"--retry-interval", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) -> std::string {
       const std::int64_t ms = ParseSeconds(v).value_or(0);
       if (ms <= 0) return "a number of seconds above 0 (fractions allowed)";
       o.retryMs = std::min<std::int64_t>(ms, 86'400'000);
       return {};
     }},
    {"--serve", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       return WholeNumber(v, 1, 65535, o.servePort) ? std::string() : Range(1, 65535);
     }},
    {"--serve-address", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.serveAddress = v;
       return NotEmpty(v, "an address to listen on");
     }},
    {"--baud", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.baud = v;
       return IsReceiverRate(v) ? std::string() : Rates();
     }},
    {"--seconds", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       constexpr int kMost = static_cast<int>(kMaxActionSeconds);
       return WholeNumber(v, 0, kMost, o.seconds) ? std::string() : Range(0, kMost);
     }},
    {"--simulate", true,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.simulate = v;
       return ParseSimPersonality(v) ? std::string() : std::string("one of ").append(SimPersonalityList());
     }},
    {"--sim-rate", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.simRateGiven = true;
       return IsReceiverRate(v) && WholeNumber(v, 1, 921600, o.simRate) ? std::string() : Rates();
     }},
    {"--replay", true,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.replay = v;
       return NotEmpty(v, "a capture file");
     }},
    {"--replay-speed", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.replaySpeedGiven = true;
       return ParseReplaySpeed(v, o.replaySpeed) ? std::string() : Range(1, kMaxReplaySpeed);
     }},
    {"--answer", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.answerYes = v == "yes";
       return std::string(v == "yes" || v == "no" ? "" : "yes or no");
     }},
    {"--do", true,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       std::string why;
       const auto action = ParseDoOption(v, &why);
       if (!action) return std::string("ACTION@SECONDS (").append(why).append(")");
       o.actions.push_back(*action);
       return std::string();
     }},
    {"--data-dir", false,
     [](std::string_view, const std::string& v, ConsoleOptions& o) {
       o.dataDir = v;
       return NotEmpty(v, "a folder");
     }},
    {"--reference", true,
     [](std::string_view option, const std::string& v, ConsoleOptions& o) {
       return std::string(ParseMeasureOption(option, v.c_str(), o.measure) == 2
                              ? ""
                              : "LAT,LON[,HEIGHT] (latitude -90 to 90, longitude -180 to 180 degrees; metres)");
     }},
    {"--gpx", true,
     [](std::string_view option, const std::string& v, ConsoleOptions& o) {
       return std::string(ParseMeasureOption(option, v.c_str(), o.measure) == 2 ? "" : "a file name");
     }},
    {"--ttff-runs", true,
     [](std::string_view option, const std::string& v, ConsoleOptions& o) {
       return std::string(ParseTtffOption(option, v.c_str(), o.ttff) == 2
                              ? ""
                              : "KIND:N (KIND hot, warm, cold or factory; N a whole number from 1)");
     }},
    {"--ttff-pause", false,
     [](std::string_view option, const std::string& v, ConsoleOptions& o) {
       return std::string(ParseTtffOption(option, v.c_str(), o.ttff) == 2 ? ""
                                                                           : "a number of seconds (fractions allowed)");
     }},
    {"--ttff-timeout", false,
     [](std::string_view option, const std::string& v, ConsoleOptions& o) {
       return std::string(ParseTtffOption(option, v.c_str(), o.ttff) == 2
                              ? ""
                              : "a number of seconds above 0 (fractions allowed)");
     }},
};

// "--connect, --detect, ...": the options that start work, as a command line without
// one is told.
std::string WorkOptionList() {
  std::string list;
  auto add = [&](std::string_view name) { list.append(list.empty() ? "" : ", ").append(name); };
  for (const FlagOption& f : kFlags)
    if (f.work) add(f.name);
  for (const ValueOption& v : kValues)
    if (v.work) add(v.name);
  return list;
}

}  // namespace

const char* ConsoleUsage() { return kUsage; }

ConsoleCommand ParseConsoleOptions(const std::vector<std::string>& args, ConsoleOptions& o, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") return ConsoleCommand::Help;
    if (a == "--version") return ConsoleCommand::Version;
    const auto flag =
        std::find_if(std::begin(kFlags), std::end(kFlags), [&](const FlagOption& f) { return f.name == a; });
    if (flag != std::end(kFlags)) {
      flag->set(o);
      o.work = o.work || flag->work;
      continue;
    }
    const auto option =
        std::find_if(std::begin(kValues), std::end(kValues), [&](const ValueOption& v) { return v.name == a; });
    if (option == std::end(kValues)) {
      error = a.starts_with("-") ? std::string("unknown option ").append(a).append(" (--help lists them)")
                                 : std::string("unexpected argument ").append(a);
      return ConsoleCommand::BadArgument;
    }
    if (i + 1 == args.size()) {
      error = a + " needs a value";
      return ConsoleCommand::BadArgument;
    }
    const std::string& value = args[++i];
    if (const std::string allowed = option->take(option->name, value, o); !allowed.empty()) {
      error = a;
      error.append(": ").append(value.empty() ? "''" : value).append(" is not ").append(allowed);
      return ConsoleCommand::BadArgument;
    }
    o.work = o.work || option->work;
  }
  error = CheckTtffOptions(o.ttff);
  if (!error.empty()) return ConsoleCommand::BadArgument;
  if (o.replaySpeedGiven && o.replay.empty()) {
    error = "--replay-speed needs --replay";
    return ConsoleCommand::BadArgument;
  }
  if (!o.work) {
    error = std::string("nothing to do: no option that starts work (").append(WorkOptionList()).append(")");
    return ConsoleCommand::NoWork;
  }
  return ConsoleCommand::Run;
}

}  // namespace orlimo
