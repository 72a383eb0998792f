#include "measure/signal_history.h"

#include <algorithm>

namespace orlimo {

void TSignalHistory::Add(double time, std::span<const TSkySat> sats, int used, std::optional<double> hdop) {
  if (count_ > 0 && time < samples_[(next_ + kSamples - 1) % kSamples].time) Reset();
  const std::size_t slot = next_;
  samples_[slot] = {time, used, hdop};
  for (TSatRing& ring : sats_) ring.entries[slot] = {};
  for (const TSkySat& s : sats) {
    auto ring = std::find_if(sats_.begin(), sats_.end(),
                             [&](const TSatRing& r) { return r.system == s.System && r.number == s.Number; });
    if (ring == sats_.end()) {
      if (sats_.size() >= kMaxSatellites) continue;
      ring = sats_.insert(sats_.end(), TSatRing{s.System, s.Number, time, {}});
    }
    ring->lastSeen = time;
    ring->entries[slot] = {std::max<std::int8_t>(s.SNR, 0), s.Used};
  }
  std::erase_if(sats_, [&](const TSatRing& r) { return r.lastSeen <= time - kWindowSeconds; });
  next_ = (next_ + 1) % kSamples;
  count_ = std::min(count_ + 1, kSamples);
}

std::vector<std::size_t> TSignalHistory::WindowSlots() const {
  std::vector<std::size_t> slots;
  if (count_ == 0) return slots;
  const double newest = samples_[(next_ + kSamples - 1) % kSamples].time;
  for (std::size_t i = 0; i < count_; ++i) {
    const std::size_t slot = (next_ + kSamples - count_ + i) % kSamples;
    if (samples_[slot].time > newest - kWindowSeconds) slots.push_back(slot);
  }
  return slots;
}

std::vector<TSignalTrace> TSignalHistory::Satellites() const {
  const std::vector<std::size_t> slots = WindowSlots();
  std::vector<TSignalTrace> traces;
  for (const TSatRing& ring : sats_) {
    TSignalTrace t{ring.system, ring.number, std::string(TSatName(ring.system, ring.number).View()), {}};
    for (std::size_t slot : slots) {
      const TEntry& e = ring.entries[slot];
      if (e.cn0 >= 0) t.points.push_back({samples_[slot].time, e.cn0, e.used});
    }
    if (!t.points.empty()) traces.push_back(std::move(t));
  }
  std::sort(traces.begin(), traces.end(), [](const TSignalTrace& a, const TSignalTrace& b) {
    return a.system != b.system ? a.system < b.system : a.number < b.number;
  });
  return traces;
}

std::vector<TSolutionPoint> TSignalHistory::Solution() const {
  std::vector<TSolutionPoint> points;
  for (std::size_t slot : WindowSlots()) points.push_back({samples_[slot].time, samples_[slot].used, samples_[slot].hdop});
  return points;
}

void TSignalHistory::Reset() {
  next_ = count_ = 0;
  sats_.clear();
}

}  // namespace orlimo
