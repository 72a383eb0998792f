// The user's settings kept between runs: port, rates, unit, syntax colours and the
// console history, read from and written to the INI file with the program's rules.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/ini_file.h"

namespace orlimo {

// The rates (bit/s) the port's rate box and the receiver-rate box offer, in their order:
// a saved rate selects among these. The three above 115200 are for receivers whose
// UART goes that fast (u-blox 7 and later); detection tries them after the others.
inline constexpr std::array<std::string_view, 9> kPortRates = {"4800",  "9600",   "19200",  "38400", "57600",
                                                               "115200", "230400", "460800", "921600"};

struct TSettings {
  static constexpr int kMaxCommands = 10;

  std::optional<std::string> COMPort;         // [GPSCOM] COMPort
  std::optional<std::string> BaudRate;        // [GPSCOM] BaudRate (missing: the list's first item)
  int UnitIndex = 0;                          // [Unit] Index: 0 or 1, anything else 0
  std::optional<std::string> ChangeBaudRate;  // [GPS] ChangeBaudRate
  bool SyntaxColor = true;                    // [SyntaxColor] Enabled
  std::vector<std::string> Commands;          // [GPSCommand] Count, Command0..: at most 10
};

// What the file says; missing keys leave the defaults above. A "Command" value that
// is blank after trimming is skipped, any other is kept as it stands.
TSettings ReadSettings(const TIniFile& ini);

// Writes the keys every edition writes, and with `extended` (Pro and Tashvi) the rate
// of the receiver, the syntax colours and the console history: "Count" is the number
// of items, the first ten are written. Keys are only ever written, never deleted.
void WriteSettings(TIniFile& ini, const TSettings& settings, bool extended);

// The index of the item equal to `value` (letter case aside), else 0; -1 for an empty
// list. A missing value selects the first item.
int SelectListItem(const std::vector<std::string>& items, const std::optional<std::string>& value);

}  // namespace orlimo
