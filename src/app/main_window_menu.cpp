// The menu bar above the window: File (replay a capture, the log folder, the track
// as GPX, quit), Measure (the test bench) and Help (about). The window below it keeps
// every position it was designed with; the bar only makes it taller.
#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QUrl>

#include "app/main_window.h"
#include "app/ttff_dialog.h"
#include "orlimo_version.h"

namespace orlimo {

void TFrmOrlimo::BuildMenuBar() {
  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName(QStringLiteral("MenuBar"));
  menuBar_->setNativeMenuBar(false);  // part of the window on every desktop

  QMenu* file = menuBar_->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&Replay a capture…"), this, [this] { ReplayCapture(); });
  file->addAction(QStringLiteral("&Open the log folder"), this, [this] { OpenLogFolder(); });
  file->addAction(QStringLiteral("&Export track as GPX…"), this, [this] { ExportTrack(); });
  file->addSeparator();
  shareAction_ = file->addAction(QStringLiteral("&Share the receiver on TCP port %1")
                                     .arg(setup_.ServePort != 0 ? setup_.ServePort : kDefaultServePort));
  shareAction_->setCheckable(true);
  connect(shareAction_, &QAction::triggered, this, [this](bool on) { ShareReceiver(on); });
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("&Quit"), this, [this] { close(); });
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* measure = menuBar_->addMenu(QStringLiteral("&Measure"));
  measure->addAction(QStringLiteral("&Time-to-first-fix runs…"), this, [this] { ShowTtffDialog(); });
  measure->addAction(QStringLiteral("&Accuracy…"), this, [this] { ShowAccuracyDialog(); });
  measure->addAction(QStringLiteral("&Signal history…"), this, [this] { ShowSignalHistoryDialog(); });
  measure->addAction(QStringLiteral("Sentence s&tatistics…"), this, [this] { ShowStatisticsDialog(); });

  QMenu* help = menuBar_->addMenu(QStringLiteral("&Help"));
  QAction* about = help->addAction(QStringLiteral("&About"), this, [this] { ShowAbout(); });
  about->setShortcut(QKeySequence(Qt::Key_F1));
  // The tool button of the same name, which never had an action, opens the same box.
  connect(toolBar_->Button(TTool::TBAbout), &QToolButton::clicked, this, [this] { ShowAbout(); });
}

TTtffDialog& TFrmOrlimo::ShowTtffDialog() {
  if (ttffDialog_ == nullptr) {
    ttffDialog_ = new TTtffDialog(session_->TtffRuns(), [this] {
      return ChooseSaveFile(QStringLiteral("Save the runs as CSV"), QStringLiteral("ttff.csv"), QStringLiteral("CSV (*.csv)"));
    }, this);
  }
  ttffDialog_->show();
  ttffDialog_->raise();
  return *ttffDialog_;
}

void TFrmOrlimo::ShowAbout() {
  setup_.Dialogs->ShowInformationMsg(
      QStringLiteral("Orlimo %1\r\n\r\nA utility for testing and using GPS receivers on a serial line.\r\n\r\n"
                     "Licence: proprietary; all rights reserved by its makers.")
          .arg(QString::fromLatin1(kProgramVersion)));
}

QString TFrmOrlimo::ChooseLog(const QString& title) {
  const QString folder = QString::fromStdString(setup_.Places.AppDir);
  if (setup_.GetOpenFileName)
    return setup_.GetOpenFileName(folder, QStringLiteral("NMEA log File (*.log)|*.log|Text File (*.txt)|*.txt|Other type (*.*)|*.*"));
  return QFileDialog::getOpenFileName(this, title, folder, QStringLiteral("Logs (*.log *.nmea *.txt);;All files (*)"));
}

QString TFrmOrlimo::ChooseSaveFile(const QString& title, const QString& name, const QString& filter) {
  const QString suggested = QString::fromStdString(setup_.Places.AppDir) + name;
  return setup_.GetSaveFileName ? setup_.GetSaveFileName(suggested)
                                : QFileDialog::getSaveFileName(this, title, suggested, filter);
}

void TFrmOrlimo::ReplayCapture() {
  const QString capture = ChooseLog(QStringLiteral("Replay a capture"));
  if (capture.isEmpty()) return;
  if (session_->State().PortOpen) session_->TBOpenClick();
  auto link = std::make_unique<TSimulatorLink>();
  QString error, note;
  if (!link->StartReplay(capture, 0, 1, error, note)) {
    setup_.Dialogs->ShowErrorMsg(error);
    return;
  }
  if (replay_) setup_.ExtraPorts.removeAll(replay_->PortPath());
  replay_ = std::move(link);
  setup_.ExtraPorts << replay_->PortPath();
  RefreshPortList();
  SelectPort(replay_->PortPath());
  SelectBaudRate(std::to_string(replay_->Rate()));
  session_->TBOpenClick();
}

void TFrmOrlimo::OpenLogFolder() {
  const QUrl folder = QUrl::fromLocalFile(QString::fromStdString(setup_.Places.AppDir));
  if (setup_.OpenUrl) setup_.OpenUrl(folder);
  else QDesktopServices::openUrl(folder);
}

}  // namespace orlimo
