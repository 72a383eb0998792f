// The console's --do ACTION@SECONDS: button presses at set times after connecting.
//   hot | warm | cold | factory | rate:BPS | console:TEXT | trickle | nmea4800 | frame-test
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlimo {

class ConsoleView;
class TSession;

enum class ConsoleActionKind { HotStart, WarmStart, ColdStart, FactoryReset, SetRate, Console, Trickle, Nmea4800, FrameTest };

struct ConsoleAction {
  ConsoleActionKind kind;
  std::string argument;  // the rate of SetRate, the text of Console; empty otherwise
  std::int64_t atMs;     // after the connection opened
};

// The longest wait --do takes, in seconds (the same bound as --seconds).
inline constexpr std::int64_t kMaxActionSeconds = 100000000;

// Seconds as digits with an optional fraction ("4", "2.5", ".25"), at most
// kMaxActionSeconds, to milliseconds; nullopt for anything else.
std::optional<std::int64_t> ParseSeconds(std::string_view text);

// One --do value; nullopt with `why` set when it is not one.
std::optional<ConsoleAction> ParseDoOption(std::string_view text, std::string* why = nullptr);

// Presses the action's button, first filling the box or selector it reads.
void RunConsoleAction(const ConsoleAction& action, TSession& session, ConsoleView& view);

// Runs the actions at their times from Start(): earliest first, those at one time in
// the order given. The next timer is armed only when a batch is done, so an action
// that waits (a rate change pumps events) is never overtaken by the next one.
class ActionRunner {
 public:
  ActionRunner(std::vector<ConsoleAction> actions, std::function<void(const ConsoleAction&)> run);

  void Start();
  bool Done() const { return next_ == actions_.size(); }

 private:
  void RunDue();

  std::vector<ConsoleAction> actions_;
  std::function<void(const ConsoleAction&)> run_;
  std::size_t next_ = 0;
  QElapsedTimer clock_;
  QTimer timer_;
};

}  // namespace orlimo
