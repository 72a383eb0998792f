#include "session/ttff_runs.h"

#include <chrono>
#include <cmath>

#include "session/receiver_commands.h"
#include "session/session_context.h"

namespace orlimo {
namespace {

constexpr struct {
  TRestartKind kind;
  std::string_view name;
} kKindNames[] = {{kHotStart, "hot"}, {kWarmStart, "warm"}, {kColdStart, "cold"}, {kFactoryDefault, "factory"}};

std::int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::string_view RestartKindName(TRestartKind kind) {
  for (const auto& k : kKindNames)
    if (k.kind == kind) return k.name;
  return "unknown";
}

std::optional<TRestartKind> ParseRestartKind(std::string_view name) {
  for (const auto& k : kKindNames)
    if (k.name == name) return k.kind;
  return std::nullopt;
}

TtffRuns::TtffRuns(SessionContext& ctx, ReceiverCommands& commands, IIntervalTimer& tick)
    : ctx_(ctx), commands_(commands), tick_(tick), clock_(SteadyMs) {}

TtffRuns::~TtffRuns() {
  if (Running()) ctx_.pipeline.SetFixWatch(nullptr);
}

std::string TtffRuns::Obstacle() const {
  if (!ctx_.state.PortOpen) return "the port is not open";
  if (FamilyOf(ctx_.state.ReceiverKind).RestartMessages(plan_.kind).empty())
    return "the receiver did not say what it is, and restarts need a known receiver family";
  return {};
}

bool TtffRuns::Start(const TtffPlan& plan, std::string* why) {
  auto refuse = [why](std::string reason) {
    if (why) *why = std::move(reason);
    return false;
  };
  if (Running()) return refuse("time-to-first-fix runs are already going");
  if (plan.runs < 1 || plan.timeoutMs <= 0 || plan.pauseMs < 0)
    return refuse("at least one run, a time-out and no negative pause are needed");
  plan_ = plan;
  if (std::string obstacle = Obstacle(); !obstacle.empty()) return refuse(std::move(obstacle));
  if (ctx_.state.LinkState != TLinkState::NMEA)
    return refuse("the receiver is not sending NMEA sentences, which tell whether it has a fix");

  runs_.clear();
  stopReason_.clear();
  cancelled_ = false;
  ctx_.pipeline.SetFixWatch(this);
  tick_.Start();
  Restart();
  return true;
}

void TtffRuns::Cancel() {
  if (phase_ == Phase::Awaiting) cancelled_ = true;
  else if (phase_ == Phase::Pausing) End("cancelled");
}

void TtffRuns::Restart() {
  if (std::string obstacle = Obstacle(); !obstacle.empty()) {
    End(std::move(obstacle));
    return;
  }
  // Awaiting before the command: sending pumps events, and a pass may come meanwhile.
  phase_ = Phase::Awaiting;
  fixMs_.reset();
  commandMs_ = clock_();
  if (!commands_.RestartReceiver(plan_.kind)) End("the restart could not be sent to " + ctx_.CommName());
}

void TtffRuns::FixChanged(bool valid, SentenceArrival arrival) {
  if (phase_ != Phase::Awaiting || !valid || fixMs_) return;
  // The line end came before the chunk was delivered, by the bytes after it on the line.
  const int rate = ctx_.BaudRate();
  const std::int64_t lineMs =
      rate > 0 ? static_cast<std::int64_t>(arrival.bytesAfter) * 10'000 / rate : 0;
  const std::int64_t at = arrival.chunkMs - lineMs;
  if (at <= commandMs_) return;  // sent before the receiver had the command
  fixMs_ = at;
}

void TtffRuns::Tick() {
  const std::int64_t now = clock_();
  if (phase_ == Phase::Awaiting) {
    if (fixMs_ && *fixMs_ - commandMs_ <= plan_.timeoutMs)
      FinishRun(std::round(static_cast<double>(*fixMs_ - commandMs_) / 100.0) / 10.0);
    else if (fixMs_ || now - commandMs_ >= plan_.timeoutMs + kDecodeLagMs)
      FinishRun(std::nullopt);
  } else if (phase_ == Phase::Pausing && now >= pauseEndMs_) {
    Restart();
  }
}

void TtffRuns::FinishRun(std::optional<double> seconds) {
  runs_.push_back({static_cast<int>(runs_.size()) + 1, seconds});
  const TtffRun run = runs_.back();
  phase_ = Phase::Pausing;
  pauseEndMs_ = clock_() + plan_.pauseMs;
  for (const auto& listener : runListeners_) listener(run);
  // A listener may have cancelled, which ends a pause at once.
  if (phase_ == Phase::Pausing && (cancelled_ || static_cast<int>(runs_.size()) >= plan_.runs))
    End(cancelled_ ? "cancelled" : "");
}

void TtffRuns::End(std::string reason) {
  phase_ = Phase::Idle;
  tick_.Stop();
  ctx_.pipeline.SetFixWatch(nullptr);
  stopReason_ = std::move(reason);
  const TtffSummary summary = SummariseTtff(runs_);
  for (const auto& listener : endListeners_) listener(summary);
}

}  // namespace orlimo
