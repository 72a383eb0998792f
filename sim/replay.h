// A captured receiver log cut into output cycles for playing back.
//
// The capture is a raw byte stream: NMEA text and binary frames exactly as received,
// plus '#' comment lines of the capture format, which are dropped. The stream is cut
// into records (a sentence with its line end, a SiRF or UBX frame, or a run of other
// bytes), and a new cycle begins at the first record that repeats one already in the
// current cycle (a GSV message counts with its number, a frame with its message ID).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlimo {

// The capture's bytes without its comment lines.
std::string StripCaptureComments(std::string_view capture);

// Cycles of the capture, each a run of bytes to send together; never empty strings.
std::vector<std::string> SplitIntoCycles(std::string_view stream);

// Reads and splits a capture file; nullopt when it cannot be read or holds nothing.
std::optional<std::vector<std::string>> LoadReplay(const std::string& path);

}  // namespace orlimo
