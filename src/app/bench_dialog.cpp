#include "app/bench_dialog.h"

#include "session/bench_recorder.h"

namespace orlimo {
namespace {

constexpr int kRefreshMs = 1000;

}  // namespace

TBenchDialog::TBenchDialog(const TBenchRecorder& bench, QWidget* parent) : QDialog(parent), bench_(bench) {
  setModal(false);
  connect(&refresh_, &QTimer::timeout, this, [this] {
    if (bench_.Revision() != shownRevision_) Refresh();
  });
}

void TBenchDialog::TakeRevision() { shownRevision_ = bench_.Revision(); }

void TBenchDialog::showEvent(QShowEvent* e) {
  refresh_.start(kRefreshMs);
  QDialog::showEvent(e);
}

void TBenchDialog::hideEvent(QHideEvent* e) {
  refresh_.stop();
  QDialog::hideEvent(e);
}

}  // namespace orlimo
