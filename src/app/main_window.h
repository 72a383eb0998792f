// TFrmOrlimo: the main window. It lays out the controls, owns the receiver session
// and shows what the session reports through ISessionView; the protocol logic is
// all in the session. It also keeps the port list current and reacts to plugging.
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/navi_format.h"
#include "app/tool_bar.h"
#include "serial/usb_watch.h"
#include "session/session.h"
#include "session/session_view.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace orlimo {

class DeviceEventSource;
class TInfoUSB;
class TLabel3DBorder;
class TMonitorList;
class TNaviPanel;
class TStatusBar;
class TqvUSBx;
class TPortCombo;
class TSatelliteView;
class TSkyView;
class TSpeedView;

struct TFrmOrlimoSetup {
  SessionOptions Session;
  // Ports that are offered beside the system's own when they exist (--port, the
  // simulator's pty).
  QStringList ExtraPorts;
  // The current port list; by default the system's serial ports plus ExtraPorts.
  std::function<QStringList(const QStringList& extra)> ListPorts;
  // Plug events; by default udev.
  std::unique_ptr<DeviceEventSource> DeviceEvents;
  // Message boxes by default.
  std::unique_ptr<IDialogs> Dialogs;
};

class TFrmOrlimo : public QWidget, public ISessionView {
 public:
  static constexpr int kClientWidth = 846;
  static constexpr int kClientHeight = 615;
  static constexpr int kTmCkCOMInterval = 1500;

  explicit TFrmOrlimo(TFrmOrlimoSetup setup = {});
  ~TFrmOrlimo() override;

  TSession& Session() { return *session_; }

  // --- ISessionView ---
  void SetPanelText(int panel, std::string_view text) override;
  std::string PanelText(int panel) const override;
  void SetPanelBevel(int panel, TPanelBevel bevel) override;
  void RepaintStatusBar() override;
  void SetWindowTitle(std::string_view title) override;
  void AppendMonitorLine(std::string_view line) override;
  void SelectLastMonitorLine() override;
  int MonitorLineCount() const override;
  int MonitorSelectedIndex() const override;
  void DeleteFirstMonitorLines(int count) override;
  void AppendTrace(int memo, std::string_view text) override;
  int TraceLineCount(int memo) const override;
  void ClearTrace(int memo) override;
  bool TraceVisible(int memo) const override;
  bool AskYesNo(std::string_view msg) override;
  void ShowErrorMsg(std::string_view msg) override;
  void ShowWarningMsg(std::string_view msg) override;
  void ShowConfirmMsg(std::string_view msg) override;
  void SetButtonImage(TToolButton button, int image) override;
  void SetButtonHint(TToolButton button, std::string_view hint) override;
  void SetButtonDown(TToolButton button, bool down) override;
  void SetButtonEnabled(TToolButton button, bool enabled) override;
  bool ButtonEnabled(TToolButton button) const override;
  void EnableSessionControls(bool versionKnown, bool tmcPresent) override;
  void DisableSessionControls() override;
  void DisableCommandControls() override;
  std::string CommandText() const override;
  std::vector<std::string> CommandHistory() const override;
  void InsertCommandHistory(std::string_view text) override;
  void FocusCommandBox() override;
  std::string GPSBaudRateText() const override;
  std::string PortText() const override;
  std::string BaudRateText() const override;
  void SelectBaudRate(std::string_view text) override;
  void ShowReadInterval(int milliseconds) override;
  void SchedulePortListCheck(int milliseconds) override;
  void UpdateNaviPanel(const TqvNMEA& nmea) override;
  void ShowSatelliteTable(const TqvNMEA& nmea) override;
  void DrawSkyView(const TqvNMEA& nmea) override;
  void ShowSpeedAndCourse(const TqvNMEA& nmea) override;

  // --- Port list and plug reactions ---
  void RefreshPortList();
  void CheckPortListChange();
  void TmCkCOMTimer();
  void GPSUSBPortArrival(const QString& port);
  void GPSUSBPortRemoved(const QString& port);
  // Adds a port that is offered whenever it exists, and lists it at once.
  void AddExtraPort(const QString& port);
  // Selects a port in cbGPSCOM; false when it is not listed.
  bool SelectPort(const QString& port);

