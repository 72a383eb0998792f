#include "console_settings.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "console_view.h"
#include "session/ini_file.h"

namespace orlimo {

bool IsReceiverRate(std::string_view bps) {
  return std::find(kPortRates.begin(), kPortRates.end(), bps) != kPortRates.end();
}

std::string ReceiverRateList() {
  std::string list;
  for (std::string_view rate : kPortRates) list.append(list.empty() ? "" : ", ").append(rate);
  return list;
}

namespace {

// A saved rate that is not listed selects the first, as in the window.
std::string SelectRate(const std::optional<std::string>& saved) {
  const std::vector<std::string> rates(kPortRates.begin(), kPortRates.end());
  return rates[static_cast<std::size_t>(SelectListItem(rates, saved))];
}

}  // namespace

void ApplySettings(const TSettings& saved, const std::string& port, const std::string& baud, ConsoleView& view) {
  view.SetPort(!port.empty() ? port : saved.COMPort.value_or(""));
  view.SetBaudRate(!baud.empty() ? baud : SelectRate(saved.BaudRate));
  view.SetGPSBaudRate(SelectRate(saved.ChangeBaudRate));
  view.SetCommandHistory(saved.Commands);
}

TSettings SettingsAfterRun(const TSettings& read, const ConsoleView& view, bool simulated) {
  TSettings s = read;
  // The simulator's pty is gone after the run: the real receiver's port and rate stay.
  if (!simulated) {
    s.COMPort = view.PortText();
    s.BaudRate = view.BaudRateText();
  }
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
