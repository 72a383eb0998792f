#include "measure/thinned_track.h"

namespace orlimo {

void TThinnedTrack::Add(const TTrackPoint& point) {
  const std::uint64_t index = seen_++;
  if (index % stride_ != 0) return;
  if (points_.size() == cap_) {
    // The kept points are those at multiples of the stride: keep every other one.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < points_.size(); i += 2) points_[kept++] = points_[i];
    points_.resize(kept);
    stride_ *= 2;
    if (index % stride_ != 0) return;
  }
  points_.push_back(point);
}

}  // namespace orlimo
