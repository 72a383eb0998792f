// "Set GPS Baud Rate": tells the receiver its new rate in its family's words, reopens
// the port at that rate, and goes back to the old one when the receiver is not heard
// at the new rate in time.
//
// A u-blox receiver is asked its port settings first (CFG-PRT) and sent them back with
// only the rate changed, so its frame format and protocols stay as they were; from
// protocol 27 on its UART1 rate is set in RAM by CFG-VALSET. The port is reopened once
// the receiver has acknowledged. A receiver on a USB port of its own (CDC ACM) has no
// line rate to change. Rates above 115200 go only to the families that take them
// (ReceiverFamily::HighestRate).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orlimo {

struct SessionContext;
class ConnectionControl;

class ReceiverRateChange {
 public:
  // Data seconds the port waits at a new rate for a valid line before it goes back.
  static constexpr int kRateCheckSeconds = 4;
  // How long a u-blox receiver has to answer each step of the exchange.
  static constexpr int kUBXReplyMs = 1000;

  ReceiverRateChange(SessionContext& ctx, ConnectionControl& connection) : ctx_(ctx), connection_(connection) {}

  // The Apply button of the receiver-rate group.
  void btnGPSBRApplyClick();
  // The supervisor's tick while the port waits at the new rate (state UNKNOW):
  // counts the second, and goes back to the old rate when the wait is over.
  void CheckTick();

 private:
  // Sends the family's rate command; false (and the failure shown) when the change
  // must not go on.
  bool TellReceiver(int kind, int rate);
  bool TellUBXReceiver(int rate);
  // Waits up to `ms` for a valid UBX frame of that class and ID among the bytes
  // received since the tap was cleared; its payload, or nullopt.
  bool AwaitUBX(std::uint8_t msgClass, std::uint8_t msgId, int ms, std::string& payload);
  // Waits for the receiver's answer to a CFG message: 1 acknowledged, 0 refused, -1 none.
  int AwaitAck(std::uint8_t cfgId, int ms);
  bool SendFrame(std::string_view frame);
  // Sends, logs what was sent (`logged`) and how it went; a failure names `subject`.
  bool SendMessage(std::string_view bytes, const std::string& logged, const std::string& subject);
  void Reopen(const std::string& rate);
  void Log(std::string_view text);
  void Fail(const std::string& text);

  SessionContext& ctx_;
  ConnectionControl& connection_;
  std::string tap_;  // what the receiver sent during an exchange
};

// Whether a port is a USB receiver's own (CDC ACM), whose rate is not a line rate.
bool IsUSBModemPort(std::string_view port);

// The CFG-PRT payload `settings` (as a poll returned it) with its rate changed.
std::string WithUBXPortRate(std::string settings, std::uint32_t rate);
// CFG-VALSET of CFG-UART1-BAUDRATE in the RAM layer.
std::string UBXUart1RateFrame(std::uint32_t rate);

}  // namespace orlimo
