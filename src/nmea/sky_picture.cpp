#include "nmea/sky_picture.h"

#include <algorithm>

#include "nmea/fields.h"
#include "nmea/text.h"

namespace orlimo {
namespace {

// A cycle or a used set older than this many refreshes (or three of its own
// intervals, for receivers that send their satellites every few seconds) is gone.
constexpr std::uint32_t kStaleRefreshes = 6;
constexpr std::uint32_t kLongestInterval = 30;

// The field's text without the checksum that ends the last field.
std::string_view Bare(std::string_view field) { return field.substr(0, field.find('*')); }

bool ReadNumber(std::string_view field, std::int32_t& value) {
  value = 0;
  return !field.empty() && TryParseInt(field, value);
}

int HexDigit(std::string_view field) { return field.size() == 1 ? HexDigitValue(field[0]) : -1; }

bool SystemOrder(const TSkySat& a, const TSkySat& b) {
  if (a.System != b.System) return a.System < b.System;
  return a.Number < b.Number;
}

}  // namespace

void TSkyPicture::AddSentence(TSentenceType type, std::string_view sentence) {
  if (type == stGSA) {
    AddGSA(sentence);
    return;
  }
  if (inGSARun_) EndGSARun();
  if (type == stGSV) AddGSV(sentence);
}

void TSkyPicture::AddGSV(std::string_view s) {
  const FieldList f(s, CommaSeparator);
  const int commas = f.SeparatorCount();
  std::int32_t total = 0, msg = 0;
  if (commas < 3 || !ReadNumber(f[2], total) || !ReadNumber(Bare(f[3]), msg)) return;
  if (total < 1 || total > 20 || msg < 1 || msg > total) return;
  // After the count in view: groups of four, and in the newer form one more field,
  // the signal ID (a hex digit, or empty when the receiver has one signal only).
  const int after = commas - 3;
  const bool newerForm = after % 4 == 1 && (Bare(f[commas + 1]).empty() || HexDigit(Bare(f[commas + 1])) >= 0);
  const int signal = newerForm ? HexDigit(Bare(f[commas + 1])) : -1;
  const int groupFields = after - (newerForm ? 1 : 0);

  TCycle* cycle = CycleFor(TalkerSystem(s), signal);
  if (msg == 1) {
    cycle->Total = static_cast<std::int8_t>(total);
    cycle->Next = 1;
    cycle->BuildingCount = 0;
  }
  // A message out of its turn: this cycle is broken; wait for the next first message.
  if (msg != cycle->Next || total != cycle->Total) {
    cycle->Next = 0;
    return;
  }
  ++cycle->Next;
  for (int g = 0; 4 * g < groupFields; ++g) {
    const int first = 5 + 4 * g;
    std::int32_t prn = 0, el = 0, az = 0, snr = 0;
    if (!ReadNumber(Bare(f[first]), prn) || prn < 1 || prn > 999) continue;
    if (cycle->BuildingCount >= kMaxCycleSats) break;
    TSkySat& sat = cycle->Building[cycle->BuildingCount++];
    sat = {};
    sat.System = SentenceSystem(s, 0, prn);
    sat.Number = static_cast<std::int16_t>(SatNumberInSystem(sat.System, prn));
    const bool hasEl = ReadNumber(Bare(f[first + 1]), el) && el >= -90 && el <= 90;
    const bool hasAz = ReadNumber(Bare(f[first + 2]), az) && az >= 0 && az <= 360;
    if (hasEl && hasAz) {
      sat.HasPosition = true;
      sat.Elevation = static_cast<std::int8_t>(el);
      sat.Azimuth = static_cast<std::int16_t>(az);
    }
    if (ReadNumber(Bare(f[first + 3]), snr) && snr > 0 && snr < 100) sat.SNR = static_cast<std::int8_t>(snr);
  }
  if (msg < total) return;

  if (cycle->EverComplete) {
    cycle->Interval = std::clamp<std::uint32_t>(refreshes_ - cycle->CompletedAt, 1, kLongestInterval);
  }
  cycle->Complete = true;
  cycle->EverComplete = true;
  cycle->CompletedAt = refreshes_;
  cycle->DoneCount = cycle->BuildingCount;
  std::copy_n(cycle->Building.begin(), cycle->BuildingCount, cycle->Done.begin());
  cycle->Next = 0;
  Rebuild();
}

TSkyPicture::TCycle* TSkyPicture::CycleFor(TSatSystem talker, int signal) {
  TCycle* oldest = &cycles_[0];
  for (TCycle& c : cycles_) {
    if (c.InUse && c.Talker == talker && c.Signal == signal) return &c;
  }
  for (TCycle& c : cycles_) {
    if (!c.InUse) {
      oldest = &c;
      break;
    }
    if (c.CompletedAt < oldest->CompletedAt) oldest = &c;
  }
  // More talker and signal pairs than a receiver sends: the longest unrefreshed goes.
  *oldest = {};
  oldest->InUse = true;
  oldest->Talker = talker;
  oldest->Signal = static_cast<std::int16_t>(signal);
  oldest->CompletedAt = refreshes_;
  return oldest;
}

void TSkyPicture::AddGSA(std::string_view s) {
  if (!inGSARun_) {
    inGSARun_ = true;
    runUsedCount_ = 0;
  }
  const FieldList f(s, FieldSeparators);
  const int count = f.SeparatorCount();
  if (count != 18 && count != 19) return;
  std::int32_t systemId = 0;
  if (count == 19) ReadNumber(f[19], systemId);
  for (int field = 4; field <= 15; ++field) {
    std::int32_t prn = 0;
    if (!ReadNumber(f[field], prn) || prn < 1 || prn > 999) continue;
    TUsedSat used;
    used.System = SentenceSystem(s, systemId, prn);
    used.Number = static_cast<std::int16_t>(SatNumberInSystem(used.System, prn));
    const auto end = runUsed_.begin() + static_cast<std::ptrdiff_t>(runUsedCount_);
    const bool known = std::any_of(runUsed_.begin(), end, [&](const TUsedSat& u) {
      return u.System == used.System && u.Number == used.Number;
    });
    if (!known && runUsedCount_ < kMaxUsed) runUsed_[runUsedCount_++] = used;
  }
}

void TSkyPicture::EndGSARun() {
  inGSARun_ = false;
  used_ = runUsed_;
  usedCount_ = runUsedCount_;
  usedAt_ = refreshes_;
  Rebuild();
}

void TSkyPicture::EndRefresh() {
  ++refreshes_;
  bool changed = false;
  for (TCycle& c : cycles_) {
    // A stale cycle leaves the picture but its slot remembers the talker's pace.
    if (c.Complete && refreshes_ - c.CompletedAt > std::max(kStaleRefreshes, 3 * c.Interval)) {
      c.Complete = false;
      c.DoneCount = 0;
      changed = true;
    }
  }
  if (usedCount_ > 0 && refreshes_ - usedAt_ > kStaleRefreshes) {
    usedCount_ = 0;
    changed = true;
  }
  if (changed) Rebuild();
}

void TSkyPicture::SetSatellites(std::span<const TSkySat> sats) {
  mergedCount_ = std::min(sats.size(), kMaxSats);
  std::copy_n(sats.begin(), mergedCount_, merged_.begin());
  std::sort(merged_.begin(), merged_.begin() + static_cast<std::ptrdiff_t>(mergedCount_),
            [](const TSkySat& a, const TSkySat& b) {
              return a.System != b.System ? a.System < b.System : a.Number < b.Number;
            });
  usedCount_ = static_cast<std::size_t>(std::count_if(merged_.begin(), merged_.begin() + static_cast<std::ptrdiff_t>(mergedCount_),
                                                      [](const TSkySat& s) { return s.Used; }));
  usedAt_ = refreshes_;  // a list that stops coming leaves like a GSA run
  whole_ = true;
  ++revision_;
}

void TSkyPicture::Clear() {
  // The revision goes on counting, so a view never takes the new sky for the old.
  const std::uint32_t revision = revision_;
  *this = {};
  revision_ = revision + 1;
}

int TSkyPicture::CycleCount() const {
  return static_cast<int>(
      std::count_if(cycles_.begin(), cycles_.end(), [](const TCycle& c) { return c.InUse && c.Complete; }));
}

void TSkyPicture::Rebuild() {
  mergedCount_ = 0;
  for (const TCycle& c : cycles_) {
    if (!c.InUse || !c.Complete) continue;
    for (std::size_t i = 0; i < c.DoneCount; ++i) {
      const TSkySat& sat = c.Done[i];
      const auto end = merged_.begin() + static_cast<std::ptrdiff_t>(mergedCount_);
      const auto same = std::find_if(merged_.begin(), end, [&](const TSkySat& m) { return m.SameSatellite(sat); });
      if (same == end) {
        if (mergedCount_ < kMaxSats) merged_[mergedCount_++] = sat;
        continue;
      }
      // Another signal of a satellite already listed: it shows once, at its strongest.
      same->SNR = std::max(same->SNR, sat.SNR);
      if (!same->HasPosition && sat.HasPosition) {
        same->HasPosition = true;
        same->Elevation = sat.Elevation;
        same->Azimuth = sat.Azimuth;
      }
    }
  }
  const auto end = merged_.begin() + static_cast<std::ptrdiff_t>(mergedCount_);
  for (auto m = merged_.begin(); m != end; ++m) {
    m->Used = std::any_of(used_.begin(), used_.begin() + static_cast<std::ptrdiff_t>(usedCount_),
                          [&](const TUsedSat& u) { return u.System == m->System && u.Number == m->Number; });
  }
  std::sort(merged_.begin(), end, SystemOrder);
  ++revision_;
}

}  // namespace orlimo
