// One decoded sentence as a JSON object on one line: its type and the record it
// produced (times, coordinates, satellites; for GSA and GSV the satellite system and
// the system or signal ID of the newer sentence forms, null when not sent). A value
// whose field was empty or unreadable is null, never 0 (the satellites' slots of GSA
// and GSV keep their zeros).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "nmea/decoder.h"

namespace orlimo {

// `line` was just decoded by `nmea` as `type`.
std::string SentenceToJson(const TqvNMEA& nmea, TSentenceType type, std::string_view line);

// The same object written at `out`, which has SentenceJsonRoom(line) bytes of room;
// returns the end of what was written. nmeadump writes every line so, into one buffer.
char* WriteSentenceJson(char* out, const TqvNMEA& nmea, TSentenceType type, std::string_view line);
std::size_t SentenceJsonRoom(std::string_view line);

// A JSON string literal; bytes 0x80-0xFF are taken as Latin-1.
std::string JsonString(std::string_view bytes);

}  // namespace orlimo
