#include "session/receiver_clues.h"

#include <array>
#include <cctype>
#include <utility>

namespace orlimo {
namespace {

constexpr auto npos = std::string_view::npos;

bool Printable(char c) { return c >= ' ' && c <= '~'; }


// A zero-padded string field of a binary reply.
std::string_view FixedText(std::string_view payload, std::size_t at, std::size_t size) {
  std::string_view field = payload.substr(at, size);
  std::size_t end = 0;
  while (end < field.size() && Printable(field[end])) ++end;
  return TrimBlanks(field.substr(0, end));
}

bool IsHex8(std::string_view token) {
  if (token.size() != 8) return false;
  for (char c : token)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool Learn(std::string& field, std::string_view value) {
  value = TrimBlanks(value);
  if (value.empty() || field == value) return false;
  field = value;
  return true;
}

// "ROM CORE 2.01 (75331) Oct 29 2013 13:28:17" without its build date.
std::string_view CoreWithoutDate(std::string_view line) {
  const std::size_t close = line.find(')');
  if (close != npos) return line.substr(0, close + 1);
  std::size_t end = 0;
  for (int tokens = 0; end < line.size() && tokens < 3; ++tokens) {
    while (end < line.size() && line[end] == ' ') ++end;
    while (end < line.size() && line[end] != ' ') ++end;
  }
  return line.substr(0, end);
}

// One banner line or MON-VER string.
bool ReadFact(std::string_view line, UBloxClues& clues) {
  line = TrimBlanks(line);
  bool learnt = false;
  if (line.find("u-blox") != npos && !clues.maker) learnt = clues.maker = true;
  if (line.rfind("HW ", 0) == 0 && line.find("UBX") != npos) {
    // "HW UBX-M80xx 00080000": the model, then the hardware version.
    std::string_view rest = TrimBlanks(line.substr(3));
    for (std::size_t at = 0; at < rest.size();) {
      const std::size_t end = std::min(rest.find(' ', at), rest.size());
      const std::string_view token = rest.substr(at, end - at);
      if (IsHex8(token)) {
        learnt |= Learn(clues.hardware, token);
        learnt |= Learn(clues.model, rest.substr(0, at));
        break;
      }
      at = end + 1;
    }
  } else if (line.rfind("ROM CORE", 0) == 0 || line.rfind("EXT CORE", 0) == 0) {
    if (clues.core.empty()) learnt |= Learn(clues.core, CoreWithoutDate(line));
  } else if (line.rfind("FWVER=", 0) == 0) {
    learnt |= Learn(clues.firmware, line.substr(6));
  } else if (line.rfind("PROTVER", 0) == 0) {
    std::string_view v = line.substr(7);
    while (!v.empty() && (v.front() == '=' || v.front() == ' ')) v.remove_prefix(1);
    learnt |= Learn(clues.protocol, v);
  } else if (line.rfind("MOD=", 0) == 0) {
    learnt |= Learn(clues.module, line.substr(4));
  }
  return learnt;
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string_view TextUpTo(std::string_view buffer, std::size_t start, char stop, std::size_t limit) {
  if (start >= buffer.size()) return {};
  std::size_t end = start;
  while (end < buffer.size() && end - start < limit && buffer[end] != stop && Printable(buffer[end])) ++end;
  return buffer.substr(start, end - start);
}

int UBloxClues::ProtocolMajor() const {
  int major = 0;
  for (char c : protocol) {
    if (c < '0' || c > '9') break;
    major = major * 10 + (c - '0');
    if (major > 1000) break;
  }
  return major;
}

std::string_view UBloxGeneration(std::string_view hardware) {
  constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kGenerations = {{
      {"00040005", "5"},
      {"00040007", "6"},
      {"00070000", "7"},
      {"00080000", "M8"},
      {"00190000", "F9"},
      {"000A0000", "M10"},
  }};
  for (const auto& [hw, name] : kGenerations)
    if (hw == hardware) return name;
  return {};
}

std::string UBloxClues::Title() const {
  std::string title = "u-blox";
  const std::string_view generation = UBloxGeneration(hardware);
  const std::string_view hw = !generation.empty() ? generation : !model.empty() ? std::string_view(model) : hardware;
  for (std::string_view part : {hw, std::string_view(module), std::string_view(firmware.empty() ? core : firmware)}) {
    if (!part.empty()) title.append(" ").append(part);
  }
  if (!protocol.empty()) title.append(" PROTVER ").append(protocol);
  if (title.size() > kMaxReceiverTitle) title.resize(kMaxReceiverTitle);
  return title;
}

bool ReadUBloxBanner(std::string_view text, UBloxClues& clues) {
  bool learnt = false;
  // "$GPTXT,01,01,02,text*hh" (or any talker): the text is the fifth field.
  for (std::size_t at = text.find("TXT,"); at != npos; at = text.find("TXT,", at + 4)) {
    if (at < 3 || text[at - 3] != '$') continue;
    std::size_t field = at + 4;
    for (int commas = 0; commas < 3 && field < text.size(); ++field)
      if (text[field] == ',') ++commas;
    const std::string_view line = TextUpTo(text, field, '*', kMaxReceiverTitle);
    if (line.find("ANTARIS") != npos) return false;  // the older receiver, known by its own path
    learnt |= ReadFact(line, clues);
  }
  return learnt;
}

bool ReadMonVer(std::string_view payload, UBloxClues& clues) {
  if (payload.size() < 40) return false;
  clues.maker = true;
  Learn(clues.core, CoreWithoutDate(FixedText(payload, 0, 30)));
  Learn(clues.hardware, FixedText(payload, 30, 10));
  for (std::size_t at = 40; at + 30 <= payload.size(); at += 30) ReadFact(FixedText(payload, at, 30), clues);
  return clues.Named();
}

std::optional<std::string> MediaTekTitle(std::string_view text) {
  const std::size_t at = text.find("$PMTK705,");
  if (at == npos) return std::nullopt;
  const std::string_view reply = TextUpTo(text, at, '*', 2 * kMaxReceiverTitle);
  if (at + reply.size() >= text.size() || text[at + reply.size()] != '*') return std::nullopt;  // not all in yet
  // $PMTK705,release,build,model,...
  std::array<std::string_view, 4> fields{};
  std::size_t start = 0;
  for (std::size_t i = 0; i < fields.size() && start <= reply.size(); ++i) {
    const std::size_t comma = std::min(reply.find(',', start), reply.size());
    fields[i] = TrimBlanks(reply.substr(start, comma - start));
    start = comma + 1;
  }
  std::string title = "MediaTek";
  for (std::string_view part : {fields[1], fields[3]})
    if (!part.empty()) title.append(" ").append(part);
  if (title.size() > kMaxReceiverTitle) title.resize(kMaxReceiverTitle);
  return title;
}

bool HasMediaTekStartup(std::string_view text) {
  return text.find("$PMTK011,MTKGPS") != npos || text.find("$PMTK010,") != npos;
}

}  // namespace orlimo
