// The satellites of every system at once. A receiver of several constellations sends
// one satellites-in-view cycle per system (and, in the newest form, per signal) and
// one GSA per system, so the decoder's single GSV and GSA records only ever hold the
// last of them. This picture keeps each cycle until the next complete one of the same
// talker and signal replaces it, and the used satellites of every GSA of the epoch.
//
// Feed it every valid sentence in the order received, and call EndRefresh once per
// view refresh: a cycle that stops coming leaves after a few refreshes. Fixed-size
// storage: feeding it never allocates.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "nmea/satellite_system.h"
#include "nmea/sentence.h"

namespace orlimo {

// One satellite in view, merged over every cycle that reports it.
struct TSkySat {
  TSatSystem System = TSatSystem::Unknown;
  std::int16_t Number = 0;     // within its system, as shown (G05: 5, E11: 11, R07: 71)
  std::int8_t Elevation = 0;   // degrees, valid when HasPosition
  std::int16_t Azimuth = 0;    // degrees, valid when HasPosition
  std::int8_t SNR = 0;         // dB-Hz, the strongest of its signals; 0 when not tracked
  bool HasPosition = false;    // the receiver gave an elevation and an azimuth in range
  bool Used = false;           // in a GSA of the last epoch

  bool SameSatellite(const TSkySat& o) const { return System == o.System && Number == o.Number; }
  bool operator==(const TSkySat&) const = default;
};

class TSkyPicture {
 public:
  static constexpr std::size_t kMaxCycles = 16;      // talker and signal pairs at once
  static constexpr std::size_t kMaxCycleSats = 40;   // nine messages of four, and some
  static constexpr std::size_t kMaxSats = 96;        // merged, every system
  static constexpr std::size_t kMaxUsed = 64;

  // Any valid sentence with its type. GSV messages build their cycle; a run of GSA
  // sentences makes the epoch's used set, taken over when something else follows.
  void AddSentence(TSentenceType type, std::string_view sentence);
  // A binary receiver's satellite list: the whole picture at once, in place of the
  // cycles. The views show it as they show several cycles.
  void SetSatellites(std::span<const TSkySat> sats);
  // Once per view refresh, after the views have drawn.
  void EndRefresh();
  void Clear();

  // Every satellite in view, ordered by system, then number.
  std::span<const TSkySat> Satellites() const { return {merged_.data(), mergedCount_}; }
  // Satellites used in the fix, every system (also those with no satellites-in-view entry).
  int UsedCount() const { return static_cast<int>(usedCount_); }
  // Cycles currently held: 0 or 1 means a single-talker receiver.
  int CycleCount() const;
  // More than one cycle: the views show this picture rather than the last GSV and GSA
  // records, which only a single-talker receiver fills whole.
  bool SeveralCycles() const { return whole_ || CycleCount() > 1; }
  // Changes whenever Satellites() or UsedCount() may have changed.
  std::uint32_t Revision() const { return revision_; }

 private:
  struct TUsedSat {
    TSatSystem System = TSatSystem::Unknown;
    std::int16_t Number = 0;
  };
  struct TCycle {
    TSatSystem Talker = TSatSystem::Unknown;
    std::int16_t Signal = -1;  // -1: the sentences carry no signal ID
    bool InUse = false;
    // The cycle being received: the next message expected and what it gave so far.
    std::int8_t Total = 0;
    std::int8_t Next = 0;
    std::uint8_t BuildingCount = 0;
    std::array<TSkySat, kMaxCycleSats> Building{};
    // The last complete cycle, and when it completed (in refreshes). A cycle that
    // stopped coming is no longer Complete, but its pace is remembered.
    bool Complete = false;
    bool EverComplete = false;
    std::uint8_t DoneCount = 0;
    std::array<TSkySat, kMaxCycleSats> Done{};
    std::uint32_t CompletedAt = 0;
    std::uint32_t Interval = 1;  // refreshes between its last two completions
  };

  void AddGSV(std::string_view sentence);
  void AddGSA(std::string_view sentence);
  void EndGSARun();
  TCycle* CycleFor(TSatSystem talker, int signal);
  void Rebuild();

  std::array<TCycle, kMaxCycles> cycles_{};
  std::array<TUsedSat, kMaxUsed> runUsed_{};  // the GSA run being received
  std::size_t runUsedCount_ = 0;
  bool inGSARun_ = false;
  std::array<TUsedSat, kMaxUsed> used_{};     // the last complete run
  std::size_t usedCount_ = 0;
  std::uint32_t usedAt_ = 0;
  std::array<TSkySat, kMaxSats> merged_{};
  std::size_t mergedCount_ = 0;
  std::uint32_t refreshes_ = 0;
  std::uint32_t revision_ = 0;
  bool whole_ = false;  // set whole by SetSatellites
};

}  // namespace orlimo
