#include "app/info_usb.h"

#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include "app/artwork/artwork.h"
#include "app/fonts.h"

namespace orlimo {
namespace {

const QColor kNewestColour(0xFF, 0xFF, 0x00);
const QColor kOlderColour(0x80, 0x80, 0x80);
// Yellow needs a dark ground to be read; the list is drawn on navy.
const QColor kListColour(0x00, 0x00, 0x40);

}  // namespace

int NoticeImageIndex(const QString& text, bool lastLine) {
  const int base = lastLine ? 0 : 2;
  return base + (text.contains(QStringLiteral("Remove")) ? 0 : 1);
}

void TNoticeDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
  const int rows = index.model()->rowCount();
  if (rows == 0) return;
  const bool last = index.row() == rows - 1;
  const QString text = index.data(Qt::DisplayRole).toString();
  p->save();
  p->drawImage(option.rect.topLeft(), artwork::USBInfoImage(NoticeImageIndex(text, last)));
  QFont f = option.font;
  if (!last) {
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
  }
  p->setFont(f);
  p->setPen(last ? kNewestColour : kOlderColour);
  p->drawText(option.rect.adjusted(36, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  p->restore();
}

QSize TNoticeDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
  return {100, kItemHeight};
}

TInfoUSB::TInfoUSB(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("InfoUSB"));
  setWindowTitle(QStringLiteral("USB Connection Info ..."));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setModal(false);
  setFixedSize(296, 168);

  listBox1_ = new QListWidget(this);
  listBox1_->setObjectName(QStringLiteral("ListBox1"));
  listBox1_->setGeometry(8, 8, 280, 4 * TNoticeDelegate::kItemHeight + 2);
  listBox1_->setFont(ComicFont(16));
  listBox1_->setItemDelegate(new TNoticeDelegate(listBox1_));
  listBox1_->setUniformItemSizes(true);
  listBox1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette pal = listBox1_->palette();
  pal.setColor(QPalette::Base, kListColour);
  listBox1_->setPalette(pal);

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OKButton"));
  okButton_->setDefault(true);
  okButton_->setGeometry(111, 138, 75, 25);
  connect(okButton_, &QPushButton::clicked, this, [this] { OKButtonClick(); });
}

void TInfoUSB::AddNotice(const QString& notice) {
  listBox1_->addItem(notice);
  listBox1_->setCurrentRow(listBox1_->count() - 1);
  listBox1_->scrollToBottom();
  listBox1_->viewport()->update();  // the line before turns grey
}

void TInfoUSB::ShowNotice(QWidget* over) {
  if (over) {
    const QPoint centre = over->frameGeometry().center();
    move(centre - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
  activateWindow();
}

QStringList TInfoUSB::Lines() const {
  QStringList lines;
  for (int i = 0; i < listBox1_->count(); ++i) lines << listBox1_->item(i)->text();
  return lines;
}

void TInfoUSB::FormActivate() {
  if (listBox1_->count() == 0) AddNotice(lastUSBNotice_);
  okButton_->setFocus();
}

void TInfoUSB::OKButtonClick() {
  listBox1_->clear();
  close();
}

void TInfoUSB::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormActivate();
}

}  // namespace orlimo
