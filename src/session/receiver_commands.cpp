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
#include "session/receiver_clues.h"
#include "session/session_context.h"

namespace orlimo {
namespace {

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
  return connection_.SendString(ctx_.Link(), line);
}

bool ReceiverCommands::RestartReceiver(std::uint8_t kindNumber) {
  SessionState& s = ctx_.state;
  if (!s.PortOpen) {
    ctx_.view.ShowWarningMsg("Please Open GPS First !!");
    return false;
  }
  const auto kind = static_cast<TRestartKind>(kindNumber);
  // The old fix may linger a while: a cold start takes longer to drop it.
  s.FirstFixGrace = kind == kHotStart ? 3 : 15;
  const ReceiverFamily& family = FamilyOf(s.ReceiverKind);
  const bool sentAny = !family.RestartMessages(kind).empty();
  bool sent = sentAny;
  if (!sentAny) {
    ctx_.view.ShowCommandFailure(
        "No restart was sent: the receiver did not say what it is, and restarts need a known receiver family.");
  } else if (!SendRestart(family, kind)) {
    ctx_.view.ShowCommandFailure("The restart could not be sent to " + ctx_.CommName() + " !");
    sent = false;
  }
  s.AwaitFixLoss = true;

  // After a factory default the receiver may come back at a rate of its own.
  if (kind == kFactoryDefault && sentAny) {
    if (ctx_.BaudRate() == 4800) {
      // The supervisor watches the monitor list: no new line means a new rate.
      s.RestartMarkIndex = ctx_.view.MonitorSelectedIndex();
      s.AwaitFixLoss = false;
      s.RestartMarkSeconds = 0;
      s.RestartMarkLineSeconds = 0;
      ConnectionControl::DelayMs(50);
    } else {
      s.DiscardRxOnce = true;
      ConnectionControl::DelayMs(50);
      ctx_.pipeline.RxBuffer.clear();
      detection_.StartBaudDetection();
    }
  }
  ctx_.view.SetPanelText(5, "");
  s.FirstFixTiming = true;
  s.FirstFixSeconds = 0;
  return sent;
}

bool ReceiverCommands::SendRestart(const ReceiverFamily& family, TRestartKind kind) {
  bool sent = true;
  for (const std::string& message : family.RestartMessages(kind)) {
    if (family.LogsRestarts()) Log(family.SendsText() ? message : BytesToHex(message));
    const bool ok = family.SendsText() ? SendLine(message) : connection_.SendString(ctx_.Link(), message);
    if (family.LogsRestarts()) Log(ok ? " CMD OK!!" : " CMD Fail!!");
    sent = sent && ok;
  }
  return sent;
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
    view.ShowCommandFailure("\"" + command + "\" could not be sent: Send Data Fail !!");
  }
  const std::vector<std::string> history = view.CommandHistory();
  const bool known = std::any_of(history.begin(), history.end(),
                                 [&](const std::string& item) { return SameTextIgnoringCase(item, full); });
  if (!known) view.InsertCommandHistory(full);
}

void ReceiverCommands::SendAnnotatedCommand(std::string_view text) { SendAnnotated(text); }

bool ReceiverCommands::SendAnnotated(std::string_view text) {
  const std::string command = StripAnnotation(text);
  if (command.empty()) return true;
  const bool sent = SendLine(command);
  Log(sent ? "...[" + command + "]....Send TMC CMD Success !!" : "Send TMC Cmd Fail !!");
  return sent;
}

void ReceiverCommands::TBTPClick() {
  ctx_.state.PowerReplyWatch = true;
  ctx_.state.PowerReplyCount = 3;
  if (!SendAnnotated(kTricklePowerCommand))
    ctx_.view.ShowCommandFailure("The trickle-power command could not be sent: Send TMC Cmd Fail !!");
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
  // The receivers of today answer their own queries: u-blox 5 to 10, MediaTek.
  connection_.SendString(ctx_.Link(), kUBXMonVerPoll);
  SendAnnotatedCommand(kMediaTekVersionQuery);
}

void ReceiverCommands::Button20Click() {
  if (connection_.SendString(ctx_.Link(), kSiRFSwitchToNMEA4800Frame)) Log(" CMD OK!!");
}

void ReceiverCommands::ButtonTestClick() {
  for (const std::string& line : SiRFSelfTestLines(kSelfTestFrameHex)) Log(line);
}

}  // namespace orlimo
