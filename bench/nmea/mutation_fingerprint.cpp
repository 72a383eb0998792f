// mutation_fingerprint [--seed N] [--count N] [--dump] FILE...: decodes mutated
// sentences made from the lines of FILE and prints one hash of every field of every
// record after each of them. A change meant to make the decoder faster must leave the
// hash as it was; --dump prints one hash per sentence, to find the first that differs.
// The fields of the first record types (RMC to MSS, with the type seen as NIL where a
// later type was decoded) make one hash, comparable with the decoder before the later
// ones came; their presence flags and the ZDA, GST and GBS records make a second.
//
// The mutations (bytes replaced, inserted or removed, fields dropped or repeated, runs
// of digits, cuts) come from a generator of our own with a fixed seed, so the same
// files give the same sentences with any compiler and standard library. Most mutated
// sentences get their checksum mended, or the decoder would see only rejections.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "nmea/decoder.h"

namespace {

using namespace orlimo;

// splitmix64: small, and the same on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

// Bytes that steer the parsers: separators, signs, blanks, exponents, hex digits.
constexpr std::string_view kTricky = "0123456789,,,**..--++  eE$ABCDEFaNSWVx";

char RandomByte(Random& rng) {
  return rng.Below(4) == 0 ? static_cast<char>(rng.Below(256)) : kTricky[rng.Below(kTricky.size())];
}

void Mutate(std::string& s, Random& rng) {
  const std::size_t at = rng.Below(s.size() + 1);
  switch (rng.Below(8)) {
    case 0:
    case 1:
      if (at < s.size()) s[at] = RandomByte(rng);
      break;
    case 2: s.insert(at, 1, RandomByte(rng)); break;
    case 3:
      if (at < s.size()) s.erase(at, 1);
      break;
    case 4: {  // a run of digits, long enough to overflow any number
      std::string digits(1 + rng.Below(24), '0');
      for (char& c : digits) c = static_cast<char>('0' + rng.Below(10));
      s.insert(at, digits);
      break;
    }
    case 5: {  // a field dropped
      const std::size_t comma = s.find(',', at);
      const std::size_t next = comma == std::string::npos ? comma : s.find(',', comma + 1);
      if (next != std::string::npos) s.erase(comma, next - comma);
      break;
    }
    case 6: {  // a field repeated
      const std::size_t comma = s.find(',', at);
      const std::size_t next = comma == std::string::npos ? comma : s.find(',', comma + 1);
      if (next != std::string::npos) s.insert(comma, s.substr(comma, next - comma));
      break;
    }
    default: s.resize(at); break;
  }
}

// "*hh" of everything after the first byte, in place of the old one when there is one.
void MendChecksum(std::string& s) {
  if (s.size() >= 3 && s[s.size() - 3] == '*') s.resize(s.size() - 3);
  unsigned x = 0;
  for (std::size_t i = 1; i < s.size(); ++i) x ^= static_cast<unsigned char>(s[i]);
  constexpr char kHex[] = "0123456789ABCDEF";
  s += '*';
  s += kHex[x >> 4];
  s += kHex[x & 15];
}

// FNV-1a over the values of the fields, never over padding.
class Hash {
 public:
  template <typename T>
  void Add(T v) {
    if constexpr (std::is_same_v<T, double>) {
      Bytes(std::bit_cast<std::uint64_t>(v));
    } else {
      Bytes(static_cast<std::uint64_t>(v));
    }
  }
  void Add(std::string_view s) {
    Add(s.size());
    for (char c : s) Step(static_cast<unsigned char>(c));
  }
  void Add(const TNMEATime& t) { Add(t.Hour), Add(t.Minute), Add(t.Seconds); }
  void Add(const TNMEADate& d) { Add(d.Year), Add(d.Month), Add(d.Day); }
  void Add(const TRawText& r) { Add(r.View()); }
  std::uint64_t Value() const { return h_; }

