// The console's time-to-first-fix runs: --ttff-runs KIND:N (hot, warm, cold or
// factory; N >= 1) with --ttff-pause S and --ttff-timeout S. Once the receiver has
// said what it is, N restarts are timed to the first fix; scripts read one line a run
// and a summary (seconds to 0.1, null for a time-out or where no run fixed):
//   ttff: {"run":1,"kind":"cold","seconds":31.2}
//   ttff-summary: {"kind":"cold","runs":3,"fixed":3,"min_s":30.8,"median_s":31.2,"p95_s":33.0,"max_s":33.2}
#pragma once

#include <QTimer>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "session/ttff_runs.h"

namespace orlimo {

class TSession;

// Exit statuses: the receiver did not identify itself (or the runs could not start),
// and not every run fixed.
inline constexpr int kExitTtffNotIdentified = 4;
inline constexpr int kExitTtffNotAllFixed = 5;

struct ConsoleTtffOptions {
  TtffPlan plan{kColdStart, 0, 300'000, 10'000};  // plan.runs 0: no --ttff-runs
  bool timingGiven = false;                        // --ttff-pause or --ttff-timeout
};

// Reads "--ttff-runs KIND:N", "--ttff-pause S" or "--ttff-timeout S" (seconds, fractions
// allowed; the time-out above 0) at `arg`, with `next` the argument after it (nullptr
// at the end). Returns how many arguments it took: 0 when `arg` is none of them or its
// value is bad.
int ParseTtffOption(std::string_view arg, const char* next, ConsoleTtffOptions& options);

// Empty, or why the options do not go together.
std::string CheckTtffOptions(const ConsoleTtffOptions& options);

std::string TtffRunLine(const TtffRun& run, TRestartKind kind);
std::string TtffSummaryLine(const TtffSummary& summary, TRestartKind kind);

class ConsoleTtff {
 public:
  static constexpr int kWaitPollMs = 100;

  // `finish` ends the console's run with an exit status.
  ConsoleTtff(const ConsoleTtffOptions& options, TSession& session, std::FILE* out, std::function<void(int)> finish);

  bool Wanted() const { return options_.plan.runs > 0; }
  // Once the connection is open: waits for the receiver's identity, then runs.
  void Start();

 private:
  void WaitForIdentity();
  void Print(const std::string& line);

  ConsoleTtffOptions options_;
  TSession& session_;
  std::FILE* out_;
  std::function<void(int)> finish_;
  QTimer wait_;
};

}  // namespace orlimo
