// The receiver families the program knows and how each one is commanded: the
// messages of its restarts and the command that changes its rate. The commands, the
// supervisor and the detection ask the receiver's family; nothing else tests a kind
// by its number.
//
//   const ReceiverFamily& family = FamilyOf(state.ReceiverKind);
//   for (const std::string& m : family.RestartMessages(kColdStart)) ...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orlimo {

// ReceiverKind: which family answered.
enum TReceiverKind : int {
  kUnknownReceiver = 0,
  kSiRFReceiver = 1,       // answers $PQXC,201 with its GSW firmware
  kANTARISReceiver = 2,    // u-blox ANTARIS: text banner, UBX frames
  kUBloxReceiver = 3,      // u-blox 5 to 10: banner or MON-VER, UBX frames
  kMediaTekReceiver = 4,   // $PMTK705 (also the Quectel, Airoha, Fastrax and GlobalTop modules on it)
};

// Restart kinds; for SiRF receivers the reset-configuration field of $PSRF101.
enum TRestartKind : std::uint8_t { kHotStart = 1, kWarmStart = 2, kColdStart = 4, kFactoryDefault = 8 };

class ReceiverFamily {
 public:
  virtual ~ReceiverFamily() = default;

  virtual TReceiverKind Kind() const = 0;
  // A name for messages: "SiRF", "u-blox", "MediaTek".
  virtual std::string_view Name() const = 0;
  // u-blox receivers: their UBX replies are scanned, their NMEA rates polled and
  // their silence bounded by those rates, and their rate is never detected. Their
  // rate changes by a UBX exchange instead of RateCommand.
  virtual bool SpeaksUBX() const { return false; }
  // Text commands (sent with CR LF) rather than binary frames (sent as they are).
  virtual bool SendsText() const { return true; }
  // Whether its restarts are written to the message log with their result.
  virtual bool LogsRestarts() const { return true; }

  // The messages of a restart in the order they go out: text with its checksum and
  // without CR LF, or whole frames. Empty when the family cannot be restarted.
  virtual std::vector<std::string> RestartMessages(TRestartKind kind) const = 0;
  // The text that tells a receiver of the family its new rate (with checksum).
  virtual std::string RateCommand(int rate) const = 0;
  // The fastest rate the family is sent a rate change to. A u-blox receiver refuses a
  // rate its UART cannot take (ACK-NAK), so it is offered every rate; the text
  // commands go unanswered, and MediaTek and SiRF chips commonly stop at 115200.
  virtual int HighestRate() const { return 115200; }
};

// The family of a ReceiverKind; an unknown receiver is sent no restart, and the
// SiRF rate command as to any receiver that is not a u-blox.
const ReceiverFamily& FamilyOf(int kind);

// UBX CFG-RST with this battery-backed-data mask, reset mode 2 (a controlled
// software reset of the receiver only).
std::string UBXResetFrame(std::uint16_t navBbrMask);

}  // namespace orlimo
