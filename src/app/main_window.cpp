#include "app/main_window.h"

#include <QComboBox>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>

#include "app/artwork/artwork.h"
#include "app/info_usb.h"
#include "app/monitor_list.h"
#include "app/navi_panel.h"
#include "app/port_combo.h"
#include "app/status_bar.h"
#include "app/views/satellite_view.h"
#include "serial/port_list.h"
#include "serial/usb_watch.h"
#include "session/link_state.h"

namespace orlimo {
namespace {

QString Latin1(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QStringList SystemPortsPlus(const QStringList& extra) {
  QStringList ports;
  EnumerateSerialPorts(ports, extra);
  return ports;
}

}  // namespace

TFrmOrlimo::TFrmOrlimo(TFrmOrlimoSetup setup) : setup_(std::move(setup)) {
  setObjectName(QStringLiteral("FrmOrlimo"));
  if (!setup_.ListPorts) setup_.ListPorts = SystemPortsPlus;
  if (!setup_.Dialogs) setup_.Dialogs = std::make_unique<TMessageBoxDialogs>(this);

  BuildLayout();
  session_ = std::make_unique<TSession>(*this, setup_.Session);
  session_->SetRetryInterval(setup_.RetryIntervalMs);
  ConnectTools();
  BuildMenuBar();

  tmCkCOM_.setInterval(kTmCkCOMInterval);
  connect(&tmCkCOM_, &QTimer::timeout, this, [this] { TmCkCOMTimer(); });

  usbWatcher_ = setup_.DeviceEvents ? new TqvUSBx(std::move(setup_.DeviceEvents), this)
                                    : new TqvUSBx(this);
  usbWatcher_->setObjectName(QStringLiteral("USBWatcher"));
  connect(usbWatcher_, &TqvUSBx::OnPortArrival, this, [this] { CheckPortListChange(); });
  connect(usbWatcher_, &TqvUSBx::OnPortRemoved, this, [this] { CheckPortListChange(); });

  FormCreate();
  // Laid out before the first showing too, so the window is whole from the start.
  FormActivate();
  // The USB information window comes after the main window.
  infoUSB_ = new TInfoUSB(this);
}

TFrmOrlimo::~TFrmOrlimo() {
  tmCkCOM_.stop();
  session_.reset();
}

// --- Status bar ---

void TFrmOrlimo::SetPanelText(int panel, std::string_view text) { statusBar_->SetText(panel, Latin1(text)); }

std::string TFrmOrlimo::PanelText(int panel) const {
  return statusBar_->Text(panel).toLatin1().toStdString();
}

void TFrmOrlimo::SetPanelBevel(int panel, TPanelBevel bevel) { statusBar_->SetBevel(panel, bevel); }

void TFrmOrlimo::RepaintStatusBar() { statusBar_->UpdateLight(); }

void TFrmOrlimo::DrawActivityIndicator(QPainter& p, const QRect& r) const {
  const auto [under, over] = IndicatorImages(session_->State().PortOpen, session_->Indicator().IsOn());
  p.drawImage(r.topLeft(), artwork::GPSDataImage(under));
  p.drawImage(r.topLeft(), artwork::GPSDataImage(over));
}

void TFrmOrlimo::SetWindowTitle(std::string_view title) { setWindowTitle(Latin1(title)); }

// --- Monitor list ---

void TFrmOrlimo::AppendMonitorLine(std::string_view line) { lbxNMEA_->AppendLine(line); }
void TFrmOrlimo::AppendMonitorFrame(std::string_view text, std::string_view frame) {
  lbxNMEA_->AppendFrame(text, frame);
}
void TFrmOrlimo::SelectLastMonitorLine() { lbxNMEA_->SelectLastLine(); }
int TFrmOrlimo::MonitorLineCount() const { return lbxNMEA_->Count(); }
int TFrmOrlimo::MonitorSelectedIndex() const { return lbxNMEA_->SelectedIndex(); }
void TFrmOrlimo::DeleteFirstMonitorLines(int count) { lbxNMEA_->DeleteFirstLines(count); }

// --- Dialogs ---

bool TFrmOrlimo::AskYesNo(std::string_view msg) { return Dialogs().AskYesNo(Latin1(msg)); }
void TFrmOrlimo::ShowErrorMsg(std::string_view msg) { Dialogs().ShowErrorMsg(Latin1(msg)); }
void TFrmOrlimo::ShowWarningMsg(std::string_view msg) { Dialogs().ShowWarningMsg(Latin1(msg)); }
void TFrmOrlimo::ShowConfirmMsg(std::string_view msg) { Dialogs().ShowConfirmMsg(Latin1(msg)); }
void TFrmOrlimo::ShowCommandFailure(std::string_view msg) { Dialogs().ShowNotice(Latin1(msg)); }
void TFrmOrlimo::ShowConnectionNotice(std::string_view msg) { Dialogs().ShowNotice(Latin1(msg)); }
void TFrmOrlimo::ShowInformationMsg(std::string_view msg) { Dialogs().ShowInformationMsg(Latin1(msg)); }

// --- Tool buttons and control groups ---

QToolButton* TFrmOrlimo::ToolFor(TToolButton button) const {
  switch (button) {
    case TToolButton::Open: return toolBar_->Button(TTool::TBOpen);
    case TToolButton::Pause: return toolBar_->Button(TTool::TBPause);
    case TToolButton::AutoSync: return toolBar_->Button(TTool::TBAutoSync);
    case TToolButton::Close: return toolBar_->Button(TTool::TBClose);
    case TToolButton::StartLog: return toolBar_->Button(TTool::TBStartLog);
  }
  return nullptr;
}

void TFrmOrlimo::SetButtonImage(TToolButton button, int image) {
  switch (button) {
    case TToolButton::Open: toolBar_->SetImage(TTool::TBOpen, image); break;
    case TToolButton::Pause: toolBar_->SetImage(TTool::TBPause, image); break;
    case TToolButton::AutoSync: toolBar_->SetImage(TTool::TBAutoSync, image); break;
    case TToolButton::Close: toolBar_->SetImage(TTool::TBClose, image); break;
    case TToolButton::StartLog: toolBar_->SetImage(TTool::TBStartLog, image); break;
  }
}

void TFrmOrlimo::SetButtonHint(TToolButton button, std::string_view hint) {
  ToolFor(button)->setToolTip(Latin1(hint));
}

void TFrmOrlimo::SetButtonDown(TToolButton button, bool down) {
  if (button == TToolButton::StartLog) logDown_ = down;
  QToolButton* b = ToolFor(button);
  if (b->isCheckable()) {
    b->setChecked(down);
  } else {
    b->setDown(down);
  }
}

void TFrmOrlimo::SetButtonEnabled(TToolButton button, bool enabled) { ToolFor(button)->setEnabled(enabled); }

bool TFrmOrlimo::ButtonEnabled(TToolButton button) const { return ToolFor(button)->isEnabled(); }

// --- Port and rate selectors ---

QComboBox* TFrmOrlimo::cbGPSCOM() const { return cbGPSCOM_; }

std::string TFrmOrlimo::PortText() const { return cbGPSCOM_->currentText().toStdString(); }

std::string TFrmOrlimo::BaudRateText() const { return cbCOMBR_->currentText().toStdString(); }

void TFrmOrlimo::SelectBaudRate(std::string_view text) {
  const int i = cbCOMBR_->findText(Latin1(text));
  if (i >= 0) cbCOMBR_->setCurrentIndex(i);
}

void TFrmOrlimo::ShowReadInterval(int milliseconds) { spinEditTimeOut_->setValue(milliseconds); }

void TFrmOrlimo::SchedulePortListCheck(int milliseconds) {
  tmCkCOM_.setInterval(milliseconds);
  if (!tmCkCOM_.isActive()) tmCkCOM_.start();
}

}  // namespace orlimo
