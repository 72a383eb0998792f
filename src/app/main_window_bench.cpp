// The test bench's windows beside the main one: the accuracy and signal history
// dialogs, and the track exported as GPX.
#include <QFile>
#include <QFileDialog>
#include <QSaveFile>

#include <fstream>
#include <sstream>

#include "app/accuracy_dialog.h"
#include "app/main_window.h"
#include "app/signal_history_dialog.h"
#include "measure/gpx.h"
#include "orlimo_version.h"

namespace orlimo {
namespace {

template <typename Dialog>
Dialog& Shown(Dialog* dialog) {
  dialog->show();
  dialog->raise();
  return *dialog;
}

}  // namespace

TAccuracyDialog& TFrmOrlimo::ShowAccuracyDialog() {
  if (accuracyDialog_ == nullptr) accuracyDialog_ = new TAccuracyDialog(session_->Bench(), this);
  return Shown(accuracyDialog_);
}

TSignalHistoryDialog& TFrmOrlimo::ShowSignalHistoryDialog() {
  if (signalHistoryDialog_ == nullptr) signalHistoryDialog_ = new TSignalHistoryDialog(session_->Bench(), this);
  return Shown(signalHistoryDialog_);
}

void TFrmOrlimo::ExportTrack() {
  const QString folder = QString::fromStdString(setup_.Places.AppDir);
  std::vector<TTrackPoint> points = session_->Bench().Track();
  QString source = QStringLiteral("this session");
  if (points.empty() || !Dialogs().AskYesNo(QStringLiteral("Export the %1 fixes of this session as GPX?\r\n\r\n"
                                                              "No: choose a log file to export instead.")
                                                .arg(points.size()))) {
    const QString filter = QStringLiteral("NMEA log File (*.log)|*.log|Text File (*.txt)|*.txt|Other type (*.*)|*.*");
    const QString log = setup_.GetOpenFileName
                            ? setup_.GetOpenFileName(folder, filter)
                            : QFileDialog::getOpenFileName(this, QStringLiteral("Export the track of a log"), folder,
                                                           QStringLiteral("Logs (*.log *.nmea *.txt);;All files (*)"));
    if (log.isEmpty()) return;
    std::ifstream in(log.toStdString(), std::ios::binary);
    if (!in) {
      Dialogs().ShowErrorMsg(QStringLiteral("Cannot open %1").arg(log));
      return;
    }
    points = ReadTrack(in);
    source = log;
  }
  if (points.empty()) {
    Dialogs().ShowInformationMsg(QStringLiteral("No valid fix in %1: there is no track to export.").arg(source));
    return;
  }
  const QString suggested = folder + QStringLiteral("track.gpx");
  const QString target = setup_.GetSaveFileName
                             ? setup_.GetSaveFileName(suggested)
                             : QFileDialog::getSaveFileName(this, QStringLiteral("Export track as GPX"), suggested,
                                                            QStringLiteral("GPX (*.gpx)"));
  if (target.isEmpty()) return;
  std::ostringstream gpx;
  WriteGpx(gpx, std::string("Orlimo ") + kProgramVersion, points);
  const std::string text = gpx.str();
  // Written whole or not at all: the file appears only once every point is in it.
  QSaveFile file(target);
  if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
      !file.commit()) {
    Dialogs().ShowErrorMsg(QStringLiteral("Cannot write %1\r\n%2").arg(target, file.errorString()));
  }
}

}  // namespace orlimo
