// What the test bench measures of a session while it runs, whether or not a dialog
// shows it: every valid fix goes to the accuracy figures and the track, and once a
// second the sky goes to the signal history. The dialogs read it when they repaint.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "measure/accuracy.h"
#include "measure/epoch_fix.h"
#include "measure/gpx.h"
#include "measure/signal_history.h"
#include "measure/thinned_track.h"

namespace orlimo {

class ReceivePipeline;
class TqvNMEA;

class TBenchRecorder {
 public:
  // The track keeps every fix up to this many, then thins itself evenly: a week at
  // 10 Hz stays bounded and still spans the whole run.
  static constexpr std::size_t kMaxTrackPoints = 200'000;

  TBenchRecorder(ReceivePipeline& pipeline, const TqvNMEA& nmea);

  // The once-a-second tick, with a monotonic clock in seconds: a sample of the sky,
  // when sentences came since the last one.
  void Sample(double now);

  // The end of a run: the epoch under way counts.
  void Finish();

  TAccuracy& Accuracy() { return accuracy_; }
  const TSignalHistory& SignalHistory() const { return history_; }
  // The decoder's records as they stand: the fix quality the receiver reports.
  const TqvNMEA& Records() const { return nmea_; }
  // The fixes so far and the one under way.
  std::vector<TTrackPoint> Track() const;
  // Changes with every fix and every sample: a view with nothing new skips its work.
  std::uint64_t Revision() const { return revision_; }

 private:
  void OnSentence(TSentenceType type, std::string_view line);
  void Take(const TEpochFix& fix);

  const TqvNMEA& nmea_;
  TEpochAssembler epochs_;
  TAccuracy accuracy_;
  TSignalHistory history_;
  TThinnedTrack track_{kMaxTrackPoints};
  std::uint64_t sentencesSinceSample_ = 0;
  std::uint64_t revision_ = 0;
};

}  // namespace orlimo
