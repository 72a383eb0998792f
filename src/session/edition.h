// The switches fixed when the program is built: branding and which features exist.
#pragma once

#include <string>

namespace orlimo {

struct Edition {
  std::string TitlePrefix = "KELDAR Orlimo V:";
  std::string VersionText = "1.10";
  // The full command layout: hot start, NMEA output button, receiver-rate group and
  // the command console.
  bool ProEdition = false;
  // Opens the command controls when the firmware does not answer in time.
  bool TashviEdition = false;
  // Trickle-power button shown and power-mode queries sent.
  bool TrickleButtonEnabled = false;

  std::string Title() const { return TitlePrefix + VersionText; }
};

}  // namespace orlimo
