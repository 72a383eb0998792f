// What the receiver session needs of the screen. The main window implements it;
// tests use a recording fake and the console front end prints. Text is 8-bit,
// shown as Latin-1.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orlimo {

class TqvNMEA;

// The tool buttons the session drives.
enum class TToolButton { Open, Pause, AutoSync, Close, StartLog };

// Tool-bar picture numbers the session uses.
enum TToolImage : int {
  kImagePlugsApart = 0,    // shown while connected
  kImagePlugsJoined = 1,   // shown while disconnected
  kImagePause = 2,
  kImageDetection = 3,
  kImageConnecting = 14,
};

enum class TPanelBevel { Raised, Lowered };

class ISessionView {
 public:
  virtual ~ISessionView() = default;

  // Status bar: panels 1..8 hold text; panel 0 is the owner-drawn activity light.
  virtual void SetPanelText(int panel, std::string_view text) = 0;
  virtual std::string PanelText(int panel) const = 0;
  virtual void SetPanelBevel(int panel, TPanelBevel bevel) = 0;
  virtual void RepaintStatusBar() = 0;

  virtual void SetWindowTitle(std::string_view title) = 0;

  // The monitor list of accepted sentences.
  virtual void AppendMonitorLine(std::string_view line) = 0;
  // A binary frame's line ("UBX NAV-PVT 3D 12 SV ..."), with the frame's bytes for
  // the inspection; a view that keeps no bytes shows the line.
  virtual void AppendMonitorFrame(std::string_view text, std::string_view /*frame*/) { AppendMonitorLine(text); }
  virtual void SelectLastMonitorLine() = 0;
  virtual int MonitorLineCount() const = 0;
  virtual int MonitorSelectedIndex() const = 0;
  // Deletes the first `count` lines in one update (one repaint).
  virtual void DeleteFirstMonitorLines(int count) = 0;

  // The hidden diagnostic panes Memo1..Memo4.
  virtual void AppendTrace(int memo, std::string_view text) = 0;
  virtual int TraceLineCount(int memo) const = 0;
  virtual void ClearTrace(int memo) = 0;
  virtual bool TraceVisible(int memo) const = 0;

  // Modal dialogs; a test's fake answers from a script.
  virtual bool AskYesNo(std::string_view msg) = 0;
  virtual void ShowErrorMsg(std::string_view msg) = 0;
  virtual void ShowWarningMsg(std::string_view msg) = 0;
  virtual void ShowConfirmMsg(std::string_view msg) = 0;
  // News the user should read once (a log recovered from an earlier run).
  virtual void ShowInformationMsg(std::string_view msg) = 0;
  // A command that could not be sent or that the receiver did not take, shown where
  // every layout shows it without stopping anything (the message log has the detail).
  virtual void ShowCommandFailure(std::string_view msg) = 0;
  // News of the connection that must not stop anything (a network source lost and
  // retried, a stream client dropped); a newer one replaces it.
  virtual void ShowConnectionNotice(std::string_view msg) = 0;

  // Tool buttons and the control groups.
  virtual void SetButtonImage(TToolButton button, int image) = 0;
  virtual void SetButtonHint(TToolButton button, std::string_view hint) = 0;
  virtual void SetButtonDown(TToolButton button, bool down) = 0;
  virtual void SetButtonEnabled(TToolButton button, bool enabled) = 0;
  virtual bool ButtonEnabled(TToolButton button) const = 0;
  // The receiver commands open only once the receiver is known.
  virtual void EnableSessionControls(bool versionKnown, bool tmcPresent) = 0;
  virtual void DisableSessionControls() = 0;
  virtual void DisableCommandControls() = 0;
  // Why the restart buttons stay off while connected (the receiver has not said what
  // it is); empty when they follow the command controls for the usual reasons.
  virtual void SetRestartUnavailableReason(std::string_view reason) = 0;

  // The console box cbCOMMAND: its text and its history, most recent first.
  // Characters the 8-bit text cannot hold come back as byte 0x1A.
  virtual std::string CommandText() const = 0;
  virtual std::vector<std::string> CommandHistory() const = 0;
  virtual void InsertCommandHistory(std::string_view text) = 0;  // as the first item
  virtual void FocusCommandBox() = 0;
  // The receiver-rate selector cbGPSBR of the "Set GPS Baud Rate" group.
  virtual std::string GPSBaudRateText() const = 0;

  // The port and rate selectors, and the read-interval display.
  virtual std::string PortText() const = 0;
  virtual std::string BaudRateText() const = 0;
  virtual void SelectBaudRate(std::string_view text) = 0;
  virtual void ShowReadInterval(int milliseconds) = 0;
  // Compares the port list again after `milliseconds` (after a silent u-blox receiver).
  virtual void SchedulePortListCheck(int milliseconds) = 0;

  // The views refreshed after each pass, called in this order by RefreshViews.
  virtual void UpdateNaviPanel(const TqvNMEA& nmea) = 0;
  virtual void ShowSatelliteTable(const TqvNMEA& nmea) = 0;
  virtual void DrawSkyView(const TqvNMEA& nmea) = 0;
  virtual void ShowSpeedAndCourse(const TqvNMEA& nmea) = 0;
};

}  // namespace orlimo
