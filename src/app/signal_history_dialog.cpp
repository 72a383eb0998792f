#include "app/signal_history_dialog.h"

#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "measure/signal_history.h"
#include "session/bench_recorder.h"
#include "widgets/history_plot.h"

namespace orlimo {
namespace {

constexpr double kTopCn0 = 60;  // dB-Hz: above any real signal

// Neighbours in the list (same system, close numbers) get far-apart hues.
QColor SatelliteColour(int index) { return QColor::fromHsv((index * 137) % 360, 220, 200); }

}  // namespace

TSignalHistoryDialog::TSignalHistoryDialog(const TBenchRecorder& bench, QWidget* parent)
    : TBenchDialog(bench, parent), bench_(bench) {
  setObjectName(QStringLiteral("SignalHistoryDialog"));
  setWindowTitle(QStringLiteral("Signal history"));
  signals_ = new THistoryPlot(this);
  signals_->SetTitle(QStringLiteral("C/N0 (dB-Hz), the last 10 minutes; bold: used in the fix"));
  signals_->SetValueRange(0, kTopCn0);
  signals_->setMinimumSize(640, 320);
  solution_ = new THistoryPlot(this);
  solution_->SetTitle(QStringLiteral("Satellites used and HDOP"));
  solution_->setMinimumSize(640, 160);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(signals_, 2);
  layout->addWidget(solution_, 1);
  Refresh();
}

void TSignalHistoryDialog::Refresh() {
  TakeRevision();
  const TSignalHistory& history = bench_.SignalHistory();
  const std::vector<TSolutionPoint> solution = history.Solution();
  const double end = solution.empty() ? 0 : solution.back().time;
  const double start = end - TSignalHistory::kWindowSeconds;

  std::vector<THistorySeries> sats;
  names_.clear();
  for (const TSignalTrace& trace : history.Satellites()) {
    THistorySeries series;
    series.name = QString::fromStdString(trace.name);
    series.colour = SatelliteColour(static_cast<int>(sats.size()));
    series.bold = !trace.points.empty() && trace.points.back().used;
    for (const TSignalPoint& p : trace.points)
      if (p.cn0 > 0) series.points.emplace_back(p.time, p.cn0);
    if (series.points.empty()) continue;
    names_ << series.name;
    sats.push_back(std::move(series));
  }
  signals_->SetTimeWindow(start, end);
  signals_->SetSeries(std::move(sats));

  THistorySeries used{QStringLiteral("Used"), QColor(0, 0, 160), true, {}};
  THistorySeries hdop{QStringLiteral("HDOP"), QColor(200, 90, 0), false, {}};
  double top = 4;
  for (const TSolutionPoint& p : solution) {
    used.points.emplace_back(p.time, p.used);
    top = std::max(top, static_cast<double>(p.used));
    if (p.hdop) {
      hdop.points.emplace_back(p.time, *p.hdop);
      top = std::max(top, *p.hdop);
    }
  }
  solution_->SetTimeWindow(start, end);
  solution_->SetValueRange(0, top + 1);
  solution_->SetSeries({std::move(used), std::move(hdop)});
}

}  // namespace orlimo
