// The controls that talk to the receiver: the tool buttons, the receiver-rate group
// and the console. Clicks go to the session; the session opens and closes them as
// groups once the receiver has identified itself, and reads the console through
// ISessionView.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>

#include <utility>

#include "app/main_window.h"
#include "widgets/label_3d_border.h"

namespace orlimo {
namespace {

QString Latin1(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The colour of an entry field: the edit area of an editable box, the face of a list.
void SetFieldColour(QWidget* w, const QColor& colour) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Base, colour);
  pal.setColor(QPalette::Button, colour);
  w->setPalette(pal);
}

constexpr TTool kCommandTools[] = {TTool::TBNMEAOutput, TTool::TBHotStart, TTool::TBColdStart,
                                   TTool::TBFactory, TTool::TBTP};

}  // namespace

void TFrmOrlimo::ConnectTools() {
  using Handler = void (TSession::*)();
  const std::pair<TTool, Handler> tools[] = {
      {TTool::TBOpen, &TSession::TBOpenClick},
      {TTool::TBAutoSync, &TSession::TBAutoSyncClick},
      {TTool::TBClose, &TSession::TBCloseClick},
      {TTool::TBNMEAOutput, &TSession::TBNMEAOutputClick},
      {TTool::TBHotStart, &TSession::TBHotStartClick},
      {TTool::TBColdStart, &TSession::TBColdStartClick},
      {TTool::TBFactory, &TSession::TBFactoryClick},
      {TTool::TBTP, &TSession::TBTPClick},
  };
  for (const auto& [tool, handler] : tools) {
    connect(toolBar_->Button(tool), &QToolButton::clicked, this, [this, h = handler] { (session_.get()->*h)(); });
  }
  connect(toolBar_->Button(TTool::TBPause), &QToolButton::clicked, this,
          [this](bool down) { session_->TBPauseClick(down); });
  // A click releases the button; it looks pressed again while the log says so,
  // also after a save that failed.
  connect(toolBar_->Button(TTool::TBStartLog), &QToolButton::clicked, this, [this] {
    session_->TBStartLogClick();
    toolBar_->Button(TTool::TBStartLog)->setDown(logDown_);
  });
  connect(btnGPSBRApply_, &QPushButton::clicked, this, [this] { session_->btnGPSBRApplyClick(); });
  connect(btnCMDSend_, &QPushButton::clicked, this, [this] { session_->btnCMDSendClick(); });
  connect(btnTP_, &QPushButton::clicked, this, [this] { session_->btnTPClick(); });
}

// --- Control groups ---

void TFrmOrlimo::EnableSessionControls(bool versionKnown, bool tmcPresent) {
  // Until the receiver is known the commands stay as they are: disabled since the
  // connect, or since the pause.
  if (!versionKnown) return;
  SetCommandControlsEnabled(true);
  if (tmcPresent) ckbTMCPage_->setEnabled(true);
}

void TFrmOrlimo::DisableSessionControls() {
  SetCommandControlsEnabled(false);
  ckbTMCPage_->setEnabled(false);
}

void TFrmOrlimo::DisableCommandControls() { SetCommandControlsEnabled(false); }

void TFrmOrlimo::SetRestartUnavailableReason(std::string_view reason) {
  // A disabled button still shows its hint: the user learns why it stays grey.
  for (TTool t : {TTool::TBHotStart, TTool::TBColdStart, TTool::TBFactory}) {
    const QString hint = TToolBar::DesignHint(t);
    toolBar_->Button(t)->setToolTip(reason.empty() ? hint : hint + QStringLiteral("\n") + Latin1(reason));
  }
}

void TFrmOrlimo::SetCommandControlsEnabled(bool enabled) {
  const QColor grey(0x80, 0x80, 0x80);
  for (TTool t : kCommandTools) toolBar_->Button(t)->setEnabled(enabled);
  btnTP_->setEnabled(enabled);
  gbxGPSRBSetting_->setEnabled(enabled);
  cbGPSBR_->setEnabled(enabled);
  SetFieldColour(cbGPSBR_, enabled ? QColor(0xFF, 0xFF, 0x80) : grey);
  btnGPSBRApply_->setEnabled(enabled);
  btnCMDSend_->setEnabled(enabled);
  label3DBorder1_->setColor(enabled ? QColor(0xFF, 0xB3, 0xB3) : grey);
  cbCOMMAND_->setEnabled(enabled);
  SetFieldColour(cbCOMMAND_, enabled ? QColor(0xB9, 0xFF, 0xFF) : grey);
}

// --- The console box and the receiver-rate selector ---

std::string TFrmOrlimo::CommandText() const {
  // 8-bit text; a character it cannot hold becomes SUB, which the console refuses.
  std::string out;
  for (QChar c : cbCOMMAND_->currentText()) out.push_back(c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '\x1A');
  return out;
}

std::vector<std::string> TFrmOrlimo::CommandHistory() const {
  std::vector<std::string> items;
  for (int i = 0; i < cbCOMMAND_->count(); ++i) items.push_back(cbCOMMAND_->itemText(i).toLatin1().toStdString());
  return items;
}

void TFrmOrlimo::InsertCommandHistory(std::string_view text) {
  const QString typed = cbCOMMAND_->currentText();
  cbCOMMAND_->insertItem(0, Latin1(text));
  cbCOMMAND_->setEditText(typed);  // inserting must not change what is typed
}

void TFrmOrlimo::FocusCommandBox() { cbCOMMAND_->setFocus(); }

std::string TFrmOrlimo::GPSBaudRateText() const { return cbGPSBR_->currentText().toStdString(); }

}  // namespace orlimo
