#include "nmea/sentence.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orlimo {
namespace {

constexpr char kHexUpper[] = "0123456789ABCDEF";

#if defined(__SSE2__)
__m128i LoadBlock(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Zeros, then ones: the 16 bytes from kFresh + n keep the last n bytes of a block.
constexpr unsigned char kFresh[32] = {0,    0,    0,    0,    0,    0,    0,    0,
                                      0,    0,    0,    0,    0,    0,    0,    0,
                                      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
__m128i LastBytes(const __m128i block, std::size_t n) {
  return _mm_and_si128(block, LoadBlock(reinterpret_cast<const char*>(kFresh) + n));
}

// The XOR of a block's sixteen bytes.
std::uint8_t FoldXor(__m128i x) {
  x = _mm_xor_si128(x, _mm_srli_si128(x, 8));
  x = _mm_xor_si128(x, _mm_srli_si128(x, 4));
  x = _mm_xor_si128(x, _mm_srli_si128(x, 2));
  x = _mm_xor_si128(x, _mm_srli_si128(x, 1));
  return static_cast<std::uint8_t>(_mm_cvtsi128_si32(x));
}

// Sixteen bytes or more, a block at a time; the last block overlaps the one before
// it, and only its bytes not seen yet count.
std::uint8_t XorOfBlocks(std::string_view s) {
  __m128i x = _mm_setzero_si128();
  std::size_t i = 0;
  for (; i + 16 <= s.size(); i += 16) x = _mm_xor_si128(x, LoadBlock(s.data() + i));
  if (i < s.size()) x = _mm_xor_si128(x, LastBytes(LoadBlock(s.data() + s.size() - 16), s.size() - i));
  return FoldXor(x);
}
#endif

// XOR of all bytes, eight (with SSE2 sixteen) at a time: this runs over every received line.
std::uint8_t XorOf(std::string_view s) {
#if defined(__SSE2__)
  if (s.size() >= 16) return XorOfBlocks(s);
#endif
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
  for (std::size_t t = 1; t < kTaggedTypeCount; ++t) {
    for (std::size_t j = 0; j < 3; ++j) {
      const auto c = static_cast<unsigned char>(SentenceTags[t][j]);
      shift[c] = std::min<std::uint8_t>(shift[c], static_cast<std::uint8_t>(2 - j));
    }
  }
  return shift;
}();

// Three bytes as one number, the first the lowest (as a little-endian load reads them).
constexpr std::uint32_t TagKey(const char* p) {
  return static_cast<unsigned char>(p[0]) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(p[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(p[2])) << 16;
}

// The tags hashed into 16 slots, one tag in each at most (checked below): a window is
// looked up with one multiplication and one comparison.
constexpr std::uint32_t kTagHash = 0xC324C985;
constexpr unsigned TagSlot(std::uint32_t key) { return (key * kTagHash) >> 28; }
struct TagSlotEntry {
  std::uint32_t key = 0;
  std::uint8_t type = 0;
};
constexpr std::array<TagSlotEntry, 16> kTagSlots = [] {
  std::array<TagSlotEntry, 16> slots{};
  for (std::size_t t = 1; t < kTaggedTypeCount; ++t) {
    const std::uint32_t key = TagKey(SentenceTags[t].data());
    slots[TagSlot(key)] = {key, static_cast<std::uint8_t>(t)};
  }
  return slots;
}();
static_assert([] {
  for (std::size_t t = 1; t < kTaggedTypeCount; ++t)
    if (kTagSlots[TagSlot(TagKey(SentenceTags[t].data()))].type != t) return false;
  return true;
}(), "two tags share a slot: choose another kTagHash");

// The type whose tag the key spells; 0 for none.
int TagOf(std::uint32_t key) {
  const TagSlotEntry& slot = kTagSlots[TagSlot(key)];
  return slot.key == key ? slot.type : 0;
}

// The type whose tag the three bytes spell; 0 for none.
int TagAt(const char* p) { return TagOf(TagKey(p)); }

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

namespace {

// The best tag (the lowest type) of the line's windows; kTaggedTypeCount for none.
int BestTagByBytes(std::string_view line) {
  int best = kTaggedTypeCount;
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
  return best;
}

#if defined(__SSE2__)
// TagKey with one load, where a fourth byte may be read (SSE2: a little-endian machine).
std::uint32_t LoadedKey(const char* p) {
  std::uint32_t word;
  std::memcpy(&word, p, sizeof word);
  return word & 0xFFFFFF;
}

// Bit k set: p[k] is an upper-case letter, for 32 bytes.
std::uint32_t CapitalsAt(const char* p) {
  // c + (0x80 - 'A'), as a signed byte, is below -128 + 26 for 'A' to 'Z' only.
  const __m128i bias = _mm_set1_epi8(static_cast<char>(0x80 - 'A'));
  const __m128i limit = _mm_set1_epi8(static_cast<char>(-128 + 26));
  const auto capitals = [&](const char* q) {
    return static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_cmplt_epi8(_mm_add_epi8(LoadBlock(q), bias), limit)));
  };
  return capitals(p) | capitals(p + 16) << 16;
}

// The same search for lines of 32 bytes or more. Every tag is three capitals, and
// a sentence holds few such windows (its address field), so only they are looked up,
// found 32 bytes at a time: each step takes the windows that start in its first 30
// bytes; the last step's bytes end with the line, and only its windows not seen yet count.
int BestTagByBlocks(std::string_view line) {
  int best = kTaggedTypeCount;
  const char* p = line.data();
  const std::size_t n = line.size();
  for (std::size_t at = 0;; at += 30) {
    const bool last = at + 32 >= n;
    const std::size_t base = last ? n - 32 : at;
    const std::uint32_t capitals = CapitalsAt(p + base);
    std::uint32_t windows = capitals & capitals >> 1 & capitals >> 2;  // bit k: window at base + k
    if (last) windows &= ~std::uint32_t{0} << (at - base);
    for (; windows != 0; windows &= windows - 1) {
      const std::size_t start = base + static_cast<std::size_t>(std::countr_zero(windows));
      const int t = TagOf(start + 4 <= n ? LoadedKey(p + start) : TagKey(p + start));
      if (t != 0 && t < best) {
        best = t;
        if (best == stRMC) return best;
      }
    }
    if (last) return best;
  }
}
#endif

int BestTag(std::string_view line) {
#if defined(__SSE2__)
  if (line.size() >= 32) return BestTagByBlocks(line);
#endif
  return BestTagByBytes(line);
}

}  // namespace

TSentenceType GetSentenceType(std::string_view line) {
  // One pass over the line; a tag earlier in the table wins wherever it occurs.
  const int best = BestTag(line);
  return best == kTaggedTypeCount ? stNIL : static_cast<TSentenceType>(best);
}

TSentenceType AddressedType(std::string_view line) {
  const auto letter = [](char c) { return c >= 'A' && c <= 'Z'; };
  if (line.size() < 7 || line[0] != '$' || !letter(line[1]) || !letter(line[2]) ||
      (line[6] != ',' && line[6] != '*'))
    return stNIL;
  const std::string_view tag = line.substr(3, 3);
  for (int t = kTaggedTypeCount; t < kSentenceTypeCount; ++t) {
    if (tag == SentenceTags[t]) return static_cast<TSentenceType>(t);
  }
  return stNIL;
}

}  // namespace orlimo
