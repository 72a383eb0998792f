// TFrmOrlimo: the main window. It lays out the controls, owns the receiver session
// and shows what the session reports through ISessionView; the protocol logic is
// all in the session. It also keeps the port list current and reacts to plugging,
// reads the settings file when first shown and writes it when closed.
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/navi_format.h"
#include "app/simulator_link.h"
#include "app/tool_bar.h"
#include "serial/by_id.h"
#include "serial/port_label.h"
#include "serial/usb_watch.h"
#include "session/file_places.h"
#include "session/session.h"
#include "session/session_view.h"
#include "session/settings.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QToolButton;
class QUrl;

namespace orlimo {

class DeviceEventSource;
class TInfoUSB;
class TLabel3DBorder;
class TMonitorList;
class TNaviPanel;
class TStatusBar;
class TTtffDialog;
class TAccuracyDialog;
class TSignalHistoryDialog;
class TStatisticsDialog;
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
  // The udev properties behind a port's label; by default udev's own.
  PortPropertyReader PortProperties;
  // Where the stable port names live; empty: /dev/serial/by-id.
  QString StablePortDir;
  // Message boxes by default.
  std::unique_ptr<IDialogs> Dialogs;
  // The settings file and the folder of the logs; empty: the window reads and
  // writes no file (tests that do not need them).
  TFilePlaces Places;
  // Opens the brand's web page; by default the desktop's handler.
  std::function<void(const QUrl&)> OpenUrl;
  // The log checker's file dialog: (start folder, filter) -> the chosen file, empty
  // when cancelled; by default the toolkit's dialog.
  std::function<QString(const QString& folder, const QString& filter)> GetOpenFileName;
  // Where a file goes: (suggested path) -> the chosen path, empty when cancelled; by
  // default the toolkit's save dialog.
  std::function<QString(const QString& suggested)> GetSaveFileName;
  // Milliseconds between reconnects of a network source that failed (--retry-interval).
  int RetryIntervalMs = 5000;
  // The pty of the built-in simulated receiver or replay; a run on it leaves the
  // saved port and rate as they were.
  QString SimulatorPort;
  // The stream server's port (--serve; 0: kDefaultServePort) and address
  // (--serve-address); File > Share switches it, off at start.
  quint16 ServePort = 0;
  QString ServeAddress = QStringLiteral("127.0.0.1");
};

class TFrmOrlimo : public QWidget, public ISessionView {
 public:
  // The window as shown: the design narrowed to its left column and without the
  // message log, unless the edition keeps the wide diagnostic layout.
  static constexpr int kClientWidth = 846;
  static constexpr int kClientHeight = 615;
  static constexpr int kDesignWidth = 1126;
  static constexpr int kDesignHeight = 750;
  static constexpr int kTmCkCOMInterval = 1500;
  static constexpr int kHintDelayMs = 300;
  // The stream server's port when --serve names none: NMEA 0183 over IP's own.
  static constexpr quint16 kDefaultServePort = 10110;

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
  void AppendMonitorFrame(std::string_view text, std::string_view frame) override;
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
  void ShowCommandFailure(std::string_view msg) override;
  void ShowConnectionNotice(std::string_view msg) override;
  void ShowInformationMsg(std::string_view msg) override;
  void SetButtonImage(TToolButton button, int image) override;
  void SetButtonHint(TToolButton button, std::string_view hint) override;
  void SetButtonDown(TToolButton button, bool down) override;
  void SetButtonEnabled(TToolButton button, bool enabled) override;
  bool ButtonEnabled(TToolButton button) const override;
  void EnableSessionControls(bool versionKnown, bool tmcPresent) override;
  void DisableSessionControls() override;
  void DisableCommandControls() override;
  void SetRestartUnavailableReason(std::string_view reason) override;
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
  // Selects the port, offering it first when it is not listed.
  void ChoosePort(const QString& port);
  // A stable name (/dev/serial/by-id/...) stays listed from now on, plugged in or
  // not; other names are left alone.
  void KeepStablePort(const QString& port);
  // A device path the user named stays listed as given from now on, there or not.
  void KeepNamedPort(const QString& port);

  // --- Life of the window ---
  // First showing: the settings file is read and applied (once).
  void FormShow();
  // Every activation: the edition's layout (also applied once at creation).
  void FormActivate();
  // The settings as the file keeps them, from the controls; and applied to them.
  TSettings CollectSettings() const;
  void ApplySettings(const TSettings& settings);
  // Writes the settings file unless its folder cannot be written for good; a
  // failure is shown and does not stop the caller.
  void SaveSettings();
  // A stop signal: closes as the close button would, but asks nothing and shows no
  // box (a box already open is dismissed): the log is saved with SaveAtExit, and
  // every message goes to standard error. Once is enough; later calls do nothing.
  void CloseForSignal();
  void ImgLogoClick();

