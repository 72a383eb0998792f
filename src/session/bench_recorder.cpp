#include "session/bench_recorder.h"

#include <algorithm>

#include "nmea/decoder.h"
#include "session/receive_pipeline.h"

namespace orlimo {

TBenchRecorder::TBenchRecorder(ReceivePipeline& pipeline, const TqvNMEA& nmea) : nmea_(nmea) {
  pipeline.AddSentenceObserver([this](TSentenceType type, std::string_view line) { OnSentence(type, line); });
}

void TBenchRecorder::OnSentence(TSentenceType type, std::string_view line) {
  ++sentencesSinceSample_;
  if (const std::optional<TEpochFix> fix = epochs_.Add(type, line, nmea_)) Take(*fix);
}

void TBenchRecorder::Take(const TEpochFix& fix) {
  accuracy_.AddFix(fix.Point());
  track_.Add(TrackPointOf(fix));
  ++revision_;
}

void TBenchRecorder::Finish() {
  if (const std::optional<TEpochFix> fix = epochs_.Flush()) Take(*fix);
}

void TBenchRecorder::Sample(double now) {
  if (sentencesSinceSample_ == 0) return;
  sentencesSinceSample_ = 0;
  std::optional<double> hdop;
  int used = 0;
  if (nmea_.FixValid) {
    used = std::max<int>(nmea_.Sky.UsedCount(), nmea_.GGA.SatsUsed);
    if (nmea_.GGA.HDOP > 0) hdop = nmea_.GGA.HDOP;
  }
  history_.Add(now, nmea_.Sky.Satellites(), used, hdop);
  ++revision_;
}

std::vector<TTrackPoint> TBenchRecorder::Track() const {
  std::vector<TTrackPoint> track = track_.Points();
  TEpochAssembler pending = epochs_;
  if (const std::optional<TEpochFix> fix = pending.Flush()) track.push_back(TrackPointOf(*fix));
  return track;
}

}  // namespace orlimo
