// What the satellite views share: the three-state colouring of a satellite
// (not tracked / tracked / used in the fix) and the rules for which slots of
// a satellites-in-view report are shown.
#pragma once

#include <QColor>

#include "nmea/records.h"
#include "nmea/sky_picture.h"

namespace orlimo {

inline constexpr QColor kSatNotTrackedColor{0xFF, 0x80, 0xC0};  // pink
inline constexpr QColor kSatTrackedColor{0x80, 0xBF, 0xFF};     // light blue
inline constexpr QColor kSatUsedColor{0xBB, 0xFF, 0x77};        // light green

enum TSatelliteStateCode : int { kSatNotTracked = 1, kSatTracked = 2, kSatUsed = 3 };

struct TSatelliteState {
  QColor color;
  int state = kSatNotTracked;
};

// State of 1-based `slot` of the report: used when its PRN is among the first
// UsedCount PRNs of the GSA record, else tracked when its C/N0 is above 0, else
// not tracked. Slots outside 1..12 answer "not tracked".
TSatelliteState GetSatelliteState(const TGSVRecord& gsv, const TGSARecord& gsa, int slot);

// A report is complete once its last message arrived; before any GSV both
// counts are 0, which counts as an empty complete report.
inline bool IsCompleteReport(const TGSVRecord& gsv) { return gsv.MsgNum == gsv.TotalMsgs; }

// Whether a satellite has a place in the sky: elevation -90..90, azimuth 0..360.
// Other values come from no receiver and would put a dot where no satellite is.
inline bool HasSkyPosition(const TSatInView& sat) {
  return sat.Elevation >= -90 && sat.Elevation <= 90 && sat.Azimuth >= 0 && sat.Azimuth <= 360;
}

// State of a satellite of the several-constellation sky, by the same rule.
TSatelliteState GetSatelliteState(const TSkySat& sat);

// How many slots to show: SatsInView limited to the 12 stored slots, 0 when negative.
int ShownSlotCount(const TGSVRecord& gsv);

}  // namespace orlimo
