#include "session/receiver_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "frames/hex.h"
#include "frames/sirf_frame.h"
#include "nmea/sentence.h"
#include "nmea/text.h"
#include "session/baud_detection.h"
#include "session/connection_control.h"
#include "session/session_context.h"

namespace orlimo {
namespace {

// UBX CFG-RST: hot start (no data cleared) and cold start (mask 0x07FF), both reset
// mode 2; then CFG-CFG clearing and reloading every configuration section.
constexpr std::string_view kUBXHotStart{"\xB5\x62\x06\x04\x04\x00\x00\x00\x02\x00\x10\x68", 12};
constexpr std::string_view kUBXColdStart{"\xB5\x62\x06\x04\x04\x00\xFF\x07\x02\x00\x16\x79", 12};
constexpr std::string_view kUBXFactoryConfig{
    "\xB5\x62\x06\x09\x0C\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x13\x5B", 20};

constexpr std::string_view kBluetoothWarning =
    "If your GPS device is a bluetooth GPS receiver,\r\n\r\nit may cause crash when you change the GPS "
    "Baud Rate!\r\n\r\nAre you sure to continue ?";

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsPrintableAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c >= ' ' && c <= '~'; });
}

}  // namespace

std::string TrimText(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string StripAnnotation(std::string_view text) {
  const std::string trimmed = TrimText(text);
  return TrimText(std::string_view(trimmed).substr(0, trimmed.find('(')));
}

std::vector<std::string> SiRFSelfTestLines(std::string_view hex) {
  const std::optional<std::string> frame = HexToBytes(hex);
  if (!frame) return {"SiRF format Error !"};
  char line[160];
  const std::string payload = BytesToHex(SiRFPayload(*frame)).substr(0, 64);
  std::snprintf(line, sizeof line, "%d,%s,%.4X,%.2X", SiRFPayloadLength(*frame), payload.c_str(),
                SiRFChecksumField(*frame), SiRFMessageID(*frame));
  return {line, IsValidSiRFFrame(*frame) ? "SiRF format OK !" : "SiRF format Error !"};
}

void ReceiverCommands::Log(std::string_view text) { ctx_.view.AppendTrace(2, text); }

bool ReceiverCommands::SendLine(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  return connection_.SendString(ctx_.CommGPS, line);
}

void ReceiverCommands::RestartReceiver(std::uint8_t kind) {
  SessionState& s = ctx_.state;
  if (!s.PortOpen) {
    ctx_.view.ShowWarningMsg("Please Open GPS First !!");
    return;
  }
  // The old fix may linger a while: a cold start takes longer to drop it.
  s.FirstFixGrace = kind == kHotStart ? 3 : 15;
  if (s.ReceiverKind == 1) SendSiRFRestart(kind);
  else if (s.ReceiverKind == 2) SendUBXRestart(kind);
  s.AwaitFixLoss = true;

  if (kind == kFactoryDefault && s.ReceiverKind == 1) {
    if (ctx_.BaudRate() == 4800) {
      // The supervisor watches the monitor list: no new line means a new rate.
      s.RestartMarkIndex = ctx_.view.MonitorSelectedIndex();
      s.AwaitFixLoss = false;
      s.RestartMarkSeconds = 0;
      ConnectionControl::DelayMs(50);
    } else {
      // It comes back at a rate of its own: find it.
      s.DiscardRxOnce = true;
      ConnectionControl::DelayMs(50);
      ctx_.pipeline.RxBuffer.clear();
      detection_.StartBaudDetection();
    }
  }
  ctx_.view.SetPanelText(5, "");
  s.FirstFixTiming = true;
  s.FirstFixSeconds = 0;
}

void ReceiverCommands::SendSiRFRestart(std::uint8_t kind) {
  std::string command = "$PSRF101,0,0,0,96000,0,0,12," + std::to_string(kind);
  command += NMEAChecksumSuffix(command);
  Log(command);
  Log(SendLine(command) ? " CMD OK!!" : " CMD Fail!!");
}

void ReceiverCommands::SendUBXRestart(std::uint8_t kind) {
  // Nothing is logged and a failed send is not reported for these receivers.
  TComm& comm = ctx_.CommGPS;
  if (kind == kHotStart) {
    connection_.SendString(comm, kUBXHotStart);
  } else if (kind == kColdStart) {
    connection_.SendString(comm, kUBXColdStart);
  } else if (kind == kFactoryDefault) {
    connection_.SendString(comm, kUBXColdStart);
    connection_.SendString(comm, kUBXFactoryConfig);
  }
}

void ReceiverCommands::btnGPSBRApplyClick() {
  SessionState& s = ctx_.state;
  ISessionView& view = ctx_.view;
  const std::string rate = view.GPSBaudRateText();
  if (std::atoi(rate.c_str()) == ctx_.BaudRate()) {
    Log(" GPS baud Rate no Change !");
    return;
  }
  if (!view.AskYesNo(kBluetoothWarning)) return;
  const int kind = s.ReceiverKind;
  if (!s.PortOpen) {
    // Reopening would leave a port open with no supervisor behind it.
    if (kind != 2) Log(" Change BR CMD Fail!!");
    return;
  }
  if (kind != 2) {
    std::string command = "$PSRF100,1," + rate + ",8,1,0";
    command += NMEAChecksumSuffix(command);
    Log(command);
    Log(SendLine(command) ? " Change BR CMD OK!!" : " Change BR CMD Fail!!");
  }
  // Time for the command to leave the line before the port closes, and for a u-blox
  // receiver's driver to settle before it opens again.
  ConnectionControl::DelayMs(kind == 2 ? 30 : 80);
  connection_.CloseGPSPort();
  view.SelectBaudRate(rate);
  ConnectionControl::DelayMs(kind == 2 ? 350 : 50);
  connection_.OpenGPSPort();
  if (s.PortOpen) {
    view.SetPanelText(1, "GPS Baud Rate :" + view.BaudRateText());
    s.VersionKnown = true;  // no new firmware query after a rate change
    s.ReceiverKind = kind;
  } else {
    view.SetPanelText(1, "");
  }
}

void ReceiverCommands::SendConsoleCommand() {
  ISessionView& view = ctx_.view;
  const std::string full = TrimText(view.CommandText());
  std::string command = StripAnnotation(full);
  if (command.empty()) return;
  if (command.size() > kMaxConsoleCommand || !IsPrintableAscii(command)) {
    // Refused whole: a receiver must never get part of a command.
    const std::string shown = command.size() > 60 ? command.substr(0, 60) + "..." : command;
    view.ShowErrorMsg("\"" + shown + "\" can not be sent !\r\n\r\nA command is at most " +
                      std::to_string(kMaxConsoleCommand) +
                      " characters of printable ASCII text (space to ~).");
    view.FocusCommandBox();
    return;
  }
  if (command.find('*') != std::string::npos) {
    if (!ChecksumMatches(command)) {
      view.ShowErrorMsg("\"" + command + "\" Checksum error !");
      view.FocusCommandBox();
      return;
    }
  } else {
    command += NMEAChecksumSuffix(command);
  }
  if (SendLine(command)) {
    Log("...[" + command + "]....Send CMD Success !!");
    view.AppendMonitorLine(command);
    if (ctx_.state.LogActive) ctx_.log.AddLogLine(command);
  } else {
    Log("Send Data Fail !!");
  }
  const std::vector<std::string> history = view.CommandHistory();
  const bool known = std::any_of(history.begin(), history.end(),
                                 [&](const std::string& item) { return SameTextIgnoringCase(item, full); });
  if (!known) view.InsertCommandHistory(full);
}

void ReceiverCommands::SendAnnotatedCommand(std::string_view text) {
  const std::string command = StripAnnotation(text);
  if (command.empty()) return;
  Log(SendLine(command) ? "...[" + command + "]....Send TMC CMD Success !!" : "Send TMC Cmd Fail !!");
}

void ReceiverCommands::TBTPClick() {
  ctx_.state.PowerReplyWatch = true;
  ctx_.state.PowerReplyCount = 3;
  SendAnnotatedCommand(kTricklePowerCommand);
}

void ReceiverCommands::QueryReceiverVersion() {
  SessionState& s = ctx_.state;
  if (SendLine("$PQXC,201*05")) {
    Log(" CkVer ...Send CMD Success !! => " + std::to_string(s.VersionQueryCount));
    s.VersionQueryPending = true;
  } else {
    Log("  CkVer Send Data Fail !!");
  }
  SendAnnotatedCommand("$PQYCM,V (Query TMC Firmware Version)");
  if (ctx_.edition.TrickleButtonEnabled) SendAnnotatedCommand("$PQXC,200,0*18 (Query the Power Mode)");
}

void ReceiverCommands::Button20Click() {
  if (connection_.SendString(ctx_.CommGPS, kSiRFSwitchToNMEA4800Frame)) Log(" CMD OK!!");
}

void ReceiverCommands::ButtonTestClick() {
  for (const std::string& line : SiRFSelfTestLines(kSelfTestFrameHex)) Log(line);
}

}  // namespace orlimo
