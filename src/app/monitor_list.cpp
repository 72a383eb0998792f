#include "app/monitor_list.h"

#include <QApplication>
#include <QClipboard>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>

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

namespace {

constexpr char kFirstAscii = 0x20, kLastAscii = 0x7E;

bool PrintableAscii(const QByteArray& text) {
  return std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= kFirstAscii && c <= kLastAscii; });
}

}  // namespace

// Checked once per font. The monitor shows dozens of lines a second, nearly all of them
// printable ASCII: laid out once to be measured and again to be drawn, they cost the
// window more than everything else it paints.
const TMonitorDelegate::AsciiFont& TMonitorDelegate::Ascii(const QFont& font) const {
  if (asciiKnown_ && font == ascii_.font) return ascii_;
  asciiKnown_ = true;
  ascii_ = AsciiFont{};
  ascii_.font = font;
  // Decorations, spacing and case changes are the layout's work.
  if (font.underline() || font.overline() || font.strikeOut() || font.letterSpacing() != 0 ||
      font.wordSpacing() != 0 || font.capitalization() != QFont::MixedCase) {
    return ascii_;
  }
  QString all;
  for (char c = kFirstAscii; c <= kLastAscii; ++c) all += QLatin1Char(c);
  const QFontMetricsF fm(font);
  const qreal advance = fm.horizontalAdvance(all.front());
  for (QChar c : all) {
    if (fm.horizontalAdvance(c) != advance) return ascii_;
  }
  // Every ordered pair once: a kerned pair would change the sum.
  QString pairs;
  for (QChar a : all) {
    for (QChar b : all) {
      pairs += a;
      pairs += b;
    }
  }
  if (QFontMetrics(font).horizontalAdvance(pairs) != qRound(pairs.size() * advance)) return ascii_;
  ascii_.raw = QRawFont::fromFont(font);
  const QList<quint32> glyphs = ascii_.raw.glyphIndexesForString(all);
  if (!ascii_.raw.isValid() || glyphs.size() != all.size()) return ascii_;
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    if (glyphs[i] == 0) return ascii_;  // drawn from a fallback font
    ascii_.glyphs[static_cast<std::size_t>(i)] = glyphs[i];
  }
  ascii_.advance = advance;
  ascii_.ascent = fm.ascent();
  ascii_.lineHeight = std::ceil(fm.ascent() + fm.descent() + std::max<qreal>(0, fm.leading()));
  return ascii_;
}

int TMonitorDelegate::TextWidth(const QFont& font, const QString& text) const {
  const AsciiFont& f = Ascii(font);
  if (f.advance > 0) {
    const QByteArray latin1 = text.toLatin1();
    if (latin1.size() == text.size() && PrintableAscii(latin1)) return qRound(text.size() * f.advance);
  }
  return QFontMetrics(font).horizontalAdvance(text);
}

void TMonitorDelegate::DrawAscii(QPainter* p, const AsciiFont& f, const QByteArray& text, const QRect& box) const {
  const auto n = static_cast<std::size_t>(text.size());
  for (std::size_t i = positions_.size(); i < n; ++i) positions_.emplace_back(static_cast<qreal>(i) * f.advance, 0);
  QVarLengthArray<quint32, 128> glyphs(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) glyphs[i] = f.glyphs[static_cast<std::size_t>(text[i] - kFirstAscii)];
  QGlyphRun run;
  run.setRawFont(f.raw);
  run.setRawData(glyphs.constData(), positions_.data(), static_cast<int>(text.size()));
  // drawText clips to the box only when the laid-out text does not fit in it: here when
  // its rounded width cuts into the last character.
  const bool clip = static_cast<qreal>(text.size()) * f.advance > box.width();
  if (clip) {
    p->save();
    p->setClipRect(box, Qt::IntersectClip);
  }
  p->drawGlyphRun(QPointF(box.left(), box.top() + f.ascent), run);
  if (clip) p->restore();
}

void TMonitorDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const QByteArray text = index.data(Qt::DisplayRole).toString().toLatin1();
  const bool selected = option.state & QStyle::State_Selected;
  const AsciiFont& f = Ascii(option.font);
  // Glyph positions are the layout's only under a plain translation; a line taller than
  // the row is left to drawText and its clipping.
  const bool asRun = f.advance > 0 && PrintableAscii(text) &&
                     p->deviceTransform().type() <= QTransform::TxTranslate && f.lineHeight <= option.rect.height();
  const QString shown = asRun ? QString() : QString::fromLatin1(text);
  const int width = asRun ? qRound(static_cast<qreal>(text.size()) * f.advance)
                          : QFontMetrics(option.font).horizontalAdvance(shown);
  const QRect textRect(option.rect.topLeft(), QSize(width, option.rect.height()));
  p->save();
  p->fillRect(textRect, selected ? option.palette.color(QPalette::Active, QPalette::Highlight)
                                 : option.palette.color(QPalette::Base));
  p->setPen(MonitorColor(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))));
  if (asRun) {
    DrawAscii(p, f, text, textRect);
  } else {
    p->setFont(option.font);
    p->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
  }
  p->restore();
}

QSize TMonitorDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  return {TextWidth(option.font, index.data(Qt::DisplayRole).toString()), kItemHeight};
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
