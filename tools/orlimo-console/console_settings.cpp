#include "console_settings.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "console_view.h"
#include "session/ini_file.h"

namespace orlimo {

const std::vector<std::string> kReceiverRates = {"4800", "9600", "19200", "38400", "57600", "115200"};

bool IsReceiverRate(std::string_view bps) {
  return std::find(kReceiverRates.begin(), kReceiverRates.end(), bps) != kReceiverRates.end();
}

namespace {

// A saved rate that is not listed selects the first, as in the window.
std::string SelectRate(const std::optional<std::string>& saved) {
  return kReceiverRates[static_cast<std::size_t>(SelectListItem(kReceiverRates, saved))];
}

}  // namespace

void ApplySettings(const TSettings& saved, const std::string& port, const std::string& baud, ConsoleView& view) {
  view.SetPort(!port.empty() ? port : saved.COMPort.value_or(""));
  view.SetBaudRate(!baud.empty() ? baud : SelectRate(saved.BaudRate));
  view.SetGPSBaudRate(SelectRate(saved.ChangeBaudRate));
  view.SetCommandHistory(saved.Commands);
}

TSettings SettingsAfterRun(const TSettings& read, const ConsoleView& view) {
  TSettings s = read;
  s.COMPort = view.PortText();
  s.BaudRate = view.BaudRateText();
  s.ChangeBaudRate = view.GPSBaudRateText();
  s.Commands = view.CommandHistory();
  return s;
}

bool SaveSettingsFile(const std::string& iniPath, const TSettings& settings, bool extended, std::string& error) {
  TIniFile ini;
  ini.Load(iniPath);  // what another program wrote meanwhile survives
  WriteSettings(ini, settings, extended);
  return ini.Save(iniPath, error);
}

}  // namespace orlimo
