// Time-to-first-fix runs: N restarts of one kind through the session's command set,
// each timed from the restart command to the first sentence that brings a fix after
// it, on a monotonic clock of its own (the pipeline dates the sentences as they
// arrive, so the once-a-second pass costs no precision). A receiver that still had its
// fix at the command must lose it first: only a sentence that turns the decoded
// FixValid on counts, so the old fix never ends a run. A run without a fix within its
// time-out is a failure; a pause follows each run before the next restart.
//
//   TtffPlan plan{kColdStart, 10};
//   runs.OnRunFinished([](const TtffRun& r) { ... });
//   runs.OnFinished([](const TtffSummary& s) { ... });
//   std::string why;
//   if (!runs.Start(plan, &why)) ...   // e.g. the receiver did not identify itself
//
// The transitions happen on Tick() (every kTickMs from the session's timer, or from
// the owner with SessionOptions::manualTicks), never inside a pipeline pass.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measure/ttff_stats.h"
#include "session/fix_watch.h"
#include "session/receiver_family.h"

namespace orlimo {

struct SessionContext;
class ReceiverCommands;
class IIntervalTimer;

// "hot", "warm", "cold", "factory": the names runs are reported under.
std::string_view RestartKindName(TRestartKind kind);
std::optional<TRestartKind> ParseRestartKind(std::string_view name);

struct TtffPlan {
  TRestartKind kind = kColdStart;
  int runs = 1;
  std::int64_t timeoutMs = 300'000;
  std::int64_t pauseMs = 10'000;  // after each run but the last
};

class TtffRuns : public FixWatch {
 public:
  static constexpr int kTickMs = 100;
  // A pass decodes what arrived in the second before it: a run is given up only once a
  // fix that came just before its time-out would have been decoded.
  static constexpr std::int64_t kDecodeLagMs = 1200;

  using Clock = std::function<std::int64_t()>;  // milliseconds, monotonic

  TtffRuns(SessionContext& ctx, ReceiverCommands& commands, IIntervalTimer& tick);
  ~TtffRuns() override;
  TtffRuns(const TtffRuns&) = delete;
  TtffRuns& operator=(const TtffRuns&) = delete;

  // Sends the first restart now. False, with the reason in `why`, when the runs cannot
  // start: already running, no run asked for, no open port, no NMEA sentences, or a
  // receiver whose family is unknown (it would be sent nothing).
  bool Start(const TtffPlan& plan, std::string* why = nullptr);
  // Ends the runs after the current one (at once during a pause).
  void Cancel();
  void Tick();

  bool Running() const { return phase_ != Phase::Idle; }
  const TtffPlan& Plan() const { return plan_; }
  const std::vector<TtffRun>& Runs() const { return runs_; }
  // Why the last runs ended before the last one; empty when they all ran.
  const std::string& StopReason() const { return stopReason_; }

  void OnRunFinished(std::function<void(const TtffRun&)> listener) { runListeners_.push_back(std::move(listener)); }
  void OnFinished(std::function<void(const TtffSummary&)> listener) { endListeners_.push_back(std::move(listener)); }

  // Tests replace the steady clock.
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  // FixWatch, for the pipeline.
  std::int64_t NowMs() const override { return clock_(); }
  void FixChanged(bool valid, SentenceArrival arrival) override;

 private:
  enum class Phase { Idle, Awaiting, Pausing };

  void Restart();
  void FinishRun(std::optional<double> seconds);
  void End(std::string reason);
  // Why the receiver cannot be restarted now; empty when it can.
  std::string Obstacle() const;

  SessionContext& ctx_;
  ReceiverCommands& commands_;
  IIntervalTimer& tick_;
  Clock clock_;
  TtffPlan plan_;
  Phase phase_ = Phase::Idle;
  bool cancelled_ = false;
  std::int64_t commandMs_ = 0;               // the current run's restart command
  std::optional<std::int64_t> fixMs_;        // its first fix, until Tick() takes it
  std::int64_t pauseEndMs_ = 0;
  std::vector<TtffRun> runs_;
  std::string stopReason_;
  std::vector<std::function<void(const TtffRun&)>> runListeners_;
  std::vector<std::function<void(const TtffSummary&)>> endListeners_;
};

}  // namespace orlimo
