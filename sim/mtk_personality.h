// A MediaTek MT3339 receiver (a PA6H module): what it says at start and how it takes
// the host's $PMTK commands. A command comes with or without its checksum.
//
//   $PMTK605          -> $PMTK705,AXN_2.31_3339_13101700,5632,PA6H,1.0
//   $PMTK101..104     restart, unacknowledged: 101 hot, 102 warm, 103 cold, 104 full
//                     cold, which is a factory default and puts the port back to its
//                     factory rate
//   $PMTK251,BPS      a standard rate -> $PMTK001,251,3 at the old rate, the new one after
//                     it (unless it ignores rate changes); any other -> $PMTK001,251,2
//   any other $PMTKnnn -> $PMTK001,nnn,1: not supported
// Every other sentence, and every frame, is ignored.
#pragma once

#include <string>
#include <string_view>

#include "sim/sim_command.h"
#include "sim/sim_options.h"

namespace orlimo {

class MediaTekPersonality {
 public:
  explicit MediaTekPersonality(const SimOptions& options);

  // One checked sentence from the host, without CR LF.
  SimCommandResult Handle(std::string_view sentence) const;

  // The lines it sends at power-on and after every restart.
  static std::string StartupLines();

 private:
  int factoryRate_;
  bool ignoresRateChange_;
};

}  // namespace orlimo
