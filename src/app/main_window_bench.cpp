// The test bench's windows beside the main one: the accuracy, signal history and
// sentence statistics dialogs, and the track exported as GPX.
#include <fstream>
#include <sstream>

#include "app/accuracy_dialog.h"
#include "app/main_window.h"
#include "app/signal_history_dialog.h"
#include "app/statistics_dialog.h"
#include "app/whole_file.h"
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

TStatisticsDialog& TFrmOrlimo::ShowStatisticsDialog() {
  if (statisticsDialog_ == nullptr) statisticsDialog_ = new TStatisticsDialog(session_->Statistics(), this);
  return Shown(statisticsDialog_);
}

void TFrmOrlimo::ExportTrack() {
  std::vector<TTrackPoint> points = session_->Bench().Track();
  QString source = QStringLiteral("this session");
  if (points.empty() || !Dialogs().AskYesNo(QStringLiteral("Export the %1 fixes of this session as GPX?\r\n\r\n"
                                                              "No: choose a log file to export instead.")
                                                .arg(points.size()))) {
    const QString log = ChooseLog(QStringLiteral("Export the track of a log"));
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
  const QString target =
      ChooseSaveFile(QStringLiteral("Export track as GPX"), QStringLiteral("track.gpx"), QStringLiteral("GPX (*.gpx)"));
  if (target.isEmpty()) return;
  std::ostringstream gpx;
  WriteGpx(gpx, std::string("Orlimo ") + kProgramVersion, points);
  QString error;
  if (!WriteWholeFile(target, gpx.str(), error))
    Dialogs().ShowErrorMsg(QStringLiteral("Cannot write %1\r\n%2").arg(target, error));
}

}  // namespace orlimo
