// What a receiver sends, counted byte for byte as it arrives (not from the once-a-second
// pass, whose buffer drops what a fast line brings beyond it): text lines and binary
// frames, which were whole and correct, which failed their checksum, and the bytes that
// belonged to neither. Bad lines are dropped from every view; here they show, so a noisy
// receiver no longer looks healthy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace orlimo {

class StreamStatistics {
 public:
  using Counts = std::map<std::string, std::uint64_t, std::less<>>;
  // Distinct keys kept; a stream that makes up more goes under kOtherKey.
  static constexpr std::size_t kMaxKeys = 200;
  static constexpr std::string_view kOtherKey = "OTHER";
  static constexpr int kRateSeconds = 10;

  // Every received chunk, in order.
  void Feed(std::string_view chunk);
  // Once a second: the rate window moves on.
  void Tick();
  void Clear();

  // Text lines (ended by CR LF) and binary frames seen.
  std::uint64_t Lines() const { return lines_; }
  // Of those, the valid sentences and the frames with a correct checksum.
  std::uint64_t Accepted() const { return accepted_; }
  // Sentences whose checksum did not match, and SiRF frames (whose end mark tells a
  // damaged frame from noise) likewise.
  std::uint64_t BadChecksum() const { return badChecksum_; }
  // Bytes that were neither part of an accepted item nor of a bad-checksum one.
  std::uint64_t JunkBytes() const { return junkBytes_; }

  // Accepted items by key since the start: "GGA" (the talker dropped), a proprietary
  // sentence's maker ("PMTK"), a binary message's name ("UBX-NAV-PVT", "SIRF-41").
  const Counts& PerType() const { return perType_; }
  // Items a second by key over the last kRateSeconds ticks (fewer at the start).
  std::map<std::string, double, std::less<>> PerSecond() const;

  // {"lines":…,"accepted":…,"bad_checksum":…,"junk_bytes":…,"per_type":{…},"per_second":{…}}
  std::string Json() const;

  // The key of a valid sentence: "$GPGGA,…" gives "GGA", "$PMTK705,…" "PMTK".
  static std::string_view SentenceKey(std::string_view sentence);

 private:
  // Consumes what it can decide from carry_ at `pos`; returns the new position, or
  // npos when the item there needs more bytes.
  std::size_t TakeText(std::size_t pos);
  std::size_t TakeFrame(std::size_t pos);
  void Count(std::string_view key);

  std::string carry_;  // undecided bytes: the start of an item still arriving
  std::uint64_t lines_ = 0;
  std::uint64_t accepted_ = 0;
  std::uint64_t badChecksum_ = 0;
  std::uint64_t junkBytes_ = 0;
  Counts perType_;
  std::deque<Counts> history_;  // perType_ at each of the last ticks, oldest first
};

}  // namespace orlimo
