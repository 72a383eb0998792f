#include "measure/accuracy.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "measure/percentile.h"
#include "measure/tangent_plane.h"

namespace orlimo {
namespace {

double LonOffset(double lon, double from) { return std::remainder(lon - from, 360.0); }

}  // namespace

void TAccuracy::AddFix(const TGeoPoint& fix) {
  const TStored p{fix.lat, fix.lon, fix.height.value_or(std::numeric_limits<double>::quiet_NaN())};
  if (fixes_ == 0) origin_ = p;
  if (fix.height && heights_ == 0) origin_.height = *fix.height;
  sumLat_ += p.lat - origin_.lat;
  sumLon_ += LonOffset(p.lon, origin_.lon);
  if (fix.height) {
    sumHeight_ += *fix.height - origin_.height;
    ++heights_;
  }
  last_ = p;
  if (stored_.size() < kMaxStored) {
    if (stored_.capacity() == 0) stored_.reserve(4096);
    stored_.push_back(p);
  } else {
    // Algorithm R: the n-th fix (from 0) takes a random place with chance k / (n + 1),
    // which leaves every fix so far in the sample with the same chance.
    const auto place = std::uniform_int_distribution<std::int64_t>(0, fixes_)(sampler_);
    if (place < static_cast<std::int64_t>(kMaxStored)) stored_[static_cast<std::size_t>(place)] = p;
  }
  ++fixes_;
}

std::optional<TGeoPoint> TAccuracy::MeanPosition() const {
  if (fixes_ == 0) return std::nullopt;
  const auto n = static_cast<double>(fixes_);
  TGeoPoint mean{origin_.lat + sumLat_ / n, std::remainder(origin_.lon + sumLon_ / n, 360.0), std::nullopt};
  if (heights_ > 0) mean.height = origin_.height + sumHeight_ / static_cast<double>(heights_);
  return mean;
}

TAccuracyFigures TAccuracy::Figures() const {
  TAccuracyFigures f;
  f.fixes = fixes_;
  const std::optional<TGeoPoint> mean = MeanPosition();
  if (!mean) return f;
  f.meanLat = mean->lat;
  f.meanLon = mean->lon;
  f.meanHeight = mean->height;

  const TGeoPoint ref = reference_.value_or(*mean);
  f.lastError = PlaneDistance(ref.lat, ref.lon, last_.lat, last_.lon);
  std::vector<double> horizontal;
  horizontal.reserve(stored_.size());
  double sumSquares = 0;
  for (const TStored& p : stored_) {
    const double d = PlaneDistance(ref.lat, ref.lon, p.lat, p.lon);
    horizontal.push_back(d);
    sumSquares += d * d;
  }
  std::sort(horizontal.begin(), horizontal.end());
  f.cep50 = Percentile(horizontal, 50);
  f.cep95 = Percentile(horizontal, 95);
  f.drms2 = 2.0 * std::sqrt(sumSquares / static_cast<double>(horizontal.size()));

  const std::optional<double> refHeight = ref.height ? ref.height : mean->height;
  if (refHeight) {
    std::vector<double> vertical;
    for (const TStored& p : stored_)
      if (!std::isnan(p.height)) vertical.push_back(std::abs(p.height - *refHeight));
    std::sort(vertical.begin(), vertical.end());
    f.vertical95 = Percentile(vertical, 95);
  }
  return f;
}

TAccuracy::TScatter TAccuracy::Scatter(std::size_t most) const {
  TScatter scatter;
  const std::optional<TGeoPoint> mean = MeanPosition();
  if (!mean || most == 0) return scatter;
  const TGeoPoint ref = reference_.value_or(*mean);
  const std::size_t step = (stored_.size() + most - 1) / most;
  scatter.points.reserve(stored_.size() / step + 1);
  for (std::size_t i = 0; i < stored_.size(); i += step)
    scatter.points.push_back(PlaneOffset(ref.lat, ref.lon, stored_[i].lat, stored_[i].lon));
  scatter.last = PlaneOffset(ref.lat, ref.lon, last_.lat, last_.lon);
  return scatter;
}

void TAccuracy::Reset() {
  stored_ = {};
  fixes_ = 0;
  last_ = origin_ = {};
  sumLat_ = sumLon_ = sumHeight_ = 0;
  heights_ = 0;
  sampler_.seed(kSampleSeed);
}

}  // namespace orlimo
