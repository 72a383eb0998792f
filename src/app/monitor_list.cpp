#include "app/monitor_list.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>

#include <array>

#include "app/fonts.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

// Indexed by sentence type.
constexpr std::array<QRgb, kSentenceTypeCount> kTypeColours = {
    0xFFFFFF,  // none
    0x7BF700,  // RMC
    0xF200F2,  // GGA
    0xFFFF3C,  // GLL
    0xFFFF8E,  // GSA
    0xFF9797,  // GSV
    0xBCFF79,  // VTG
    0xBCFF79,  // MSS
    0x80BFFF,  // PQY
    0xFF6060,  // PQX
};

const QColor kSilver(0xC0, 0xC0, 0xC0);

}  // namespace

QColor MonitorColor(std::string_view line) { return QColor(kTypeColours[GetSentenceType(line)]); }

void TMonitorDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const QByteArray text = index.data(Qt::DisplayRole).toString().toLatin1();
  const QString shown = QString::fromLatin1(text);
  const bool selected = option.state & QStyle::State_Selected;
  const QFontMetrics fm(option.font);
  const QRect textRect(option.rect.topLeft(),
                       QSize(fm.horizontalAdvance(shown), option.rect.height()));
  p->save();
  p->fillRect(textRect, selected ? option.palette.color(QPalette::Active, QPalette::Highlight)
                                 : option.palette.color(QPalette::Base));
  p->setFont(option.font);
  p->setPen(MonitorColor(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))));
  p->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
  p->restore();
}

QSize TMonitorDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QFontMetrics fm(option.font);
  return {fm.horizontalAdvance(index.data(Qt::DisplayRole).toString()), kItemHeight};
}

TMonitorList::TMonitorList(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("lbxNMEA"));
  setFont(CourierFont(11));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  colourDelegate_ = new TMonitorDelegate(this);
  plainDelegate_ = itemDelegate();

  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("PopupMenu1"));
  QAction* clearAction = popup_->addAction(QStringLiteral("Clear"), this, [this] { popClearClick(); });
  clearAction->setObjectName(QStringLiteral("popClear"));
  QAction* copyAction =
      popup_->addAction(QStringLiteral("Copy to Clipboard"), this, [this] { CopytoClipboard1Click(); });
  copyAction->setObjectName(QStringLiteral("CopytoClipboard1"));
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { popup_->popup(viewport()->mapToGlobal(pos)); });
  connect(this, &QListWidget::itemClicked, this, [this] { lbxNMEAClick(); });

  SetSyntaxColor(true);
}

void TMonitorList::SetSyntaxColor(bool on) {
  syntaxColor_ = on;
  QPalette pal = palette();
  if (on) {
    setItemDelegate(colourDelegate_);
    pal.setColor(QPalette::Base, Qt::black);
  } else {
    setItemDelegate(plainDelegate_);
    pal.setColor(QPalette::Base, kSilver);
    pal.setColor(QPalette::Text, QApplication::palette().color(QPalette::Text));
  }
  setPalette(pal);
  doItemsLayout();
  viewport()->update();
}

void TMonitorList::AppendLine(std::string_view line) {
  addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
}

void TMonitorList::SelectLastLine() {
  const int last = count() - 1;
  if (last < 0) return;
  setCurrentRow(last, QItemSelectionModel::ClearAndSelect);
  scrollToBottom();
}

void TMonitorList::DeleteFirstLines(int n) {
  n = std::min(n, count());
  if (n > 0) model()->removeRows(0, n);
}

int TMonitorList::SelectedIndex() const {
  const int row = currentRow();
  return row >= 0 && item(row)->isSelected() ? row : -1;
}

std::string TMonitorList::Line(int index) const {
  const QListWidgetItem* it = item(index);
  return it ? it->text().toLatin1().toStdString() : std::string{};
}

void TMonitorList::CopytoClipboard1Click() {
  QString text;
  for (int i = 0; i < count(); ++i) {
    if (item(i)->isSelected()) text += item(i)->text() + QStringLiteral("\r\n");
  }
  QApplication::clipboard()->setText(text);
}

void TMonitorList::lbxNMEAClick() {
  if (!edit1_) return;
  const int row = SelectedIndex();
  if (row < 0) return;  // nothing selected: the box keeps its text
  edit1_->setText(item(row)->text());
  edit1_->setFocus();
}

void TMonitorList::keyReleaseEvent(QKeyEvent* e) {
  QListWidget::keyReleaseEvent(e);
  if (!edit1_) return;
  switch (e->key()) {
    case Qt::Key_Escape: edit1_->clear(); break;
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const int row = SelectedIndex();
      if (row >= 0) edit1_->setText(item(row)->text());
      break;
    }
    default: break;
  }
}

}  // namespace orlimo
