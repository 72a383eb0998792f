#include "nmea/satellite_system.h"

#include <cstdio>

namespace orlimo {
namespace {

bool In(int n, int low, int high) { return n >= low && n <= high; }

}  // namespace

std::string_view SatSystemName(TSatSystem system) {
  switch (system) {
    case TSatSystem::GPS: return "GPS";
    case TSatSystem::GLONASS: return "GLONASS";
    case TSatSystem::Galileo: return "Galileo";
    case TSatSystem::BeiDou: return "BeiDou";
    case TSatSystem::QZSS: return "QZSS";
    case TSatSystem::NavIC: return "NavIC";
    case TSatSystem::SBAS: return "SBAS";
    case TSatSystem::Combined: return "combined";
    case TSatSystem::Unknown: break;
  }
  return "unknown";
}

TSatSystem TalkerSystem(std::string_view sentence) {
  if (sentence.size() < 3 || sentence[0] != '$') return TSatSystem::Unknown;
  const std::string_view t = sentence.substr(1, 2);
  if (t == "GP") return TSatSystem::GPS;
  if (t == "GL") return TSatSystem::GLONASS;
  if (t == "GA") return TSatSystem::Galileo;
  if (t == "GB" || t == "BD") return TSatSystem::BeiDou;
  if (t == "GQ" || t == "QZ" || t == "PQ") return TSatSystem::QZSS;
  if (t == "GI") return TSatSystem::NavIC;
  if (t == "GN") return TSatSystem::Combined;
  return TSatSystem::Unknown;
}

TSatSystem SystemFromId(int systemId) {
  switch (systemId) {
    case 1: return TSatSystem::GPS;
    case 2: return TSatSystem::GLONASS;
    case 3: return TSatSystem::Galileo;
    case 4: return TSatSystem::BeiDou;
    case 5: return TSatSystem::QZSS;
    case 6: return TSatSystem::NavIC;
    default: return TSatSystem::Unknown;
  }
}

TSatSystem SystemFromNumber(int n) {
  if (In(n, 1, 32)) return TSatSystem::GPS;
  if (In(n, 33, 64) || In(n, 120, 158)) return TSatSystem::SBAS;
  if (In(n, 65, 96)) return TSatSystem::GLONASS;
  if (In(n, 193, 200)) return TSatSystem::QZSS;
  if (In(n, 201, 237) || In(n, 401, 437)) return TSatSystem::BeiDou;
  if (In(n, 301, 336)) return TSatSystem::Galileo;
  return TSatSystem::Unknown;
}

TSatSystem SentenceSystem(std::string_view sentence, int systemId, int number) {
  const TSatSystem byId = SystemFromId(systemId);
  if (byId != TSatSystem::Unknown) return byId;
  const TSatSystem talker = TalkerSystem(sentence);
  const TSatSystem byNumber = SystemFromNumber(number);
  switch (talker) {
    case TSatSystem::GPS:
      return byNumber != TSatSystem::Unknown ? byNumber : TSatSystem::GPS;
    case TSatSystem::Combined:
      return byNumber != TSatSystem::Unknown ? byNumber : TSatSystem::Combined;
    case TSatSystem::Unknown:
      return byNumber;
    default:
      break;
  }
  // A talker of one system. QZSS numbers 201 and 202 fall in BeiDou's range.
  if (talker == TSatSystem::QZSS && In(number, 193, 202)) return talker;
  if (number > 64 && byNumber != TSatSystem::Unknown) return byNumber;
  return talker;
}

int SatNumberInSystem(TSatSystem system, int n) {
  switch (system) {
    case TSatSystem::Galileo: return In(n, 301, 336) ? n - 300 : n;
    case TSatSystem::BeiDou:
      if (In(n, 201, 263)) return n - 200;
      return In(n, 401, 463) ? n - 400 : n;
    case TSatSystem::QZSS: return In(n, 193, 202) ? n - 192 : n;
    case TSatSystem::SBAS: return In(n, 33, 64) ? n + 87 : n;
    default: return n;  // GLONASS keeps 65-96: the number its users see in every sentence
  }
}

TSatName::TSatName(TSatSystem system, int n) {
  char letter = 0;
  switch (system) {
    case TSatSystem::GPS: letter = 'G'; break;
    case TSatSystem::GLONASS: letter = 'R'; break;
    case TSatSystem::Galileo: letter = 'E'; break;
    case TSatSystem::BeiDou: letter = 'C'; break;
    case TSatSystem::QZSS: letter = 'J'; break;
    case TSatSystem::NavIC: letter = 'I'; break;
    case TSatSystem::SBAS: letter = 'S'; break;
    case TSatSystem::Unknown:
    case TSatSystem::Combined: break;
  }
  // GLONASS goes by its slot, as in RINEX and the makers' tools: NMEA's 65-96 less 64.
  int within = SatNumberInSystem(system, n);
  if (system == TSatSystem::GLONASS && within > 64 && within <= 96) within -= 64;
  const int written = letter != 0
                          ? std::snprintf(text_.data(), text_.size(), "%c%02d", letter, within)
                          : std::snprintf(text_.data(), text_.size(), "%d", within);
  size_ = static_cast<std::uint8_t>(written < 0 ? 0 : written);
}

}  // namespace orlimo
