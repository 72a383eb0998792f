// Sentence framing: the validity test, the checksum, and the type table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlimo {

// Sentence type numbers; they index the monitor colours and SentenceSeen.
enum TSentenceType : std::uint8_t {
  stNIL = 0,
  stRMC = 1,
  stGGA = 2,
  stGLL = 3,
  stGSA = 4,
  stGSV = 5,
  stVTG = 6,
  stMSS = 7,
  stPQY = 8,  // the maker's second proprietary family ("$PQY...")
  stPQX = 9,  // the maker's first proprietary family ("$PQX...")
  // Decoded too, but named only by the address field ("$GNZDA,"): GetSentenceType
  // leaves them NIL, so the monitor shows them as any other sentence.
  stZDA = 10,
  stGST = 11,
  stGBS = 12,
};
// NIL and the types whose tag GetSentenceType finds anywhere in a line.
inline constexpr int kTaggedTypeCount = 10;
inline constexpr int kSentenceTypeCount = 13;

inline constexpr std::array<std::string_view, kSentenceTypeCount> SentenceTags = {
    "NIL", "RMC", "GGA", "GLL", "GSA", "GSV", "VTG", "MSS", "PQY", "PQX", "ZDA", "GST", "GBS"};

// Framing and checksum: '$' first, '*' third from the end, and the two upper-case
// hex digits after it equal the XOR of everything between '$' and '*'.
bool IsValidSentence(std::string_view line);

// Where the sentence of a received line starts: at the line's last '$', so whatever
// came before it (the tail of a line cut short, line noise) is dropped; npos when the
// line holds no '$'. The receive pipeline frames the first line of each pass this way.
std::size_t SentenceStart(std::string_view line);

// XOR of characters 2 .. length-3 as two upper-case hex digits, compared with the
// last two characters. Does not look at the '$' or the '*'.
bool ChecksumMatches(std::string_view line);

// "*" and the two upper-case hex digits of the XOR of every character but the first.
std::string NMEAChecksumSuffix(std::string_view text);

// The first tag of types 1..9, in table order, found anywhere in the line; 0 if none.
TSentenceType GetSentenceType(std::string_view line);

// ZDA, GST or GBS when the address field is '$', a two-letter talker (any) and that
// tag; NIL otherwise.
TSentenceType AddressedType(std::string_view line);

}  // namespace orlimo
