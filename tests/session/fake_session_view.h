// A view that records what the session shows, and answers its questions from a
// script, for tests.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "nmea/decoder.h"
#include "session/activity_indicator.h"
#include "session/session_view.h"

namespace orlimo {

class FakeSessionView : public ISessionView {
 public:
  struct Button {
    int image = -1;
    std::string hint;
    bool down = false;
    bool enabled = false;
  };

  void SetPanelText(int panel, std::string_view text) override { panels[panel] = text; }
  std::string PanelText(int panel) const override {
    const auto it = panels.find(panel);
    return it == panels.end() ? std::string{} : it->second;
  }
  void SetPanelBevel(int panel, TPanelBevel bevel) override { bevels[panel] = bevel; }
  void RepaintStatusBar() override { ++statusRepaints; }
  void SetWindowTitle(std::string_view t) override { title = t; }

  void AppendMonitorLine(std::string_view line) override { monitor.emplace_back(line); }
  void AppendMonitorFrame(std::string_view text, std::string_view) override { frameLines.emplace_back(text); }
  void SelectLastMonitorLine() override { selected = static_cast<int>(monitor.size()) - 1; }
  int MonitorLineCount() const override { return static_cast<int>(monitor.size()); }
  int MonitorSelectedIndex() const override { return selected; }
  void DeleteFirstMonitorLines(int count) override {
    monitor.erase(monitor.begin(), monitor.begin() + count);
    selected = std::max(-1, selected - count);
    ++monitorDeletes;
  }

  void AppendTrace(int memo, std::string_view text) override { traces[memo].emplace_back(text); }
  int TraceLineCount(int memo) const override {
    const auto it = traces.find(memo);
    return it == traces.end() ? 0 : static_cast<int>(it->second.size());
  }
  void ClearTrace(int memo) override { traces[memo].clear(); }
  bool TraceVisible(int) const override { return tracesVisible; }

  bool AskYesNo(std::string_view msg) override {
    dialogs.push_back("ask: " + std::string(msg));
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowErrorMsg(std::string_view msg) override { dialogs.push_back("error: " + std::string(msg)); }
  void ShowWarningMsg(std::string_view msg) override {
    dialogs.push_back("warning: " + std::string(msg));
  }
  void ShowConfirmMsg(std::string_view msg) override {
    dialogs.push_back("confirm: " + std::string(msg));
  }
  void ShowInformationMsg(std::string_view msg) override { dialogs.push_back("information: " + std::string(msg)); }
  void ShowCommandFailure(std::string_view msg) override { dialogs.push_back("failure: " + std::string(msg)); }
  void ShowConnectionNotice(std::string_view msg) override { dialogs.push_back("notice: " + std::string(msg)); }

  void SetButtonImage(TToolButton b, int image) override { buttons[b].image = image; }
  void SetButtonHint(TToolButton b, std::string_view hint) override { buttons[b].hint = hint; }
  void SetButtonDown(TToolButton b, bool down) override { buttons[b].down = down; }
  void SetButtonEnabled(TToolButton b, bool enabled) override { buttons[b].enabled = enabled; }
  bool ButtonEnabled(TToolButton b) const override {
    const auto it = buttons.find(b);
    return it != buttons.end() && it->second.enabled;
  }
  void EnableSessionControls(bool versionKnown, bool) override {
    commandControls = versionKnown ? "enabled" : "session";
  }
  void DisableSessionControls() override { commandControls = "disabled"; }
  void DisableCommandControls() override { commandControls = "commands disabled"; }
  void SetRestartUnavailableReason(std::string_view reason) override { restartReason = reason; }

  std::string CommandText() const override { return commandText; }
  std::vector<std::string> CommandHistory() const override { return history; }
  void InsertCommandHistory(std::string_view text) override { history.emplace(history.begin(), text); }
  void FocusCommandBox() override { ++commandBoxFocused; }
  std::string GPSBaudRateText() const override { return gpsRate; }

  std::string PortText() const override { return port; }
  std::string BaudRateText() const override { return rate; }
  void SelectBaudRate(std::string_view text) override { rate = text; }
  void ShowReadInterval(int ms) override { readInterval = ms; }
  void SchedulePortListCheck(int ms) override { portListCheckMs = ms; }

  void UpdateNaviPanel(const TqvNMEA&) override { refreshes.push_back("navi"); }
  void ShowSatelliteTable(const TqvNMEA& n) override {
    refreshes.push_back("table");
    if (n.GSV.MsgNum == n.GSV.TotalMsgs) ++satelliteTablesFilled;
  }
  void DrawSkyView(const TqvNMEA& n) override {
    refreshes.push_back("sky");
    if (n.GSV.MsgNum == n.GSV.TotalMsgs) ++skyDrawn;
  }
  void ShowSpeedAndCourse(const TqvNMEA&) override { refreshes.push_back("speed"); }

  // Forgets every list it grows, for a view that outlives many runs (the fuzz target);
  // a list added above belongs here too.
  void ForgetRecorded() {
    for (auto& [memo, lines] : traces) lines.clear();
    frameLines.clear();
    monitor.clear();
    refreshes.clear();
    dialogs.clear();
    history.clear();
  }

  std::map<int, std::string> panels;
  std::map<int, TPanelBevel> bevels;
  int statusRepaints = 0;
  std::string title;
  std::vector<std::string> frameLines;  // the binary frames shown in the monitor
  std::vector<std::string> monitor;
  int selected = -1;
  int monitorDeletes = 0;
  std::map<int, std::vector<std::string>> traces;
  bool tracesVisible = false;
  std::vector<std::string> dialogs;
  std::deque<bool> answers;
  std::map<TToolButton, Button> buttons;
  std::string commandControls;
  std::string restartReason;  // why the restart buttons stay off
  std::string commandText;
  std::vector<std::string> history;
  int commandBoxFocused = 0;
  std::string gpsRate = "4800";
  std::string port = "/dev/null";
  std::string rate = "9600";
  int readInterval = -1;
  int portListCheckMs = 0;
  std::vector<std::string> refreshes;
  int satelliteTablesFilled = 0;
  int skyDrawn = 0;
};

class FakeTimer : public IIntervalTimer {
 public:
  void Start() override { active = true, ++starts; }
  void Stop() override { active = false; }
  bool IsActive() const override { return active; }
  bool active = false;
  int starts = 0;
};

}  // namespace orlimo
