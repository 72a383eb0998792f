// GPX 1.1 tracks: a writer of track points, and a track built from decoded sentences
// (one point for each epoch with a valid fix). Every number is written with '.' as
// the decimal separator, whatever the locale.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "measure/epoch_fix.h"

namespace orlimo {

struct TUtcStamp {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0;
  double seconds = 0;
};

enum class TGpxFix : std::uint8_t { Unknown, TwoD, ThreeD, DGPS };

struct TTrackPoint {
  double lat = 0;               // degrees
  double lon = 0;               // degrees
  std::optional<double> ele;    // metres above mean sea level
  std::optional<TUtcStamp> time;
  TGpxFix fix = TGpxFix::Unknown;
  std::optional<int> sat;
  std::optional<double> hdop;
};

// The track point of an epoch: its time only when its date is known (years "yy"
// from 80 on are 19yy, the others 20yy); fix dgps for GGA quality 2, 4 or 5 or RMC
// mode D, else 3d or 2d from GSA, else not written.
TTrackPoint TrackPointOf(const TEpochFix& fix);

// Writes one track of one segment: the header at once, each point as it comes, the
// closing tags at Finish (or on destruction).
class TGpxWriter {
 public:
  TGpxWriter(std::ostream& out, std::string_view creator);
  ~TGpxWriter();
  TGpxWriter(const TGpxWriter&) = delete;
  TGpxWriter& operator=(const TGpxWriter&) = delete;

  void Add(const TTrackPoint& point);
  void Finish();

 private:
  std::ostream& out_;
  bool finished_ = false;
};

void WriteGpx(std::ostream& out, std::string_view creator, std::span<const TTrackPoint> points);

// The track of a session or a log, kept in memory.
class TGpxTrack {
 public:
  // Every accepted sentence, right after `nmea` decoded it.
  void Add(TSentenceType type, std::string_view line, const TqvNMEA& nmea);
  // Takes the epoch under way, at the end.
  void Flush();
  const std::vector<TTrackPoint>& Points() const { return points_; }

 private:
  TEpochAssembler epochs_;
  std::vector<TTrackPoint> points_;
};

// The track of a log: its lines read as the log checker reads them (a sentence may
// follow other text on its line; '#' lines are comments).
std::vector<TTrackPoint> ReadTrack(std::istream& log);

}  // namespace orlimo
