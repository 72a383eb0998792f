#include "nmea/sentence.h"

#include <algorithm>
#include <cstring>

namespace orlimo {
namespace {

constexpr char kHexUpper[] = "0123456789ABCDEF";

// XOR of all bytes, eight at a time: this runs over every received line.
std::uint8_t XorOf(std::string_view s) {
  std::uint64_t wide = 0;
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t chunk;
    std::memcpy(&chunk, s.data() + i, 8);
    wide ^= chunk;
  }
  for (int shift = 32; shift >= 8; shift /= 2) wide ^= wide >> shift;
  auto x = static_cast<std::uint8_t>(wide);
  for (; i < s.size(); ++i) x ^= static_cast<unsigned char>(s[i]);
  return x;
}

// The type tags are three upper-case letters. Looking at the last byte of a
// three-byte window, the search may move on by as many bytes as no tag could end
// there: 3 past a byte in no tag (digits, commas), 0 at a byte some tag ends with
// (then the window is checked and the search moves on by one).
constexpr std::array<std::uint8_t, 256> kTagShift = [] {
  std::array<std::uint8_t, 256> shift{};
  shift.fill(3);
  for (std::size_t t = 1; t < SentenceTags.size(); ++t) {
    for (std::size_t j = 0; j < 3; ++j) {
      const auto c = static_cast<unsigned char>(SentenceTags[t][j]);
      shift[c] = std::min<std::uint8_t>(shift[c], static_cast<std::uint8_t>(2 - j));
    }
  }
  return shift;
}();

// The type whose tag the three bytes spell; 0 for none.
int TagAt(const char* p) {
  const char a = p[0], b = p[1], c = p[2];
  switch (a) {
    case 'R': return (b == 'M' && c == 'C') ? stRMC : 0;
    case 'G':
      if (b == 'G' && c == 'A') return stGGA;
      if (b == 'L' && c == 'L') return stGLL;
      if (b == 'S' && c == 'A') return stGSA;
      if (b == 'S' && c == 'V') return stGSV;
      return 0;
    case 'V': return (b == 'T' && c == 'G') ? stVTG : 0;
    case 'M': return (b == 'S' && c == 'S') ? stMSS : 0;
    case 'P':
      if (b == 'Q' && c == 'Y') return stPQY;
      if (b == 'Q' && c == 'X') return stPQX;
      return 0;
    default: return 0;
  }
}

bool HexMatches(std::uint8_t value, char hi, char lo) {
  return kHexUpper[value >> 4] == hi && kHexUpper[value & 0x0F] == lo;
}

}  // namespace

bool ChecksumMatches(std::string_view line) {
  const std::size_t n = line.size();
  if (n < 2) return false;
  const std::uint8_t x = n < 5 ? 0 : XorOf(line.substr(1, n - 4));
  return HexMatches(x, line[n - 2], line[n - 1]);
}

bool IsValidSentence(std::string_view line) {
  const std::size_t n = line.size();
  if (n < 4 || line[0] != '$' || line[n - 3] != '*') return false;
  return HexMatches(XorOf(line.substr(1, n - 4)), line[n - 2], line[n - 1]);
}

std::size_t SentenceStart(std::string_view line) { return line.rfind('$'); }

std::string NMEAChecksumSuffix(std::string_view text) {
  const std::uint8_t x = text.size() < 2 ? 0 : XorOf(text.substr(1));
  return std::string{'*', kHexUpper[x >> 4], kHexUpper[x & 0x0F]};
}

TSentenceType GetSentenceType(std::string_view line) {
  // One pass over the line; a tag earlier in the table wins wherever it occurs.
  int best = kSentenceTypeCount;
  const char* p = line.data();
  const std::size_t n = line.size();
  for (std::size_t end = 2; end < n;) {  // the window is p[end - 2 .. end]
    const std::uint8_t shift = kTagShift[static_cast<unsigned char>(p[end])];
    if (shift != 0) {
      end += shift;
      continue;
    }
    const int t = TagAt(p + end - 2);
    if (t != 0 && t < best) {
      best = t;
      if (best == stRMC) break;
    }
    ++end;
  }
  return best == kSentenceTypeCount ? stNIL : static_cast<TSentenceType>(best);
}

}  // namespace orlimo
