#include "app/views/satellite_state.h"

#include <algorithm>

namespace orlimo {

TSatelliteState GetSatelliteState(const TGSVRecord& gsv, const TGSARecord& gsa, int slot) {
  if (slot < 1 || slot > static_cast<int>(gsv.Sats.size())) return {kSatNotTrackedColor, kSatNotTracked};
  const TSatInView& sat = gsv.Sats[static_cast<std::size_t>(slot - 1)];
  // UsedCount comes from the decoder, but never read past the 12 stored PRNs.
  const std::size_t used = std::min<std::size_t>(gsa.UsedCount, gsa.UsedPRN.size());
  for (std::size_t i = 0; i < used; ++i)
    if (sat.PRN == static_cast<std::int16_t>(gsa.UsedPRN[i])) return {kSatUsedColor, kSatUsed};
  if (sat.SNR > 0) return {kSatTrackedColor, kSatTracked};
  return {kSatNotTrackedColor, kSatNotTracked};
}

TSatelliteState GetSatelliteState(const TSkySat& sat) {
  if (sat.Used) return {kSatUsedColor, kSatUsed};
  if (sat.SNR > 0) return {kSatTrackedColor, kSatTracked};
  return {kSatNotTrackedColor, kSatNotTracked};
}

int ShownSlotCount(const TGSVRecord& gsv) {
  return std::clamp<int>(gsv.SatsInView, 0, static_cast<int>(gsv.Sats.size()));
}

}  // namespace orlimo
