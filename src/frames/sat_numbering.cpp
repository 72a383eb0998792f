#include "frames/sat_numbering.h"

namespace orlimo {
namespace {

bool In(int n, int low, int high) { return n >= low && n <= high; }

TSatId Sat(TSatSystem system, int number) { return {system, static_cast<std::uint8_t>(number)}; }

}  // namespace

TSatId SatFromGnssId(int gnssId, int svId) {
  if (!In(svId, 0, 255)) return {};
  switch (gnssId) {
    case 0: return Sat(TSatSystem::GPS, svId);
    case 1: return Sat(TSatSystem::SBAS, svId);
    case 2: return Sat(TSatSystem::Galileo, svId);
    case 3: return Sat(TSatSystem::BeiDou, svId);
    case 5: return Sat(TSatSystem::QZSS, svId);
    case 6: return Sat(TSatSystem::GLONASS, svId == 255 ? 0 : svId);
    case 7: return Sat(TSatSystem::NavIC, svId);
    default: return Sat(TSatSystem::Unknown, svId);
  }
}

TSatId SatFromUBXSvid(int svid) {
  if (In(svid, 1, 32)) return Sat(TSatSystem::GPS, svid);
  if (In(svid, 33, 64)) return Sat(TSatSystem::BeiDou, svid - 27);
  if (In(svid, 65, 96)) return Sat(TSatSystem::GLONASS, svid - 64);
  if (In(svid, 120, 158)) return Sat(TSatSystem::SBAS, svid);
  if (In(svid, 159, 163)) return Sat(TSatSystem::BeiDou, svid - 158);
  if (In(svid, 193, 202)) return Sat(TSatSystem::QZSS, svid - 192);
  if (In(svid, 211, 246)) return Sat(TSatSystem::Galileo, svid - 210);
  if (svid == 255) return Sat(TSatSystem::GLONASS, 0);
  return In(svid, 0, 255) ? Sat(TSatSystem::Unknown, svid) : TSatId{};
}

TSatId SatFromSiRFSvid(int svid) {
  if (In(svid, 1, 32)) return Sat(TSatSystem::GPS, svid);
  if (In(svid, 120, 158)) return Sat(TSatSystem::SBAS, svid);
  return In(svid, 0, 255) ? Sat(TSatSystem::Unknown, svid) : TSatId{};
}

int NMEASatNumber(TSatId sat) {
  switch (sat.System) {
    case TSatSystem::GLONASS: return sat.Number == 0 ? 0 : sat.Number + 64;
    case TSatSystem::SBAS: return In(sat.Number, 120, 151) ? sat.Number - 87 : sat.Number;
    default: return sat.Number;
  }
}

}  // namespace orlimo