  // --- The unit switch ---
  // rgUNIT's handler: hands the selection to the speed instrument, which keeps the
  // unit for the whole window and refreshes every view in it.
  void rgUNITClick();
  void SelectUnit(int itemIndex);
  // The unit as the navigation read-outs need it, read from the instrument.
  TUnitSelection Unit() const;

  // --- Parts for tests ---
  TToolBar* ToolBar1() const { return toolBar_; }
  TStatusBar* StatusBar1() const { return statusBar_; }
  TMonitorList* lbxNMEA() const { return lbxNMEA_; }
  TNaviPanel* Panel10() const { return naviPanel_; }
  QWidget* Panel3() const { return panel3_; }
  QWidget* Panel5() const { return panel5_; }
  QWidget* Panel6() const { return panel6_; }
  TSatelliteView* SatelliteView() const { return satelliteView_; }
  TSkyView* SkyView() const { return skyView_; }
  TSpeedView* SpeedView() const { return speedView_; }
  QComboBox* cbGPSCOM() const;
  QComboBox* cbCOMBR() const { return cbCOMBR_; }
  QLineEdit* Edit1() const { return edit1_; }
  QSpinBox* SpinEditTimeOut() const { return spinEditTimeOut_; }
  TInfoUSB* InfoUSB() const { return infoUSB_; }
  QTimer& TmCkCOM() { return tmCkCOM_; }
  QStringList PortItems() const;
  // Puts `ports` into the selector (only when they differ) and keeps the shown port
  // selected while it exists; false when there is no port at all.
  bool ShowPortList(const QStringList& ports);

 private:
  void BuildLayout();
  void BuildTopStrip(QWidget* panel11);
  void BuildProControls(QWidget* panel11, QWidget* panel4);
  void BuildViews();
  void ConnectTools();
  void FormCreate();
  // The edition's controls, their places and its branding; the edition is fixed when
  // the program is built, so this runs once, at creation.
  void ApplyEditionLayout();
  void ArrangeBrandEdition();
  void ArrangeProEdition();
  void ArrangeUnitGroup(const QRect& group, const QRect& km, const QRect& mile);
  int ToolsRight() const;  // right edge of the last shown tool, in Panel11
  void DrawActivityIndicator(QPainter& p, const QRect& r) const;
  // The receiver commands as one group: enabled, or disabled and greyed.
  void SetCommandControlsEnabled(bool enabled);
  QToolButton* ToolFor(TToolButton button) const;
  void BringToFront();
  QStringList CurrentPortList() const;

  TFrmOrlimoSetup setup_;
  std::array<std::vector<std::string>, 5> memos_;  // Memo1..Memo4 (index 0 unused)
  QTimer tmCkCOM_;

  TToolBar* toolBar_ = nullptr;
  TStatusBar* statusBar_ = nullptr;
  TMonitorList* lbxNMEA_ = nullptr;
  TNaviPanel* naviPanel_ = nullptr;
  QWidget* panel3_ = nullptr;
  QWidget* panel5_ = nullptr;
  QWidget* panel6_ = nullptr;
  TSatelliteView* satelliteView_ = nullptr;
  TSkyView* skyView_ = nullptr;
  TSpeedView* speedView_ = nullptr;
  QWidget* panel7_ = nullptr;
  TPortCombo* cbGPSCOM_ = nullptr;
  QComboBox* cbCOMBR_ = nullptr;
  QGroupBox* rgUNIT_ = nullptr;
  QRadioButton* unitKm_ = nullptr;
  QRadioButton* unitMile_ = nullptr;
  QGroupBox* gbxGPSRBSetting_ = nullptr;
  QComboBox* cbGPSBR_ = nullptr;
  QPushButton* btnGPSBRApply_ = nullptr;
  QComboBox* cbCOMMAND_ = nullptr;
  QPushButton* btnCMDSend_ = nullptr;
  QPushButton* btnTP_ = nullptr;
  QCheckBox* ckbTMCPage_ = nullptr;
  TLabel3DBorder* label3DBorder1_ = nullptr;
  QLabel* imgLogo_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QSpinBox* spinEditTimeOut_ = nullptr;
  TInfoUSB* infoUSB_ = nullptr;
  TqvUSBx* usbWatcher_ = nullptr;

  // Last, so it goes first: the session closes its port before the widgets go.
  std::unique_ptr<TSession> session_;
};

}  // namespace orlimo
