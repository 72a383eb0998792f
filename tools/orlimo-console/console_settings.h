// The console's share of the settings file: the port and rate a run opens with,
// and what it leaves for the next run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "session/settings.h"

namespace orlimo {

class ConsoleView;

// The rates a receiver talks at, as the window's rate boxes list them (kPortRates),
// and that list as a bad argument names it: "4800, 9600, ..., 921600".
bool IsReceiverRate(std::string_view bps);
std::string ReceiverRateList();

// Fills the view from the settings read at start. `port` and `baud` come from the
// command line (empty: not given) and win over the saved ones. A saved rate that is
// not one of the port rates selects the first (4800), as in the window; a saved port
// is used as it stands (the console has no port list to match it against).
void ApplySettings(const TSettings& saved, const std::string& port, const std::string& baud, ConsoleView& view);

// What a run writes back: the port and rates last used and the console history; the
// rest (unit, syntax colours, which the console has no controls for) as read.
TSettings SettingsAfterRun(const TSettings& read, const ConsoleView& view, bool simulated);

// Writes the settings into the file at `iniPath`, keeping whatever else it holds;
// false with `error` set when the file cannot be replaced.
bool SaveSettingsFile(const std::string& iniPath, const TSettings& settings, bool extended, std::string& error);

}  // namespace orlimo
