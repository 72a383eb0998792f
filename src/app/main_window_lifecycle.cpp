// The life of the window around the receiver session: creation (defaults, size,
// branding, the folders of the files), the first showing (the settings file), every
// activation (the edition's layout) and the orderly close (disconnect, the log, the
// settings file, the message log of the wide layout), also on a stop signal.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <cstdio>

#include "app/artwork/artwork.h"
#include "app/hint_delay_style.h"
#include "app/main_window.h"
#include "app/monitor_list.h"
#include "app/navi_panel.h"
#include "app/port_combo.h"
#include "app/status_bar.h"
#include "app/views/satellite_view.h"
#include "app/views/speed_view.h"
#include "session/link_state.h"

namespace orlimo {
namespace {

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

// "[1000/1000]" of the trickle editions must be read whole.
constexpr int kPowerModePanelWidth = 80;

}  // namespace

void TFrmOrlimo::FormCreate() {
  const Edition& e = edition();
  // A fixed single border: minimise and the system menu, no maximise.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  toolBar_->SetToolVisible(TTool::TBTP, e.TrickleButtonEnabled);
  if (e.TrickleButtonEnabled) statusBar_->SetPanelWidth(7, kPowerModePanelWidth);
  // The about button has no action, and the row has no room for it in any edition.
  toolBar_->SetToolVisible(TTool::TBAbout, false);
  const std::string dialCaption = e.DialBrandCaption();
  if (!dialCaption.empty()) speedView_->SetMakerCaption(Latin1(dialCaption));

  ArrangeWindowSize(e.WideLayout);
  if (!setup_.Places.AppDir.empty()) session_->RawLog().SetPlaces(setup_.Places.AppDir, LocalTimeNow());
  setWindowIcon(artwork::ApplicationIcon());
  SetWindowTitle(e.Title());

  // Used while no settings file says otherwise.
  cbGPSCOM_->setCurrentIndex(0);
  cbCOMBR_->setCurrentIndex(1);  // 9600
  cbGPSBR_->setCurrentIndex(0);  // 4800

  ClearTrace(1);
  satelliteView_->InitSatelliteTable();
  RefreshPortList();
  cbCOMMAND_->clear();
  cbCOMMAND_->clearEditText();
  naviPanel_->ClearNaviPanel();

  SelectUnit(0);
  session_->Connection().DisableSessionControls();
  SetPanelText(3, LinkStateName(session_->State().LinkState));
  imgLogo_->setToolTip(Latin1(e.LogoHint()));
  imgLogo_->setCursor(Qt::PointingHandCursor);
  imgLogo_->installEventFilter(this);
  if (!setup_.Places.AppDir.empty()) session_->RawLog().DisableLoggingOnCDROM();
  lbxNMEA_->SetSyntaxColor(true);
  SetHintDelay(kHintDelayMs);

  initialCommName_ = session_->CommGPS().CommName();
}

void TFrmOrlimo::FormShow() {
  if (shown_) return;
  shown_ = true;
  const std::string& path = setup_.Places.IniPath;
  TIniFile ini;
  if (!path.empty() && ini.Load(path)) ApplySettings(ReadSettings(ini));
  lbxNMEA_->SetSyntaxColor(synColor_->isChecked());
  AppendTrace(2, "FormShow");
  // Its news boxes come once the window is up: a show event comes before that.
  if (!setup_.Places.AppDir.empty())
    QTimer::singleShot(0, this, [this] { session_->RawLog().RecoverEarlierLogs(); });
}

void TFrmOrlimo::CentreOnDesktop() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()).topLeft());
}

void TFrmOrlimo::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (shown_ || e->spontaneous()) return;
  CentreOnDesktop();
  FormShow();
}

void TFrmOrlimo::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TFrmOrlimo::closeEvent(QCloseEvent* e) { FormClose(e); }

void TFrmOrlimo::CloseForSignal() {
  if (signalDialogs_) return;
  signalDialogs_ = std::make_unique<TStderrDialogs>(QStringLiteral("orlimo: "));
  // A box open now waits in an event loop of its own: dismissed as Escape would (a
  // question: no), it lets its caller go on.
  if (QWidget* box = QApplication::activeModalWidget()) box->close();
  // A close under way (the user's) goes on without boxes from here.
  if (!closing_) close();
}

void TFrmOrlimo::FormClose(QCloseEvent* e) {
  // The waits below let events in; a second close meanwhile is the same close.
  if (closing_) {
    e->ignore();
    return;
  }
  closing_ = true;
  TSession::DelayMs(200);
  if (session_->State().PortOpen) session_->TBOpenClick();
  session_->Connection().StopSessionTimers();
  if (signalDialogs_) {
    // Nobody may be there to answer: the log is saved as far as it can be, and the
    // window closes whatever happened.
    const std::string note = session_->RawLog().SaveAtExit();
    if (!note.empty()) std::fprintf(stderr, "orlimo: %s\n", note.c_str());
  } else if (!session_->RawLog().AskSaveBeforeQuit()) {
    // The log could not be saved: the window stays, and logging is now off.
    closing_ = false;
    e->ignore();
    return;
  }
  TSession::DelayMs(100);
  SaveSettings();
  if (edition().WideLayout) SaveTraceLines(2, QStringLiteral("debug.txt"));
  closing_ = false;
  e->accept();
}

}  // namespace orlimo
