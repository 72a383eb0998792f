// Which satellite system a sentence or a satellite belongs to, and how a satellite
// number is shown to people. Receivers name the system three ways: the talker
// ("GL"), the system ID of the newer sentence forms (last GSA field), and, under
// the combined talker "GN" or under "GP", the range the satellite number lies in.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orlimo {

enum class TSatSystem : std::uint8_t {
  Unknown = 0,
  GPS,
  GLONASS,
  Galileo,
  BeiDou,
  QZSS,
  NavIC,
  SBAS,
  Combined,  // the "GN" talker: several systems, the numbers or a system ID tell which
};

// A short name for each system ("GPS", "GLONASS", ..., "unknown", "combined").
std::string_view SatSystemName(TSatSystem system);

// The system of the sentence's talker: GP GL GA GB/BD GQ/QZ/PQ GI, and GN as
// Combined. The talker is the two characters after the '$'; anything else is Unknown.
TSatSystem TalkerSystem(std::string_view sentence);

// The system ID of the newer sentence forms: 1 GPS, 2 GLONASS, 3 Galileo,
// 4 BeiDou, 5 QZSS, 6 NavIC; anything else is Unknown.
TSatSystem SystemFromId(int systemId);

// The system of a satellite number as receivers number them under "GN" or "GP":
// 1-32 GPS, 33-64 and 120-158 SBAS, 65-96 GLONASS, 193-200 QZSS, 201-237 and
// 401-437 BeiDou, 301-336 Galileo. QZSS's 201 and 202 share BeiDou's range and are
// read as BeiDou here; the talker settles them. Anything else is Unknown.
TSatSystem SystemFromNumber(int number);

// The system of a sentence, or of one satellite in it (number 0: none at hand).
// A system ID (1-6) decides. Otherwise a talker naming one system does, unless the
// number lies in another system's range above 64 (no system numbers its own
// satellites that high), so a GLONASS satellite listed under another talker is
// still GLONASS. Under "GN", "GP" or an unknown talker the number range decides;
// "GP" without a telling number is GPS, "GN" without one stays Combined.
TSatSystem SentenceSystem(std::string_view sentence, int systemId, int number);

// A satellite's number within its system, as its users read it: Galileo 311 is 11,
// BeiDou 223 and 423 are 23, QZSS 194 is 2, SBAS 33 is 120. GLONASS keeps the
// 65-96 that every sentence gives it; other numbers stay as they are.
int SatNumberInSystem(TSatSystem system, int number);

// A satellite's number the way users read it: a letter per system and the number
// within the system, at least two digits: G05, R07 (GLONASS 71: its slot), E11 (11 or 311), C23 (23, 223
// or 423), J02 (2 or 194), I05, S120 (SBAS 33 or 120). Unknown or Combined systems
// show the number alone. Fits in a fixed buffer; no allocation.
class TSatName {
 public:
  TSatName(TSatSystem system, int number);
  std::string_view View() const { return {text_.data(), size_}; }
  bool operator==(std::string_view s) const { return View() == s; }

 private:
  std::array<char, 16> text_{};
  std::uint8_t size_ = 0;
};

}  // namespace orlimo