 private:
  void Step(unsigned char b) { h_ = (h_ ^ b) * 0x100000001B3; }
  void Bytes(std::uint64_t v) {
    for (int i = 0; i < 8; ++i, v >>= 8) Step(static_cast<unsigned char>(v));
  }
  std::uint64_t h_ = 0xCBF29CE484222325;
};

void AddRecords(Hash& h, const TqvNMEA& n) {
  const TRMCRecord& r = n.RMC;
  h.Add(r.UTCTime), h.Add(r.Status), h.Add(r.Latitude), h.Add(r.NS), h.Add(r.Longitude);
  h.Add(r.EW), h.Add(r.SpeedKnots), h.Add(r.Course), h.Add(r.Date), h.Add(r.MagVar);
  h.Add(r.MagVarEW), h.Add(r.Mode), h.Add(r.NavStatus), h.Add(r.RawText);
  const TGGARecord& g = n.GGA;
  h.Add(g.UTCTime), h.Add(g.Latitude), h.Add(g.NS), h.Add(g.Longitude), h.Add(g.EW);
  h.Add(g.Quality), h.Add(g.SatsUsed), h.Add(g.HDOP), h.Add(g.Altitude), h.Add(g.GeoidSep);
  h.Add(g.DGPSAge), h.Add(g.DGPSStation), h.Add(g.RawText);
  const TGLLRecord& l = n.GLL;
  h.Add(l.Latitude), h.Add(l.NS), h.Add(l.Longitude), h.Add(l.EW), h.Add(l.UTCTime);
  h.Add(l.Status), h.Add(l.RawText);
  const TGSARecord& a = n.GSA;
  h.Add(a.SelMode), h.Add(a.FixMode), h.Add(a.UsedCount);
  for (std::uint8_t prn : a.UsedPRN) h.Add(prn);
  h.Add(a.PDOP), h.Add(a.HDOP), h.Add(a.VDOP), h.Add(a.SystemId);
  h.Add(static_cast<int>(a.System)), h.Add(a.RawText);
  const TGSVRecord& v = n.GSV;
  h.Add(v.TotalMsgs), h.Add(v.MsgNum), h.Add(v.SatsInView);
  for (const TSatInView& s : v.Sats) h.Add(s.PRN), h.Add(s.Elevation), h.Add(s.Azimuth), h.Add(s.SNR);
  h.Add(v.HasSignalId), h.Add(v.SignalId), h.Add(static_cast<int>(v.System)), h.Add(v.RawText);
  const TVTGRecord& t = n.VTG;
  h.Add(t.CourseTrue), h.Add(t.CourseMag), h.Add(t.SpeedKnots), h.Add(t.SpeedKmh);
  h.Add(t.Mode), h.Add(t.RawText);
  h.Add(n.MSS.RawText);
  h.Add(n.FixValid);
}

void AddTime(Hash& h, const TNMEATime& t, bool present) { h.Add(present), h.Add(t); }

void AddLaterFields(Hash& h, const TqvNMEA& n) {
  const TRMCRecord::Present& r = n.RMC.Has;
  h.Add(r.UTCTime), h.Add(r.Latitude), h.Add(r.Longitude), h.Add(r.SpeedKnots), h.Add(r.Course);
  h.Add(r.Date), h.Add(r.MagVar);
  const TGGARecord::Present& g = n.GGA.Has;
  h.Add(g.UTCTime), h.Add(g.Latitude), h.Add(g.Longitude), h.Add(g.Quality), h.Add(g.SatsUsed);
  h.Add(g.HDOP), h.Add(g.Altitude), h.Add(g.GeoidSep), h.Add(g.DGPSAge), h.Add(g.DGPSStation);
  const TGLLRecord::Present& l = n.GLL.Has;
  h.Add(l.Latitude), h.Add(l.Longitude), h.Add(l.UTCTime);
  const TGSARecord::Present& a = n.GSA.Has;
  h.Add(a.FixMode), h.Add(a.PDOP), h.Add(a.HDOP), h.Add(a.VDOP);
  const TVTGRecord::Present& t = n.VTG.Has;
  h.Add(t.CourseTrue), h.Add(t.CourseMag), h.Add(t.SpeedKnots), h.Add(t.SpeedKmh);
  const TZDARecord& z = n.ZDA;
  AddTime(h, z.UTCTime, z.Has.UTCTime);
  h.Add(z.Has.Day), h.Add(z.Day), h.Add(z.Has.Month), h.Add(z.Month), h.Add(z.Has.Year), h.Add(z.Year);
  h.Add(z.Has.ZoneHours), h.Add(z.ZoneHours), h.Add(z.Has.ZoneMinutes), h.Add(z.ZoneMinutes);
  h.Add(z.RawText);
  const TGSTRecord& s = n.GST;
  AddTime(h, s.UTCTime, s.Has.UTCTime);
  h.Add(s.Has.RangeRMS), h.Add(s.RangeRMS), h.Add(s.Has.SemiMajor), h.Add(s.SemiMajor);
  h.Add(s.Has.SemiMinor), h.Add(s.SemiMinor), h.Add(s.Has.Orientation), h.Add(s.Orientation);
  h.Add(s.Has.LatError), h.Add(s.LatError), h.Add(s.Has.LonError), h.Add(s.LonError);
  h.Add(s.Has.AltError), h.Add(s.AltError), h.Add(s.RawText);
  const TGBSRecord& b = n.GBS;
  AddTime(h, b.UTCTime, b.Has.UTCTime);
  h.Add(b.Has.LatError), h.Add(b.LatError), h.Add(b.Has.LonError), h.Add(b.LonError);
  h.Add(b.Has.AltError), h.Add(b.AltError), h.Add(b.Has.FailedPRN), h.Add(b.FailedPRN);
  h.Add(b.Has.FailedProbability), h.Add(b.FailedProbability), h.Add(b.Has.Bias), h.Add(b.Bias);
  h.Add(b.Has.BiasStdDev), h.Add(b.BiasStdDev), h.Add(b.RawText);
}

bool ReadLines(const char* path, std::vector<std::string>& lines) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return true;
}