  // --- The diagnostic strip of the wide layout ---
  void Button1Click();  // "SetTimeOut": the receive time-outs to the timing log
  void Button2Click();  // "Save": the timing log to TTFFLog.txt
  void Button7Click();  // "Open File": the log checker
  // The lines of a trace pane, as 8-bit text.
  std::vector<std::string> TraceLines(int memo) const;

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
  // The window below the menu bar: every position of the layout is relative to it.
  QWidget* Client() const { return client_; }
  QMenuBar* MenuBar() const { return menuBar_; }
  // Measure > Time-to-first-fix runs: the dialog, made once and shown.
  TTtffDialog& ShowTtffDialog();
  // Measure > Accuracy and Signal history: made once and shown (main_window_bench.cpp).
  TAccuracyDialog& ShowAccuracyDialog();
  TSignalHistoryDialog& ShowSignalHistoryDialog();
  TStatisticsDialog& ShowStatisticsDialog();
  // File > Export track as GPX: the session's fixes or, when the user says so (or
  // the session has none), a log's.
  void ExportTrack();
  QSpinBox* SpinEditTimeOut() const { return spinEditTimeOut_; }
  QPlainTextEdit* Memo(int memo) const { return memo >= 1 && memo <= 4 ? memos_[memo] : nullptr; }
  QLabel* ImgLogo() const { return imgLogo_; }
  const TFilePlaces& Places() const { return setup_.Places; }
  TInfoUSB* InfoUSB() const { return infoUSB_; }
  QTimer& TmCkCOM() { return tmCkCOM_; }
  QStringList PortItems() const;
  // File > Share the receiver: starts or stops the stream server on ServePort (or
  // kDefaultServePort). False, with the item unchecked, when it cannot listen: the
  // reason goes to `why` when given, else to an error box (main_window_network.cpp).
  bool ShareReceiver(bool on, std::string* why = nullptr);
  QAction* ShareAction() const { return shareAction_; }
  // Puts `ports` into the selector (only when they differ) and keeps the shown port
  // selected while it exists; false when there is no port at all.
  bool ShowPortList(const QStringList& ports);

 protected:
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  // FormClose: disconnect, offer to keep the log, write the settings.
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  const Edition& edition() const { return setup_.Session.edition; }
  void BuildLayout();
  // The menu bar: File, Measure, Help (main_window_menu.cpp).
  void BuildMenuBar();
  void ShowAbout();
  void ReplayCapture();
  void OpenLogFolder();
  // The menu's file dialogs (or the setup's stand-ins): a log to read, from the log
  // folder, and where a file named `name` goes, offered in the log folder.
  QString ChooseLog(const QString& title);
  QString ChooseSaveFile(const QString& title, const QString& name, const QString& filter);
  // A network source typed or chosen in the port box has no rate: the rate box is off.
  void FollowPortText(const QString& text);
  void BuildTopStrip(QWidget* panel11);
  void BuildProControls(QWidget* panel11, QWidget* panel4);
  void BuildViews();
  void BuildDiagnosticStrip();
  void ConnectTools();
  void FormCreate();
  // The design size with the message log and the strip, or the narrowed window.
  void ArrangeWindowSize(bool wide);
  void CentreOnDesktop();
  void ArrangeCompactEdition();
  void ArrangeKeldarEdition();
  void ArrangeOtherBrandEdition();
  void ArrangeProEdition();
  // Places the logo banner and paints it for `text` (the brand's picture in the
  // KELDAR edition); its width is cut where the window ends.
  void PlaceLogo(int left, int top, int width, int height, const QString& text);
  void FormClose(QCloseEvent* e);
  // The message boxes, or standard error once a stop signal came.
  IDialogs& Dialogs() { return signalDialogs_ ? *signalDialogs_ : *setup_.Dialogs; }
  void SaveTraceLines(int memo, const QString& path);
  int ToolsRight() const;  // right edge of the last shown tool, in Panel11
  void DrawActivityIndicator(QPainter& p, const QRect& r) const;
  // The receiver commands as one group: enabled, or disabled and greyed.
  void SetCommandControlsEnabled(bool enabled);
  QToolButton* ToolFor(TToolButton button) const;
  void BringToFront();
  // The system's ports, the extra ones and the stable names kept; nullopt when they
  // cannot be listed.
  std::optional<QStringList> CurrentPortList();
  QString PortLabelFor(const QString& port) const;

  TFrmOrlimoSetup setup_;
  TStablePorts stablePorts_{setup_.StablePortDir};
  // Memo1..Memo4 (index 0 unused) and the lines each holds.
  std::array<QPlainTextEdit*, 5> memos_{};
  std::array<int, 5> memoLines_{};
  QTimer tmCkCOM_;
  bool portListFailing_ = false;  // the last listing failed (said once)
  bool shown_ = false;    // FormShow has run
  bool closing_ = false;  // inside FormClose, whose waits let events in
  std::unique_ptr<IDialogs> signalDialogs_;  // set by CloseForSignal
  bool logDown_ = false;  // the log button's pressed look, kept across its clicks
  // The port name the serial component had before any settings or connection.
  QString initialCommName_;
  bool commNamed_ = false;
  // Ports the user named (the saved one, --port): listed as given whether or not
  // they exist now, so no other port takes their place unasked.
  QStringList namedPorts_;
  // The port and rate the settings file held, kept for a run on the simulator.
  std::optional<std::string> savedPort_;
  std::optional<std::string> savedRate_;

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
  QCheckBox* synColor_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QSpinBox* spinEditTimeOut_ = nullptr;
  QWidget* panel2_ = nullptr;
  QWidget* client_ = nullptr;   // the window below the menu bar
  QMenuBar* menuBar_ = nullptr;
  TTtffDialog* ttffDialog_ = nullptr;  // made when first asked for
  TAccuracyDialog* accuracyDialog_ = nullptr;
  TSignalHistoryDialog* signalHistoryDialog_ = nullptr;
  TStatisticsDialog* statisticsDialog_ = nullptr;
  std::unique_ptr<TSimulatorLink> replay_;  // a capture replayed from the File menu
  QWidget* diagnosticStrip_ = nullptr;
  QListWidget* lbxTestColor_ = nullptr;
  QScrollBar* scrollBarMeter_ = nullptr;
  TInfoUSB* infoUSB_ = nullptr;
  TqvUSBx* usbWatcher_ = nullptr;
  QAction* shareAction_ = nullptr;

  // Last, so it goes first: the session closes its port before the widgets go.
  std::unique_ptr<TSession> session_;
};

}  // namespace orlimo
