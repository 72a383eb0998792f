#include "app/statistics_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "measure/stream_statistics.h"

namespace orlimo {
namespace {

QTableWidgetItem* Cell(const QString& text, bool number) {
  auto* item = new QTableWidgetItem(text);
  if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

TStatisticsDialog::TStatisticsDialog(const StreamStatistics& statistics, QWidget* parent)
    : QDialog(parent), statistics_(statistics) {
  setObjectName(QStringLiteral("StatisticsDialog"));
  setWindowTitle(QStringLiteral("Sentence statistics"));
  totals_ = new QLabel(this);
  table_ = new QTableWidget(0, 3, this);
  table_->setHorizontalHeaderLabels({QStringLiteral("Type"), QStringLiteral("Count"), QStringLiteral("Per second")});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->setMinimumSize(360, 320);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(totals_);
  layout->addWidget(table_);
  refresh_.setInterval(1000);
  connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
  Refresh();
}

void TStatisticsDialog::Refresh() {
  totals_->setText(QStringLiteral("Lines and frames: %1    accepted: %2    bad checksum: %3    junk bytes: %4")
                       .arg(statistics_.Lines())
                       .arg(statistics_.Accepted())
                       .arg(statistics_.BadChecksum())
                       .arg(statistics_.JunkBytes()));
  const auto rates = statistics_.PerSecond();
  const auto& counts = statistics_.PerType();
  table_->setRowCount(static_cast<int>(counts.size()));
  int row = 0;
  for (const auto& [key, count] : counts) {
    const auto rate = rates.find(key);
    table_->setItem(row, 0, Cell(QString::fromStdString(key), false));
    table_->setItem(row, 1, Cell(QString::number(count), true));
    table_->setItem(row, 2, Cell(QString::number(rate == rates.end() ? 0.0 : rate->second, 'f', 1), true));
    ++row;
  }
}

QString TStatisticsDialog::TableText() const {
  QString text = totals_->text();
  for (int row = 0; row < table_->rowCount(); ++row) {
    text += QLatin1Char('\n');
    for (int column = 0; column < table_->columnCount(); ++column) {
      if (column > 0) text += QLatin1Char('\t');
      if (const QTableWidgetItem* item = table_->item(row, column)) text += item->text();
    }
  }
  return text;
}

void TStatisticsDialog::showEvent(QShowEvent* e) {
  Refresh();
  refresh_.start();
  QDialog::showEvent(e);
}

void TStatisticsDialog::hideEvent(QHideEvent* e) {
  refresh_.stop();
  QDialog::hideEvent(e);
}

}  // namespace orlimo