// One line per sentence, its control and 8-bit bytes as \xhh.
void Dump(std::uint64_t hash, std::string_view s) {
  std::printf("%016llx ", static_cast<unsigned long long>(hash));
  for (unsigned char c : s) {
    if (c < 0x20 || c >= 0x7F || c == '\\') {
      std::printf("\\x%02x", c);
    } else {
      std::putchar(c);
    }
  }
  std::putchar('\n');
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t seed = 20240607;
  long count = 300000;
  bool dump = false;
  std::vector<std::string> lines;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--count") == 0 && i + 1 < argc) {
      count = std::strtol(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--dump") == 0) {
      dump = true;
    } else if (!ReadLines(argv[i], lines)) {
      std::fprintf(stderr, "mutation_fingerprint: cannot read %s\n", argv[i]);
      return 1;
    }
  }
  if (lines.empty()) {
    std::fprintf(stderr, "usage: mutation_fingerprint [--seed N] [--count N] [--dump] FILE...\n");
    return 2;
  }

  Random rng(seed);
  TqvNMEA nmea;
  Hash all, later;
  long accepted = 0;
  long perType[kSentenceTypeCount] = {};
  for (long i = 0; i < count; ++i) {
    std::string s = lines[rng.Below(lines.size())];
    for (std::size_t m = 1 + rng.Below(3); m > 0; --m) Mutate(s, rng);
    if (rng.Below(10) < 8) MendChecksum(s);
    TSentenceType type;
    const bool ok = nmea.DecodeSentence(s, type);
    accepted += ok ? 1 : 0;
    ++perType[type];
    Hash one;
    one.Add(ok), one.Add(static_cast<int>(type < kTaggedTypeCount ? type : stNIL));
    AddRecords(one, nmea);
    all.Add(one.Value());
    Hash more;
    more.Add(static_cast<int>(type));
    AddLaterFields(more, nmea);
    later.Add(more.Value());
    if (dump) Dump(one.Value(), s);
  }
  std::printf("sentences: %ld accepted: %ld", count, accepted);
  for (int t = 0; t < kSentenceTypeCount; ++t) std::printf(" %s: %ld", SentenceTags[t].data(), perType[t]);
  std::printf("\nfingerprint: %016llx\n", static_cast<unsigned long long>(all.Value()));
  std::printf("later fields: %016llx\n", static_cast<unsigned long long>(later.Value()));
  return 0;
}
