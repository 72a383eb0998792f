// One decoded UBX or SiRF binary frame as a JSON object on one line, in the style
// of the sentences' objects: "type" is the message's key ("UBX-NAV-PVT", "SIRF-41"),
// then the record's values in degrees, metres, metres per second and seconds, null
// for a value the receiver marked as not valid. A frame the decoder does not read
// gives its payload "length"; one it reads but found too short, "malformed":true.
#pragma once

#include <string>

#include "frames/sirf_decoder.h"
#include "frames/ubx_decoder.h"

namespace orlimo {

// `d` was just returned by `ubx.Decode` (or `sirf.Decode`) for a valid frame.
std::string UBXFrameJson(const TUBXDecoder& ubx, const TUBXDecoded& d);
std::string SiRFFrameJson(const TSiRFDecoder& sirf, const TSiRFDecoded& d);

}  // namespace orlimo
