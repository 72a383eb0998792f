// One function per SiRF binary message: the payload (message ID first, without
// start, length, checksum and end) into its record. Each checks the message ID and
// the length before reading any field and returns false, leaving the record
// untouched, when the payload is too short. A longer payload is read.
#pragma once

#include <string_view>

#include "frames/sirf_records.h"

namespace orlimo {

bool DecodeSiRFNavData(std::string_view payload, TSiRFNavData& r);
bool DecodeSiRFTrackerData(std::string_view payload, TSiRFTrackerData& r);
bool DecodeSiRFVersion(std::string_view payload, TSiRFVersion& r);
bool DecodeSiRFGeodeticNav(std::string_view payload, TSiRFGeodeticNav& r);

}  // namespace orlimo
