#include "session/receiver_rate_change.h"

#include <QElapsedTimer>

#include <cstdlib>

#include "frames/hex.h"
#include "frames/ubx_frame.h"
#include "session/connection_control.h"
#include "session/receiver_family.h"
#include "session/session_context.h"

namespace orlimo {
namespace {

constexpr std::string_view kBluetoothWarning =
    "If your GPS device is a bluetooth GPS receiver,\r\n\r\nit may cause crash when you change the GPS "
    "Baud Rate!\r\n\r\nAre you sure to continue ?";

// CFG-PRT: the rate is the U4 at offset 8 of the port's 20 bytes.
constexpr std::size_t kPortSettingsSize = 20;
constexpr std::size_t kPortRateOffset = 8;
constexpr std::uint32_t kUart1RateKey = 0x40520001;  // CFG-UART1-BAUDRATE

void PutU4(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string_view PortName(std::uint8_t port) {
  switch (port) {
    case 0: return "I2C";
    case 3: return "USB";
    case 4: return "SPI";
    default: return "";
  }
}

// Copies what arrives into the exchange's own buffer for as long as it lives: the
// supervisor may cut the receive buffer at any tick in between.
class ReplyTap {
 public:
  ReplyTap(ReceivePipeline& pipeline, std::string& tap) : pipeline_(pipeline) {
    tap.clear();
    pipeline_.SetReplyTap(&tap);
  }
  ~ReplyTap() { pipeline_.SetReplyTap(nullptr); }
  ReplyTap(const ReplyTap&) = delete;
  ReplyTap& operator=(const ReplyTap&) = delete;

 private:
  ReceivePipeline& pipeline_;
};

}  // namespace

bool IsUSBModemPort(std::string_view port) { return port.rfind("/dev/ttyACM", 0) == 0; }

std::string WithUBXPortRate(std::string settings, std::uint32_t rate) {
  if (settings.size() >= kPortSettingsSize) PutU4(settings, kPortRateOffset, rate);
  return settings;
}

std::string UBXUart1RateFrame(std::uint32_t rate) {
  // Version 0, the RAM layer, two reserved bytes, then the key and its value.
  std::string payload(12, '\0');
  payload[1] = '\x01';
  PutU4(payload, 4, kUart1RateKey);
  PutU4(payload, 8, rate);
  return BuildUBXFrame(0x06, 0x8A, payload);
}

void ReceiverRateChange::Log(std::string_view text) { ctx_.view.AppendTrace(2, text); }

void ReceiverRateChange::Fail(const std::string& text) {
  Log(text);
  ctx_.view.ShowCommandFailure(text);
}

void ReceiverRateChange::btnGPSBRApplyClick() {
  SessionState& s = ctx_.state;
  ISessionView& view = ctx_.view;
  const std::string rate = view.GPSBaudRateText();
  const int newRate = std::atoi(rate.c_str());
  if (newRate == ctx_.BaudRate()) {
    Log(" GPS baud Rate no Change !");
    return;
  }
  if (s.PortOpen && ctx_.Networked()) {
    view.ShowWarningMsg(ctx_.CommName() + " is a network source: the rate of the receiver's line is not set from here.");
    return;
  }
  if (s.PortOpen && IsUSBModemPort(ctx_.CommName())) {
    view.ShowWarningMsg(ctx_.CommName() + " is the receiver's own USB port: it has no line rate to change.");
    return;
  }
  const ReceiverFamily& family = FamilyOf(s.ReceiverKind);
  if (newRate > family.HighestRate()) {
    // Nothing in its answer would say whether its UART takes the rate: it is not asked.
    const std::string text = std::string("The GPS receiver (")
                                 .append(family.Name())
                                 .append(") is set to at most ")
                                 .append(std::to_string(family.HighestRate()))
                                 .append(" bps here: ")
                                 .append(rate)
                                 .append(" bps is not sent to it.");
    Log(text);
    view.ShowWarningMsg(text);
    return;
  }
  if (!view.AskYesNo(kBluetoothWarning)) return;
  if (!s.PortOpen) {
    // Reopening would leave a port open with no supervisor behind it.
    Fail(" Change BR CMD Fail!! (the port is not open)");
    return;
  }
  const int kind = s.ReceiverKind;
  const int oldRate = ctx_.BaudRate();
  if (!TellReceiver(kind, newRate)) return;
  // Time for the command to leave the line before the port closes.
  ConnectionControl::DelayMs(80);
  Reopen(rate);
  if (s.PortOpen) {
    s.RateCheckOldRate = oldRate;
    s.RateCheckSeconds = 0;
  }
}

void ReceiverRateChange::Reopen(const std::string& rate) {
  SessionState& s = ctx_.state;
  const int kind = s.ReceiverKind;
  const ReceiverClues clues = s.Clues;  // opening forgets them; the receiver is the same
  connection_.CloseGPSPort();
  ctx_.view.SelectBaudRate(rate);
  ConnectionControl::DelayMs(50);
  connection_.OpenGPSPort();
  if (!s.PortOpen) {
    ctx_.view.SetPanelText(1, "");
    return;
  }
  ctx_.view.SetPanelText(1, "GPS Baud Rate :" + ctx_.view.BaudRateText());
  s.VersionKnown = true;  // no new firmware query after a rate change
  s.ReceiverKind = kind;
  s.Clues = clues;
}

void ReceiverRateChange::CheckTick() {
  SessionState& s = ctx_.state;
  if (s.RateCheckOldRate == 0 || ++s.RateCheckSeconds < kRateCheckSeconds) return;
  const std::string tried = std::to_string(ctx_.BaudRate());
  const std::string old = std::to_string(s.RateCheckOldRate);
  s.RateCheckOldRate = 0;
  Reopen(old);
  Fail("The GPS receiver is not heard at " + tried + " bps: the port is back at " + old + " bps.");
}

bool ReceiverRateChange::TellReceiver(int kind, int rate) {
  const ReceiverFamily& family = FamilyOf(kind);
  if (family.SpeaksUBX()) return TellUBXReceiver(rate);
  const std::string command = family.RateCommand(rate);
  return SendMessage(command + "\r\n", command, command);
}

bool ReceiverRateChange::SendFrame(std::string_view frame) {
  return SendMessage(frame, BytesToHex(frame), "The rate command");
}

bool ReceiverRateChange::SendMessage(std::string_view bytes, const std::string& logged, const std::string& subject) {
  Log(logged);
  const bool sent = connection_.SendString(ctx_.Link(), bytes);
  Log(sent ? " Change BR CMD OK!!" : " Change BR CMD Fail!!");
  if (!sent) Fail(subject + " could not be sent to " + ctx_.CommName() + ": the rate is not changed.");
  return sent;
}

bool ReceiverRateChange::TellUBXReceiver(int rate) {
  const ReplyTap tap(ctx_.pipeline, tap_);
  const auto bps = static_cast<std::uint32_t>(rate);
  const std::string rateText = std::to_string(rate);
  if (ctx_.state.Clues.ublox.ProtocolMajor() >= 27) {
    if (!SendFrame(UBXUart1RateFrame(bps))) return false;
    if (AwaitAck(0x8A, kUBXReplyMs) == 0) {
      Fail("The GPS receiver refused the rate " + rateText + " (UBX CFG-VALSET).");
      return false;
    }
    return true;  // no answer may mean it changed first: the wait at the new rate tells
  }

  // Its port's settings, so that only the rate changes.
  if (!SendFrame(BuildUBXFrame(0x06, 0x00, {}))) return false;
  std::string settings;
  if (!AwaitUBX(0x06, 0x00, kUBXReplyMs, settings) || settings.size() < kPortSettingsSize) {
    Fail("The GPS receiver did not answer the port query (UBX CFG-PRT): its rate is not changed.");
    return false;
  }
  const auto port = static_cast<std::uint8_t>(settings[0]);
  if (!PortName(port).empty()) {
    Fail("The GPS receiver is connected through its " + std::string(PortName(port)) +
         " port: it has no line rate to change.");
    return false;
  }
  AwaitAck(0x00, 200);  // the poll's own acknowledgement must not pass for the next one's
  tap_.clear();
  if (!SendFrame(BuildUBXFrame(0x06, 0x00, WithUBXPortRate(settings.substr(0, kPortSettingsSize), bps))))
    return false;
  if (AwaitAck(0x00, kUBXReplyMs) == 0) {
    Fail("The GPS receiver refused the rate " + rateText + " (UBX CFG-PRT).");
    return false;
  }
  return true;
}

bool ReceiverRateChange::AwaitUBX(std::uint8_t msgClass, std::uint8_t msgId, int ms, std::string& payload) {
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    const std::string_view frame = FindUBXFrame(tap_, msgClass, msgId);
    if (!frame.empty()) {
      payload = UBXPayload(frame);
      return true;
    }
    if (waited.elapsed() >= ms || !ctx_.state.PortOpen) return false;
    ConnectionControl::DelayMs(20);
  }
}

int ReceiverRateChange::AwaitAck(std::uint8_t cfgId, int ms) {
  QElapsedTimer waited;
  waited.start();
  const std::string about{'\x06', static_cast<char>(cfgId)};
  for (;;) {
    // ACK-ACK (05 01) or ACK-NAK (05 00), each naming the message it answers.
    for (std::uint8_t id : {std::uint8_t{1}, std::uint8_t{0}}) {
      for (std::size_t from = 0;;) {
        const std::string_view frame = FindUBXFrame(tap_, 0x05, id, from);
        if (frame.empty()) break;
        if (UBXPayload(frame) == about) return id;
        from = static_cast<std::size_t>(frame.data() - tap_.data()) + 2;
      }
    }
    if (waited.elapsed() >= ms || !ctx_.state.PortOpen) return -1;
    ConnectionControl::DelayMs(20);
  }
}

}  // namespace orlimo
