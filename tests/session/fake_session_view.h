// A view that records what the session shows, for tests.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "nmea/decoder.h"
#include "session/activity_indicator.h"
#include "session/session_view.h"

namespace orlimo {

class FakeSessionView : public ISessionView {
 public:
  void SetPanelText(int panel, std::string_view text) override { panels[panel] = text; }
  void RepaintStatusBar() override { ++statusRepaints; }

  void AppendMonitorLine(std::string_view line) override { monitor.emplace_back(line); }
  void SelectLastMonitorLine() override { selected = static_cast<int>(monitor.size()) - 1; }
  int MonitorLineCount() const override { return static_cast<int>(monitor.size()); }
  void DeleteFirstMonitorLines(int count) override {
    monitor.erase(monitor.begin(), monitor.begin() + count);
    ++monitorDeletes;
  }

  void AppendTrace(int memo, std::string_view text) override { traces[memo].emplace_back(text); }
  int TraceLineCount(int memo) const override {
    const auto it = traces.find(memo);
    return it == traces.end() ? 0 : static_cast<int>(it->second.size());
  }
  void ClearTrace(int memo) override { traces[memo].clear(); }

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

  std::map<int, std::string> panels;
  int statusRepaints = 0;
  std::vector<std::string> monitor;
  int selected = -1;
  int monitorDeletes = 0;
  std::map<int, std::vector<std::string>> traces;
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
