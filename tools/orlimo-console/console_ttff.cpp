#include "console_ttff.h"

#include <charconv>
#include <cmath>

#include "console_actions.h"
#include "json_number.h"
#include "session/session.h"

namespace orlimo {
namespace {

// "cold:5"
bool ParseRuns(std::string_view text, TtffPlan& plan) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  const std::optional<TRestartKind> kind = ParseRestartKind(text.substr(0, colon));
  const std::string_view count = text.substr(colon + 1);
  int n = 0;
  const auto r = std::from_chars(count.data(), count.data() + count.size(), n);
  if (!kind || r.ec != std::errc() || r.ptr != count.data() + count.size() || n < 1) return false;
  plan.kind = *kind;
  plan.runs = n;
  return true;
}

// Seconds to 0.1.
std::string Seconds(const std::optional<double>& v) { return JsonNumber(v, 1); }

// Appended, not added to a literal: GCC 12 at -O3 misreads the latter.
std::string Kind(TRestartKind kind) { return std::string("\"").append(RestartKindName(kind)).append("\""); }

}  // namespace

int ParseTtffOption(std::string_view arg, const char* next, ConsoleTtffOptions& options) {
  if (next == nullptr) return 0;
  if (arg == "--ttff-runs") return ParseRuns(next, options.plan) ? 2 : 0;
  const bool pause = arg == "--ttff-pause";
  if (!pause && arg != "--ttff-timeout") return 0;
  const std::optional<std::int64_t> ms = ParseSeconds(next);
  if (!ms || (!pause && *ms == 0)) return 0;
  (pause ? options.plan.pauseMs : options.plan.timeoutMs) = *ms;
  options.timingGiven = true;
  return 2;
}

std::string CheckTtffOptions(const ConsoleTtffOptions& options) {
  if (options.timingGiven && options.plan.runs == 0) return "--ttff-pause and --ttff-timeout need --ttff-runs";
  return {};
}

std::string TtffRunLine(const TtffRun& run, TRestartKind kind) {
  return "ttff: {\"run\":" + std::to_string(run.number) + ",\"kind\":" + Kind(kind) +
         ",\"seconds\":" + Seconds(run.seconds) + "}";
}

std::string TtffSummaryLine(const TtffSummary& s, TRestartKind kind) {
  return "ttff-summary: {\"kind\":" + Kind(kind) + ",\"runs\":" + std::to_string(s.runs) +
         ",\"fixed\":" + std::to_string(s.fixed) + ",\"min_s\":" + Seconds(s.min) + ",\"median_s\":" +
         Seconds(s.median) + ",\"p95_s\":" + Seconds(s.p95) + ",\"max_s\":" + Seconds(s.max) + "}";
}

ConsoleTtff::ConsoleTtff(const ConsoleTtffOptions& options, TSession& session, std::FILE* out,
                         std::function<void(int)> finish)
    : options_(options), session_(session), out_(out), finish_(std::move(finish)) {
  if (!Wanted()) return;
  const TRestartKind kind = options_.plan.kind;
  session_.TtffRuns().OnRunFinished([this, kind](const TtffRun& run) { Print(TtffRunLine(run, kind)); });
  session_.TtffRuns().OnFinished([this, kind](const TtffSummary& summary) {
    Print(TtffSummaryLine(summary, kind));
    const std::string& reason = session_.TtffRuns().StopReason();
    if (!reason.empty()) std::fprintf(stderr, "orlimo-console: the time-to-first-fix runs stopped: %s\n", reason.c_str());
    finish_(summary.fixed == options_.plan.runs ? 0 : kExitTtffNotAllFixed);
  });
  QObject::connect(&wait_, &QTimer::timeout, [this] { WaitForIdentity(); });
}

void ConsoleTtff::Start() {
  if (Wanted()) wait_.start(kWaitPollMs);
}

void ConsoleTtff::WaitForIdentity() {
  const SessionState& s = session_.State();
  const bool known = s.VersionKnown && FamilyOf(s.ReceiverKind).Kind() != kUnknownReceiver;
  if (!known && !s.VersionKnown && s.VersionQueryCount <= s.VersionWaitLimit) return;
  wait_.stop();
  std::string why;
  if (!known) {
    why = "the receiver did not say what it is within " + std::to_string(s.VersionWaitLimit) +
          " data seconds, and restarts need a known receiver family";
  } else if (session_.TtffRuns().Start(options_.plan, &why)) {
    return;
  }
  std::fprintf(stderr, "orlimo-console: no time-to-first-fix runs: %s\n", why.c_str());
  finish_(kExitTtffNotIdentified);
}

void ConsoleTtff::Print(const std::string& line) {
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
}

}  // namespace orlimo
