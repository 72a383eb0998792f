// A track that keeps every point up to a cap; past it every other point goes and from
// then on only every other new one is kept (and so on), so that a run of any length
// fits in bounded memory and the track still spans all of it, evenly thinned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "measure/gpx.h"

namespace orlimo {

class TThinnedTrack {
 public:
  explicit TThinnedTrack(std::size_t cap) : cap_(cap < 2 ? 2 : cap) {}

  void Add(const TTrackPoint& point);
  const std::vector<TTrackPoint>& Points() const { return points_; }

 private:
  std::size_t cap_;
  std::vector<TTrackPoint> points_;
  std::uint64_t stride_ = 1;  // one point in this many is kept
  std::uint64_t seen_ = 0;
};

}  // namespace orlimo
