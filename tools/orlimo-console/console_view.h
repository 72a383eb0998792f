// The session's screen as text: one line per change, for bench rigs without a
// display, SSH sessions and scripts.
//   panel N: TEXT | title: TEXT | dialog KIND: TEXT -> ANSWER (KIND "failure": a command
//   not sent or not taken; the text's line breaks shown as " | ") | monitor: LINE |
//   trace MemoN: TEXT | navi: lat=... lon=... (after each view refresh)
#pragma once

#include <QTimer>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "session/session_view.h"

namespace orlimo {

class ConsoleView : public ISessionView {
 public:
  ConsoleView(std::FILE* out, bool answerYes);
  ~ConsoleView() override;
  ConsoleView(const ConsoleView&) = delete;
  ConsoleView& operator=(const ConsoleView&) = delete;

  void SetPort(std::string port) { port_ = std::move(port); }
  void SetBaudRate(std::string rate) { rate_ = std::move(rate); }

  void SetPanelText(int panel, std::string_view text) override;
  std::string PanelText(int panel) const override;
  void SetPanelBevel(int, TPanelBevel) override {}
  void RepaintStatusBar() override {}
  void SetWindowTitle(std::string_view title) override;

  void AppendMonitorLine(std::string_view line) override;
  void SelectLastMonitorLine() override { selected_ = lines_ - 1; }
  int MonitorLineCount() const override { return lines_; }
  int MonitorSelectedIndex() const override { return selected_; }
  void DeleteFirstMonitorLines(int count) override;

  void AppendTrace(int memo, std::string_view text) override;
  int TraceLineCount(int memo) const override;
  void ClearTrace(int memo) override { traceLines_[memo] = 0; }
  bool TraceVisible(int) const override { return true; }

  bool AskYesNo(std::string_view msg) override;
  void ShowErrorMsg(std::string_view msg) override {
    ++errors_;
    Dialog("error", msg, "ok");
  }
  // How many error messages were shown so far.
  int ErrorCount() const { return errors_; }
  void ShowWarningMsg(std::string_view msg) override { Dialog("warning", msg, "ok"); }
  void ShowConfirmMsg(std::string_view msg) override { Dialog("confirm", msg, "ok"); }
  void ShowInformationMsg(std::string_view msg) override { Dialog("information", msg, "ok"); }
  void ShowCommandFailure(std::string_view msg) override { Dialog("failure", msg, "ok"); }
  void ShowConnectionNotice(std::string_view msg) override { Dialog("notice", msg, "ok"); }

  void SetButtonImage(TToolButton, int) override {}
  void SetButtonHint(TToolButton, std::string_view) override {}
  void SetButtonDown(TToolButton, bool) override {}
  void SetButtonEnabled(TToolButton b, bool enabled) override { enabled_[b] = enabled; }
  bool ButtonEnabled(TToolButton b) const override;
  void EnableSessionControls(bool, bool) override {}
  void DisableSessionControls() override {}
  void DisableCommandControls() override {}
  void SetRestartUnavailableReason(std::string_view) override {}

  // The console box and the receiver-rate selector, set by the --do actions.
  void SetCommandText(std::string text) { commandText_ = std::move(text); }
  void SetGPSBaudRate(std::string rate) { gpsRate_ = std::move(rate); }
  void SetCommandHistory(std::vector<std::string> items) { history_ = std::move(items); }
  std::string CommandText() const override { return commandText_; }
  std::vector<std::string> CommandHistory() const override { return history_; }
  void InsertCommandHistory(std::string_view text) override { history_.emplace(history_.begin(), text); }
  void FocusCommandBox() override {}
  std::string GPSBaudRateText() const override { return gpsRate_; }

  std::string PortText() const override { return port_; }
  std::string BaudRateText() const override { return rate_; }
  void SelectBaudRate(std::string_view text) override { rate_ = text; }
  void ShowReadInterval(int) override {}
  void SchedulePortListCheck(int) override {}

  void UpdateNaviPanel(const TqvNMEA& nmea) override;
  void ShowSatelliteTable(const TqvNMEA&) override {}
  void DrawSkyView(const TqvNMEA&) override {}
  void ShowSpeedAndCourse(const TqvNMEA&) override {}

 private:
  void Print(const std::string& prefix, std::string_view text);
  void Dialog(const char* kind, std::string_view msg, const char* answer);
  // The lines of one turn of the event loop (a data pass prints dozens) go out in one
  // write when it ends, not a write each.
  void FlushSoon();

  std::FILE* out_;
  QTimer flush_;
  bool answerYes_;
  std::string port_;
  std::string commandText_;
  std::vector<std::string> history_;
  std::string gpsRate_ = "4800";
  std::string rate_ = "4800";
  std::map<int, std::string> panels_;
  std::map<int, int> traceLines_;
  std::map<TToolButton, bool> enabled_;
  int lines_ = 0;
  int selected_ = -1;
  int errors_ = 0;
};

}  // namespace orlimo
