// How well a receiver holds a position: the scatter of its fixes around a reference
// point (one surveyed and given, or else the mean of the fixes so far). The fixes are
// kept, and the figures recomputed from them when asked (once a second at most: a
// million fixes take a sort). A week at 10 Hz is six million fixes: the first million
// are kept exactly, after that a uniform sample of a million of all fixes so far
// (reservoir sampling, with a fixed seed so that a run repeats). The counts and the
// mean position always cover every fix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "measure/tangent_plane.h"

namespace orlimo {

struct TGeoPoint {
  double lat = 0;                // degrees, north positive
  double lon = 0;                // degrees, east positive
  std::optional<double> height;  // metres above mean sea level, as GGA gives it
};

// Horizontal distances on the reference's tangent plane: north = Δφ·M(φ0), east =
// Δλ·N(φ0)·cos φ0, with M and N the WGS-84 meridian and prime-vertical radii at the
// reference latitude φ0 (measure/tangent_plane.h);
// percentiles linear between the closest ranks (measure/percentile.h). A figure
// nothing gives (no fix yet, no height) is nullopt.
struct TAccuracyFigures {
  std::int64_t fixes = 0;
  std::optional<double> lastError;  // metres, the last fix from the reference
  std::optional<double> cep50;      // metres, median distance from the reference
  std::optional<double> cep95;      // metres, 95th percentile of the distances
  std::optional<double> drms2;      // metres, twice the root mean square distance
  std::optional<double> meanLat, meanLon;  // degrees, of every fix
  std::optional<double> meanHeight;        // metres, of every fix with a height
  // Metres: 95th percentile of |height - reference height|; without a reference
  // height the mean height stands in.
  std::optional<double> vertical95;
};

class TAccuracy {
 public:
  static constexpr std::size_t kMaxStored = 1'000'000;
  static constexpr std::uint64_t kSampleSeed = 20240601;

  // Fixes are measured against `reference` from now on (also those already added).
  void SetReference(const TGeoPoint& reference) { reference_ = reference; }
  // Back to the mean of the fixes.
  void ClearReference() { reference_.reset(); }
  const std::optional<TGeoPoint>& Reference() const { return reference_; }

  void AddFix(const TGeoPoint& fix);
  TAccuracyFigures Figures() const;
  // Where at most `most` of the stored fixes lie from the reference (or the mean), an
  // even spread of them for a plot, and the last fix; empty without fixes.
  struct TScatter {
    std::vector<TPlaneOffset> points;
    std::optional<TPlaneOffset> last;
  };
  TScatter Scatter(std::size_t most) const;
  std::int64_t Fixes() const { return fixes_; }
  std::size_t Stored() const { return stored_.size(); }

  // Forgets every fix; the reference stays.
  void Reset();

 private:
  struct TStored {
    double lat, lon;
    double height;  // NaN: not given
  };
  // The mean of every fix, kept as sums of offsets from the first one, so that
  // millions of nearly equal degrees add up without losing their last digits.
  std::optional<TGeoPoint> MeanPosition() const;

  std::optional<TGeoPoint> reference_;
  std::vector<TStored> stored_;
  std::int64_t fixes_ = 0;
  TStored last_{};
  TStored origin_{};
  double sumLat_ = 0, sumLon_ = 0, sumHeight_ = 0;
  std::int64_t heights_ = 0;
  std::mt19937_64 sampler_{kSampleSeed};
};

}  // namespace orlimo
