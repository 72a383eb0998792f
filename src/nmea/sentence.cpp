#include "nmea/sentence.h"

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

// Bytes that can begin a tag, so the type search skips digits and commas quickly.
constexpr std::array<bool, 256> kTagStart = [] {
  std::array<bool, 256> t{};
  for (unsigned char c : {'R', 'G', 'V', 'M', 'P'}) t[c] = true;
  return t;
}();

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
  for (std::size_t i = 0; i + 3 <= line.size(); ++i) {
    if (!kTagStart[static_cast<unsigned char>(line[i])]) continue;
    const char a = line[i], b = line[i + 1], c = line[i + 2];
    int t = 0;
    switch (a) {
      case 'R': t = (b == 'M' && c == 'C') ? stRMC : 0; break;
      case 'G':
        if (b == 'G' && c == 'A') t = stGGA;
        else if (b == 'L' && c == 'L') t = stGLL;
        else if (b == 'S' && c == 'A') t = stGSA;
        else if (b == 'S' && c == 'V') t = stGSV;
        break;
      case 'V': t = (b == 'T' && c == 'G') ? stVTG : 0; break;
      case 'M': t = (b == 'S' && c == 'S') ? stMSS : 0; break;
      case 'P':
        if (b == 'Q' && c == 'Y') t = stPQY;
        else if (b == 'Q' && c == 'X') t = stPQX;
        break;
      default: break;
    }
    if (t != 0 && t < best) {
      best = t;
      if (best == stRMC) break;
    }
  }
  return best == kSentenceTypeCount ? stNIL : static_cast<TSentenceType>(best);
}

}  // namespace orlimo
