#include "console_actions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "console_settings.h"
#include "console_view.h"
#include "session/session.h"

namespace orlimo {
namespace {

struct ActionName {
  std::string_view name;
  ConsoleActionKind kind;
  bool takesArgument;
};

constexpr ActionName kActions[] = {
    {"hot", ConsoleActionKind::HotStart, false},
    {"warm", ConsoleActionKind::WarmStart, false},
    {"cold", ConsoleActionKind::ColdStart, false},
    {"factory", ConsoleActionKind::FactoryReset, false},
    {"rate", ConsoleActionKind::SetRate, true},
    {"console", ConsoleActionKind::Console, true},
    {"trickle", ConsoleActionKind::Trickle, false},
    {"nmea4800", ConsoleActionKind::Nmea4800, false},
    {"frame-test", ConsoleActionKind::FrameTest, false},
};

// A QTimer interval is an int of milliseconds: longer waits are armed a day at a time.
constexpr std::int64_t kLongestArmMs = 86'400'000;

std::optional<ConsoleAction> Fail(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> ParseSeconds(std::string_view text) {
  const bool digitsAndOneDot =
      std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
      std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; }) &&
      std::count(text.begin(), text.end(), '.') <= 1;
  if (!digitsAndOneDot) return std::nullopt;
  double seconds = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (ec != std::errc{} || end != text.data() + text.size() || seconds > kMaxActionSeconds)
    return std::nullopt;
  return std::llround(seconds * 1000);
}

std::optional<ConsoleAction> ParseDoOption(std::string_view text, std::string* why) {
  // The last '@' starts the time: console text may hold one of its own.
  const std::size_t at = text.rfind('@');
  if (at == std::string_view::npos) return Fail(why, "no @SECONDS");
  const std::optional<std::int64_t> ms = ParseSeconds(text.substr(at + 1));
  if (!ms) return Fail(why, "SECONDS is not a number from 0 to 100000000 (fractions like 2.5 allowed)");

  const std::string_view action = text.substr(0, at);
  const std::size_t colon = action.find(':');
  const std::string_view name = action.substr(0, colon);
  const auto known = std::find_if(std::begin(kActions), std::end(kActions),
                                  [&](const ActionName& a) { return a.name == name; });
  if (known == std::end(kActions)) return Fail(why, "unknown action");
  if (known->takesArgument != (colon != std::string_view::npos))
    return Fail(why, known->takesArgument ? "the action needs :VALUE" : "the action takes no :VALUE");

  ConsoleAction result{known->kind, {}, *ms};
  if (known->takesArgument) {
    const std::string_view argument = action.substr(colon + 1);
    if (argument.empty()) return Fail(why, "empty :VALUE");
    if (known->kind == ConsoleActionKind::SetRate && !IsReceiverRate(argument))
      return Fail(why, std::string("the rate is not one of ").append(ReceiverRateList()));
    result.argument = argument;
  }
  return result;
}

void RunConsoleAction(const ConsoleAction& action, TSession& session, ConsoleView& view) {
  switch (action.kind) {
    case ConsoleActionKind::HotStart: session.TBHotStartClick(); break;
    case ConsoleActionKind::WarmStart: session.WarmStart(); break;
    case ConsoleActionKind::ColdStart: session.TBColdStartClick(); break;
    case ConsoleActionKind::FactoryReset: session.TBFactoryClick(); break;
    case ConsoleActionKind::SetRate:
      view.SetGPSBaudRate(action.argument);
      session.btnGPSBRApplyClick();
      break;
    case ConsoleActionKind::Console:
      view.SetCommandText(action.argument);
      session.btnCMDSendClick();
      break;
    case ConsoleActionKind::Trickle: session.TBTPClick(); break;
    case ConsoleActionKind::Nmea4800: session.Button20Click(); break;
    case ConsoleActionKind::FrameTest: session.ButtonTestClick(); break;
  }
}

ActionRunner::ActionRunner(std::vector<ConsoleAction> actions, std::function<void(const ConsoleAction&)> run)
    : actions_(std::move(actions)), run_(std::move(run)) {
  std::stable_sort(actions_.begin(), actions_.end(),
                   [](const ConsoleAction& a, const ConsoleAction& b) { return a.atMs < b.atMs; });
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { RunDue(); });
}

void ActionRunner::Start() {
  clock_.start();
  if (!Done()) timer_.start(0);  // from the event loop, after what the caller does next
}

void ActionRunner::RunDue() {
  while (next_ < actions_.size() && actions_[next_].atMs <= clock_.elapsed()) run_(actions_[next_++]);
  if (Done()) return;
  const std::int64_t wait = std::max<std::int64_t>(0, actions_[next_].atMs - clock_.elapsed());
  timer_.start(static_cast<int>(std::min(wait, kLongestArmMs)));
}

}  // namespace orlimo
