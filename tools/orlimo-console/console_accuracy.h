// The console's measurements: the accuracy figures of the run (--accuracy, against
// --reference or the mean position) printed every minute and at the end, and the
// run's track written as GPX at the end (--gpx), both as the session's bench
// recorder keeps them.
#pragma once

#include <QTimer>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "measure/accuracy.h"

namespace orlimo {

class TSession;

struct ConsoleMeasureOptions {
  bool accuracy = false;
  std::optional<TGeoPoint> reference;
  std::string gpxPath;  // empty: no track
  bool stats = false;   // print the sentence statistics every 10 s and at the end
};

// Reads "--accuracy", "--reference LAT,LON[,HEIGHT]" (it implies --accuracy) and
// "--gpx FILE" at `arg`, with `next` the argument after it (nullptr at the end).
// Returns how many arguments it took: 0 when `arg` is none of them or its value is bad.
int ParseMeasureOption(std::string_view arg, const char* next, ConsoleMeasureOptions& options);

// `accuracy: {"fixes":N,"cep50_m":...}`: metres to the millimetre, degrees to 8
// decimals, null for what is not known; '.' whatever the locale.
std::string AccuracyLine(const TAccuracyFigures& figures);

class ConsoleMeasurements {
 public:
  static constexpr int kPrintIntervalMs = 60'000;
  static constexpr int kStatsIntervalMs = 10'000;

  // With --accuracy prints every minute to `out`.
  ConsoleMeasurements(const ConsoleMeasureOptions& options, TSession& session, std::FILE* out);

  // The end of the run: the figures printed, the track written. False (and `error` says why) when the track could not be written.
  bool Finish(std::string& error);

 private:
  void Print();
  void PrintStats();

  ConsoleMeasureOptions options_;
  TSession& session_;
  std::FILE* out_;
  QTimer printTimer_;
  QTimer statsTimer_;
};

}  // namespace orlimo
