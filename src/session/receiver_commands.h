// What the program says to the receiver on a button press or on its own: restarts,
// the change of the receiver's rate, the command console, trickle power, the version
// query and the two diagnostic SiRF binary buttons. Results go to the message log
// (Memo2); replies are read by ReceiverIdentification.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "session/command_hooks.h"
#include "session/receiver_family.h"
#include "session/receiver_rate_change.h"

namespace orlimo {

struct SessionContext;
class ConnectionControl;
class BaudDetection;

// SiRF message 0x81: switch to NMEA at 4800 bit/s (GGA, GLL, GSA, RMC, VTG each second,
// GSV every 5 s).
inline constexpr std::string_view kSiRFSwitchToNMEA4800Frame{
    "\xA0\xA2\x00\x18\x81\x02\x01\x01\x01\x01\x01\x01\x05\x01\x01\x01\x01\x01\x00\x01\x00\x01"
    "\x00\x01\x00\x01\x12\xC0\x01\x69\xB0\xB3",
    32};

// The frame the self-test button decodes.
inline constexpr std::string_view kSelfTestFrameHex = "A0A20007961E510006001E0129B0B3";

// The trickle-power setting, with its description.
inline constexpr std::string_view kTricklePowerCommand =
    " $PQXC,200,2,400,1000,300000,30000 (Set Trickle 0.4/1.0 300,30 in sec)";

// The longest console command that is sent (before its checksum); the link writes
// a byte at a time, and no receiver takes sentences anywhere near this long.
inline constexpr std::size_t kMaxConsoleCommand = 200;

// Trims blanks and control characters at both ends, drops everything from the first
// "(" on, and trims again: the description never reaches the receiver.
std::string StripAnnotation(std::string_view text);

// Trims blanks and control characters at both ends.
std::string TrimText(std::string_view text);

// The self-test of a SiRF binary frame given as hex text: length, payload, checksum
// field and message ID ("%d,%s,%.4X,%.2X"), then the verdict.
std::vector<std::string> SiRFSelfTestLines(std::string_view hex);

class ReceiverCommands : public CommandHooks {
 public:
  ReceiverCommands(SessionContext& ctx, ConnectionControl& connection, BaudDetection& detection)
      : ctx_(ctx), connection_(connection), detection_(detection), rateChange_(ctx, connection) {}

  // Hot (1), warm (2), cold (4) start or factory default (8) in the identified
  // receiver's family's words, then the first-fix measurement starts again. False
  // when nothing (or not all of it) could be sent.
  bool RestartReceiver(std::uint8_t kind);

  // Tells the receiver its new rate (from cbGPSBR) and reopens the port at it.
  void btnGPSBRApplyClick() { rateChange_.btnGPSBRApplyClick(); }

  // Sends the console text, adding or checking its checksum; keeps the history.
  void SendConsoleCommand();

  // Both trickle-power buttons: watch for the power-mode reply, send the setting.
  void TBTPClick();

  // The diagnostic buttons: switch a SiRF binary receiver to NMEA at 4800, and the
  // frame self-test.
  void Button20Click();
  void ButtonTestClick();

  // CommandHooks: the version query and the bare sending of annotated commands.
  void QueryReceiverVersion() override;
  void SendAnnotatedCommand(std::string_view text) override;
  void RateChangeCheck() override { rateChange_.CheckTick(); }

 private:
  void Log(std::string_view text);
  bool SendLine(std::string_view text);
  // Sends the restart's messages; false when one could not be sent.
  bool SendRestart(const ReceiverFamily& family, TRestartKind kind);
  bool SendAnnotated(std::string_view text);

  SessionContext& ctx_;
  ConnectionControl& connection_;
  BaudDetection& detection_;
  ReceiverRateChange rateChange_;
};

}  // namespace orlimo
