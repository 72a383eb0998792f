#include "session/receiver_identification.h"

#include <algorithm>
#include <cstdio>

#include "frames/hex.h"
#include "frames/ubx_frame.h"
#include "nmea/fields.h"
#include "session/connection_control.h"
#include "session/receiver_clues.h"
#include "session/session_context.h"

namespace orlimo {
namespace {

constexpr auto npos = std::string_view::npos;

bool Contains(std::string_view buffer, std::string_view text) { return buffer.find(text) != npos; }

std::uint8_t Byte(std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

}  // namespace

std::string UBXMessageRatePoll(std::uint8_t id) {
  return BuildUBXFrame(0x06, 0x01, std::string{'\xF0', static_cast<char>(id)});
}

void ReceiverIdentification::CheckFirmwareReply(std::string_view buffer) {
  SessionState& s = ctx_.state;
  if (s.VersionKnown) return;
  if (s.VersionQueryPending) {
    ctx_.view.AppendTrace(2, "  ==> CkFWVer !");
    if (Contains(buffer, "u-blox") && Contains(buffer, "ANTARIS")) {
      IdentifyUBlox(buffer);
      return;
    }
    if (!s.TMCPresent && Contains(buffer, "PQYTQ")) s.TMCPresent = true;
    ShowPowerMode(buffer);
    if (Contains(buffer, "GSW") && Contains(buffer, "PQXR,201") && IdentifySiRF(buffer)) return;
  }
  ReadOwnWords(buffer);
  // Otherwise the supervisor asks again.
}

void ReceiverIdentification::ReadOwnWords(std::string_view buffer) {
  ReceiverClues& clues = ctx_.state.Clues;
  if (const auto title = MediaTekTitle(buffer)) {
    Identify(kMediaTekReceiver, *title);
    return;
  }
  if (HasMediaTekStartup(buffer)) {
    clues.mediaTekStartup = true;
    clues.mediaTekQuietPasses = 0;
  } else if (clues.mediaTekStartup && ++clues.mediaTekQuietPasses > kQuietPassesToName) {
    Identify(kMediaTekReceiver, "MediaTek");  // it said what it is, not which firmware
    return;
  }

  UBloxClues& ublox = clues.ublox;
  const std::string_view monVer = FindUBXFrame(buffer, 0x0A, 0x04);
  const bool replied = !monVer.empty() && ReadMonVer(UBXPayload(monVer), ublox);
  const bool learnt = ReadUBloxBanner(buffer, ublox);
  if (!ublox.Named()) return;
  ublox.quietPasses = learnt ? 0 : ublox.quietPasses + 1;
  if (replied || ublox.Complete() || ublox.quietPasses >= kQuietPassesToName) Identify(kUBloxReceiver, ublox.Title());
}

void ReceiverIdentification::Identify(TReceiverKind kind, const std::string& firmware) {
  SessionState& s = ctx_.state;
  s.ReceiverKind = kind;
  ctx_.view.AppendTrace(4, " FWVer: [" + firmware + "]" + std::to_string(s.SessionSeconds));
  ShowFirmware(firmware);
  s.VersionKnown = true;
  s.VersionQueryPending = false;
  if (FamilyOf(kind).SpeaksUBX()) PollNMEARates();
  EnableControlsUnlessPaused();
}

void ReceiverIdentification::PollNMEARates() {
  // Ask the output rate of each NMEA message, back to back.
  for (std::uint8_t id : kPolledNMEAMessages) {
    const std::string poll = UBXMessageRatePoll(id);
    ctx_.view.AppendTrace(1, "suQryMsg:" + BytesToHex(poll));
    connection_.SendString(ctx_.Link(), poll);
  }
}

void ReceiverIdentification::IdentifyUBlox(std::string_view buffer) {
  SessionState& s = ctx_.state;
  s.ReceiverKind = kANTARISReceiver;
  // The hardware text runs to the end of its sentence; the ROM text is the 15
  // characters after "ROM CORE". Neither reaches past its line.
  const std::string_view hardware = TextUpTo(buffer, buffer.find("ANTARIS"), '*', kMaxReplyText);
  std::string rom;
  const std::size_t romAt = buffer.find("ROM CORE");
  if (romAt != npos) rom = TrimBlanks(TextUpTo(buffer, romAt + 8, '\0', 15));
  ShowFirmware(std::string(hardware) + "_V:" + rom);
  s.VersionKnown = true;
  s.VersionQueryPending = false;
  PollNMEARates();
  EnableControlsUnlessPaused();
}

bool ReceiverIdentification::IdentifySiRF(std::string_view buffer) {
  SessionState& s = ctx_.state;
  // The reply sentence from its "$" (when there is one) through "*" and checksum.
  std::size_t at = buffer.find("PQXR,201");
  if (at > 0 && buffer[at - 1] == '$') --at;
  const std::string_view reply = TextUpTo(buffer, at, '*', kMaxReplyText * 2);
  if (at + reply.size() >= buffer.size() || buffer[at + reply.size()] != '*') {
    return false;  // the line is not complete yet: it is read whole in the next pass
  }
  const std::size_t gsw = reply.find("GSW");
  const std::string version(gsw == npos ? std::string_view{} : TextUpTo(reply, gsw, '*', kMaxReplyText));
  s.ReceiverKind = kSiRFReceiver;
  ctx_.view.AppendTrace(4, " FWVer: [" + version + "]" + std::to_string(s.SessionSeconds));
  ShowFirmware(version);
  s.VersionKnown = true;
  s.VersionQueryPending = false;
  EnableControlsUnlessPaused();
  return true;
}

void ReceiverIdentification::EnableControlsUnlessPaused() {
  // While paused the commands stay off; resuming opens them, the receiver now known.
  if (!ctx_.state.Paused) connection_.EnableSessionControls();
}

void ReceiverIdentification::ShowFirmware(const std::string& firmware) {
  ctx_.view.SetWindowTitle(ctx_.edition.Title() + " (" + firmware + ")");
  ctx_.view.SetRestartUnavailableReason("");
}

void ReceiverIdentification::WatchPowerReply(std::string_view buffer) {
  SessionState& s = ctx_.state;
  if (!s.PowerReplyWatch) return;
  ctx_.view.AppendTrace(4, "<TP Cnt>" + std::to_string(s.PowerReplyCount));
  if (--s.PowerReplyCount <= 0) s.PowerReplyWatch = false;
  ShowPowerMode(buffer);
}

void ReceiverIdentification::ShowPowerMode(std::string_view buffer) {
  const std::size_t at = buffer.find("$PQXR,200,1");
  if (at == npos) return;
  // The reply through its "*", when the "*" ends it on the same line.
  std::string_view reply = TextUpTo(buffer, at, '*', kMaxReplyText * 2);
  const std::size_t end = at + reply.size();
  reply = end < buffer.size() && buffer[end] == '*' ? buffer.substr(at, reply.size() + 1) : std::string_view{};
  ctx_.view.AppendTrace(4, "<TP:>" + std::string(reply));
  if (CountSeparators(reply, CommaSeparator) == 3) {
    ctx_.view.SetPanelText(7, "[1000/1000]");
  } else {
    std::string mode = "[";
    mode.append(GetField(5, reply, CommaSeparator)).append("/").append(GetField(6, reply, CommaSeparator));
    ctx_.view.SetPanelText(7, mode + "]");
  }
}

void ReceiverIdentification::ScanUBXFrames(std::string_view buffer) {
  const std::size_t n = buffer.size();
  std::size_t from = 0;
  if (!handledTail_.empty() && buffer.substr(0, handledTail_.size()) == handledTail_) from = handledTail_.size();
  std::size_t handledTo = from;
  std::size_t p = buffer.find("\xB5\x62", from);
  while (p != npos && n > p + 7) {
    const std::size_t length = Byte(buffer, p + 4) | Byte(buffer, p + 5) << 8;
    const std::size_t end = p + length + 8;  // one past the checksum
    if (end > n) break;                      // the rest comes with the next pass
    const std::string_view body = buffer.substr(p + 2, length + 4);
    const auto ck = UBXChecksum(body);
    if (ck[0] == Byte(buffer, end - 2) && ck[1] == Byte(buffer, end - 1)) {
      HandleUBXMessage(body, static_cast<std::uint16_t>(length));
      handledTo = end;
      p = buffer.find("\xB5\x62", end);
    } else {
      // Not a frame after all (sync bytes in other data): a real one may start inside.
      p = buffer.find("\xB5\x62", p + 2);
    }
  }
  // The pass keeps what follows the last line end for the next one.
  const std::size_t crlf = buffer.rfind("\r\n");
  const std::size_t kept = crlf == npos ? 0 : crlf + 2;
  handledTail_.assign(handledTo > kept ? buffer.substr(kept, handledTo - kept) : std::string_view{});
}

void ReceiverIdentification::HandleUBXMessage(std::string_view body, std::uint16_t length) {
  if (body.size() < 4) return;
  const std::uint8_t cls = Byte(body, 0), id = Byte(body, 1);
  char line[96];
  if (cls == 0x06 && id == 0x01 && length >= 4 && body.size() >= 8) {
    // CFG-MSG: payload byte 1 the NMEA message, byte 3 its rate on the second target.
    const std::uint8_t message = Byte(body, 5) & 0x7F;
    const int rate = Byte(body, 7);
    const std::string name = message < std::size(kUBXMessageNames)
                                 ? std::string(kUBXMessageNames[message])
                                 : "uMsg" + std::to_string(message);
    std::snprintf(line, sizeof line, "%.2X %.2X Len:%d, %s(%d)", cls, id, length, name.c_str(), rate);
    if (rate != 0) ctx_.state.UBXSilenceLimit = std::min(ctx_.state.UBXSilenceLimit, rate);
  } else {
    std::snprintf(line, sizeof line, "%.2X %.2X Len:%d", cls, id, length);
  }
  ctx_.view.AppendTrace(4, line);
}

}  // namespace orlimo
