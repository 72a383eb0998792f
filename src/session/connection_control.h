// Opening, closing and pausing the connection to the receiver, the session's tool
// buttons and status panels, and the one write path to the receiver.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orlimo {

struct SessionContext;
class ITransport;
class TComm;

// Why the command controls stay off on a source that cannot carry commands.
inline constexpr std::string_view kReadOnlyReason =
    "This source is read only: commands cannot reach the receiver through it.";

class ConnectionControl {
 public:
  explicit ConnectionControl(SessionContext& ctx) : ctx_(ctx) {}

  // Applies the settings the program always uses and opens the port; on failure the
  // connection-error box, the port closed again, false. A network source's name
  // opens that instead (connecting goes on after the return).
  bool ConfigureAndOpen(TComm& comm, const std::string& portName, int baud);
  void OpenGPSPort();
  void CloseGPSPort();

  // The connect/disconnect toggle; decides by PortOpen, not by the button.
  void TBOpenClick();
  void TBCloseClick();
  void TBPauseClick(bool down);
  // The port's device vanished or hung up: the connection ends at once.
  void CommGPSRequestHangup();
  // A network source reached its peer, or lost it and retries.
  void LinkUp();
  void LinkDown();

  void StopSessionTimers();
  void EnableSessionControls();
  void DisableSessionControls();
  void DisableCommandControls();

  // Sets the version wait and the read interval that go with a receiver rate.
  void ApplyRateTimeouts(int baud);

  // The longest byte string SendString takes; a longer one is refused whole.
  static constexpr std::size_t kMaxSendLength = 1024;

  // One byte per write request, with one pass of event processing after each.
  bool SendString(ITransport& link, std::string_view text);
  // Waits while timers and clicks keep running; 0 is one pass of event processing.
  static void DelayMs(std::uint16_t milliseconds);

  std::string OpenText() const;   // "Open (port,rate bps)"
  std::string PauseText() const;  // "Pause (port,rate bps)"
  // "<port> Connection Error !" with the reason on a line of its own.
  std::string ConnectionErrorText(const std::string& reason) const;

 private:
  bool OpenNetSource(const std::string& name);

  SessionContext& ctx_;
};

}  // namespace orlimo
