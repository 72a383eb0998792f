// A u-blox M8 receiver (protocol 18) on UART1: what it says at start and how it takes
// the host's UBX commands.
//
//   MON-VER poll  -> MON-VER: software "ROM CORE 3.01 (107888)", hardware "00080000",
//                    extensions FWVER=SPG 3.01, PROTVER=18.00 and its GNSS lists
//   CFG-MSG       as the ANTARIS receiver: polls answered, settings obeyed
//   CFG-RST       restarts, unacknowledged (the receiver resets): navBbrMask 0 hot,
//                 1 warm, anything else cold. One within a second of a factory default
//                 (CFG-CFG below) is that default's restart and counts as kind 8: a host
//                 resets to factory settings with the two together.
//   CFG-CFG       clear and load masks both set: factory default: the CFG-MSG table and
//                 the port rate back to the options', ACK. Any other CFG-CFG (a save) is
//                 acked and changes nothing.
//   CFG-PRT       a poll (empty, or naming port 1) -> UART1's settings (UBX and NMEA
//                 out, or UBX only for the UBX personality), then ACK; a set
//                 of port 1 to 8N1 at a standard rate -> ACK at the old rate, the new
//                 one after it (unless it ignores rate changes); any other -> NAK
//   CFG-VALSET    NAK: protocol 18 has no such message
// Every other frame, and every sentence, is ignored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/sim_command.h"
#include "sim/sim_options.h"

namespace orlimo {

class UBlox8Personality {
 public:
  explicit UBlox8Personality(const SimOptions& options);

  // One checked UBX frame from the host at `now`; `rate` is the receiver's rate now,
  // `rates` its CFG-MSG table, which CFG-MSG and a factory default change.
  SimCommandResult Handle(std::string_view frame, double now, int rate, SimUbxRates& rates);

  // The $GNTXT lines it sends at power-on and after every restart.
  static std::string Banner();

 private:
  SimUbxRates factoryRates_;
  int factoryRate_;
  std::uint16_t outProtoMask_;  // what CFG-PRT says UART1 sends: 1 UBX, 2 NMEA
  bool ignoresRateChange_;
  double factoryDefaultAt_ = -1e9;  // when the last CFG-CFG factory default came
};

}  // namespace orlimo
