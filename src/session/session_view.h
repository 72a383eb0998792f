// What the receiver session needs of the screen. The main window implements it;
// tests use a recording fake. Text is 8-bit, shown as Latin-1.
#pragma once

#include <string>
#include <string_view>

namespace orlimo {

class TqvNMEA;

class ISessionView {
 public:
  virtual ~ISessionView() = default;

  // Status bar: panels 1..9, and a repaint for the owner-drawn activity indicator.
  virtual void SetPanelText(int panel, std::string_view text) = 0;
  virtual void RepaintStatusBar() = 0;

  // The monitor list of accepted sentences.
  virtual void AppendMonitorLine(std::string_view line) = 0;
  virtual void SelectLastMonitorLine() = 0;
  virtual int MonitorLineCount() const = 0;
  // Deletes the first `count` lines in one update (one repaint).
  virtual void DeleteFirstMonitorLines(int count) = 0;

  // The hidden diagnostic panes Memo1..Memo4.
  virtual void AppendTrace(int memo, std::string_view text) = 0;
  virtual int TraceLineCount(int memo) const = 0;
  virtual void ClearTrace(int memo) = 0;

  // The views refreshed after each pass, called in this order by RefreshViews.
  virtual void UpdateNaviPanel(const TqvNMEA& nmea) = 0;
  virtual void ShowSatelliteTable(const TqvNMEA& nmea) = 0;
  virtual void DrawSkyView(const TqvNMEA& nmea) = 0;
  virtual void ShowSpeedAndCourse(const TqvNMEA& nmea) = 0;
};

}  // namespace orlimo
