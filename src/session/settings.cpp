#include "session/settings.h"

#include <algorithm>
#include <charconv>

#include "nmea/text.h"

namespace orlimo {
namespace {

// An integer the way the profile functions read one: leading digits, else the default.
int ReadInt(const std::optional<std::string>& text, int fallback) {
  if (!text) return fallback;
  std::string_view s = *text;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  int value = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
  return r.ec == std::errc() ? value : fallback;
}

bool IsBlank(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

TSettings ReadSettings(const TIniFile& ini) {
  TSettings s;
  s.COMPort = ini.Read("GPSCOM", "COMPort");
  s.BaudRate = ini.Read("GPSCOM", "BaudRate");
  const int unit = ReadInt(ini.Read("Unit", "Index"), 0);
  s.UnitIndex = unit == 1 ? 1 : 0;
  s.ChangeBaudRate = ini.Read("GPS", "ChangeBaudRate");
  s.SyntaxColor = ReadInt(ini.Read("SyntaxColor", "Enabled"), 1) != 0;
  const int count = std::clamp(ReadInt(ini.Read("GPSCommand", "Count"), 0), 0, TSettings::kMaxCommands);
  for (int i = 0; i < count; ++i) {
    const std::optional<std::string> item = ini.Read("GPSCommand", "Command" + std::to_string(i));
    if (item && !IsBlank(*item)) s.Commands.push_back(*item);
  }
  return s;
}

void WriteSettings(TIniFile& ini, const TSettings& s, bool extended) {
  ini.Write("GPSCOM", "COMPort", s.COMPort.value_or(""));
  ini.Write("GPSCOM", "BaudRate", s.BaudRate.value_or(""));
  ini.Write("Unit", "Index", std::to_string(s.UnitIndex));
  if (!extended) return;
  ini.Write("GPS", "ChangeBaudRate", s.ChangeBaudRate.value_or(""));
  ini.Write("SyntaxColor", "Enabled", s.SyntaxColor ? "1" : "0");
  ini.Write("GPSCommand", "Count", std::to_string(s.Commands.size()));
  const std::size_t written = std::min<std::size_t>(s.Commands.size(), TSettings::kMaxCommands);
  for (std::size_t i = 0; i < written; ++i) ini.Write("GPSCommand", "Command" + std::to_string(i), s.Commands[i]);
}

int SelectListItem(const std::vector<std::string>& items, const std::optional<std::string>& value) {
  if (items.empty()) return -1;
  if (!value) return 0;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (SameTextIgnoringCase(items[i], *value)) return static_cast<int>(i);
  return 0;
}

}  // namespace orlimo
