#include "app/ttff_dialog.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "app/whole_file.h"
#include "measure/ttff_stats.h"
#include "session/ttff_runs.h"

namespace orlimo {
namespace {

constexpr TRestartKind kKinds[] = {kHotStart, kWarmStart, kColdStart, kFactoryDefault};

QString Seconds(const std::optional<double>& s) {
  return s ? QString::number(*s, 'f', 1) + QStringLiteral(" s") : QStringLiteral("–");
}

}  // namespace

TTtffDialog::TTtffDialog(TtffRuns& runs, std::function<QString()> saveFileName, QWidget* parent)
    : QDialog(parent), runs_(runs), saveFileName_(std::move(saveFileName)) {
  setObjectName(QStringLiteral("TtffDialog"));
  setWindowTitle(QStringLiteral("Time-to-first-fix runs"));
  setModal(false);

  kind_ = new QComboBox(this);
  kind_->setObjectName(QStringLiteral("Kind"));
  for (const char* name : {"Hot start", "Warm start", "Cold start", "Factory default"})
    kind_->addItem(QString::fromLatin1(name));
  kind_->setCurrentIndex(2);
  count_ = new QSpinBox(this);
  count_->setObjectName(QStringLiteral("Runs"));
  count_->setRange(1, 1000);
  count_->setValue(10);
  pause_ = new QDoubleSpinBox(this);
  pause_->setObjectName(QStringLiteral("Pause"));
  pause_->setRange(0, 3600);
  pause_->setValue(10);
  pause_->setSuffix(QStringLiteral(" s"));
  timeout_ = new QDoubleSpinBox(this);
  timeout_->setObjectName(QStringLiteral("Timeout"));
  timeout_->setRange(1, 86400);
  timeout_->setValue(300);
  timeout_->setSuffix(QStringLiteral(" s"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Restart"), kind_);
  form->addRow(QStringLiteral("Runs"), count_);
  form->addRow(QStringLiteral("Pause after each fix"), pause_);
  form->addRow(QStringLiteral("Time-out of a run"), timeout_);

  table_ = new QTableWidget(0, 2, this);
  table_->setHorizontalHeaderLabels({QStringLiteral("Run"), QStringLiteral("Time to first fix")});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  summary_ = new QLabel(this);
  status_ = new QLabel(this);
  status_->setWordWrap(true);

  start_ = new QPushButton(QStringLiteral("Start"), this);
  save_ = new QPushButton(QStringLiteral("Save as CSV"), this);
  save_->setEnabled(false);
  connect(start_, &QPushButton::clicked, this, [this] { StartOrCancel(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveCsv(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(start_);
  buttons->addStretch();
  buttons->addWidget(save_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(table_);
  layout->addWidget(summary_);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  resize(380, 460);
  ShowSummary();

  // The dialog lives as long as the window, which outlives the session's runs.
  runs_.OnRunFinished([this](const TtffRun& run) { AddRun(run); });
  runs_.OnFinished([this](const TtffSummary&) { Finished(); });
}

void TTtffDialog::StartOrCancel() {
  if (runs_.Running()) {
    runs_.Cancel();
    status_->setText(QStringLiteral("Stopping after the current run…"));
    return;
  }
  TtffPlan plan;
  plan.kind = kKinds[std::clamp(kind_->currentIndex(), 0, 3)];
  plan.runs = count_->value();
  plan.pauseMs = std::llround(pause_->value() * 1000);
  plan.timeoutMs = std::llround(timeout_->value() * 1000);
  table_->setRowCount(0);
  std::string why;
  if (!runs_.Start(plan, &why)) {
    status_->setText(QString::fromStdString(why));
    return;
  }
  ShowSummary();
  status_->setText(QStringLiteral("Running…"));
  start_->setText(QStringLiteral("Cancel"));
  save_->setEnabled(false);
}

void TTtffDialog::AddRun(const TtffRun& run) {
  const int row = table_->rowCount();
  table_->insertRow(row);
  table_->setItem(row, 0, new QTableWidgetItem(QString::number(run.number)));
  table_->setItem(row, 1, new QTableWidgetItem(run.seconds ? Seconds(run.seconds) : QStringLiteral("time-out")));
  table_->scrollToBottom();
  ShowSummary();
}

void TTtffDialog::ShowSummary() {
  const TtffSummary s = SummariseTtff(runs_.Runs());
  summary_->setText(QStringLiteral("Runs %1, fixed %2; min %3, median %4, 95 % %5, max %6")
                        .arg(s.runs)
                        .arg(s.fixed)
                        .arg(Seconds(s.min), Seconds(s.median), Seconds(s.p95), Seconds(s.max)));
}

void TTtffDialog::Finished() {
  ShowSummary();
  const std::string& reason = runs_.StopReason();
  status_->setText(reason.empty() ? QStringLiteral("Done.") : QString::fromStdString(reason));
  start_->setText(QStringLiteral("Start"));
  save_->setEnabled(!runs_.Runs().empty());
}

bool TTtffDialog::SaveCsv() {
  const QString path = saveFileName_ ? saveFileName_() : QString();
  if (path.isEmpty()) return false;
  const std::string csv = TtffCsv(runs_.Runs(), std::string(RestartKindName(runs_.Plan().kind)));
  QString error;
  if (!WriteWholeFile(path, csv, error)) {
    status_->setText(QStringLiteral("Unable to write %1: %2").arg(path, error));
    return false;
  }
  status_->setText(QStringLiteral("Saved %1.").arg(path));
  return true;
}

QString TTtffDialog::StatusText() const { return status_->text(); }
QString TTtffDialog::SummaryText() const { return summary_->text(); }

}  // namespace orlimo
