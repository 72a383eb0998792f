#include "app/monitor_list.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "app/fonts.h"
#include "nmea/sentence.h"
#include "widgets/steady_scroll_bar.h"

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

// The row pictures kept: some 150 rows of 70 characters, a few seconds of a fast receiver.
constexpr qsizetype kRowPictureBytes = 4 * 1024 * 1024;

// The format of the image `p` draws into at one device pixel per pixel, where a picture
// drawn in that format and copied at a whole-pixel offset is what `p` would have drawn;
// Format_Invalid when it draws into anything else.
QImage::Format PictureFormatFor(QPainter& p) {
  // A widget's painter draws into its window's backing store: the engine's device.
  const QPaintEngine* engine = p.paintEngine();
  const QPaintDevice* target = engine ? engine->paintDevice() : nullptr;
  const QTransform t = p.deviceTransform();
  if (!target || target->devType() != QInternal::Image || target->devicePixelRatioF() != 1.0 ||
      t.type() > QTransform::TxTranslate || t.dx() != std::round(t.dx()) || t.dy() != std::round(t.dy())) {
    return QImage::Format_Invalid;
  }
  return static_cast<const QImage*>(target)->format();
}

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QColor MonitorColor(std::string_view line) { return QColor(kTypeColours[GetSentenceType(line)]); }

QColor MonitorFrameColor(std::string_view frame) {
  constexpr QRgb kUBX = 0x00E5E5, kSiRF = 0xFFB347;
  return QColor(frame.starts_with("\xB5\x62") ? kUBX : kSiRF);
}

std::string FrameHex(std::string_view frame) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(frame.size() * 3);
  for (const char c : frame) {
    if (!hex.empty()) hex += ' ';
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 0xF];
  }
  return hex;
}

// Checked once per font. The monitor shows dozens of lines a second, nearly all of them
// printable ASCII: laid out once to be measured and again to be drawn, they cost the
// window more than everything else it paints.
AsciiFont& TMonitorDelegate::Ascii(const QFont& font) const {
  AsciiFont& f = fonts_.Monospaced(font);
  if (cellsFont_ != font) {
    cells_.Use(f.run);
    cellsFont_ = font;
  }
  return f;
}

// A line taller than the row is left to drawText and its clipping.
bool TMonitorDelegate::AsRun(const QFont& font, std::string_view text, int rowHeight) const {
  const AsciiFont& f = Ascii(font);
  return f.run.advance > 0 && PrintableAscii(text) && f.lineHeight <= rowHeight;
}

int TMonitorDelegate::TextWidth(const QFont& font, const QString& text) const {
  const AsciiRun& f = Ascii(font).run;
  if (f.advance > 0) {
    const QByteArray latin1 = text.toLatin1();
    if (latin1.size() == text.size() && PrintableAscii(std::string_view(latin1.constData(), latin1.size()))) {
      return f.Width(static_cast<std::size_t>(text.size()));
    }
  }
  return QFontMetrics(font).horizontalAdvance(text);
}

void TMonitorDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const QByteArray text = index.data(Qt::DisplayRole).toString().toLatin1();
  const bool selected = option.state & QStyle::State_Selected;
  const std::string_view line(text.constData(), static_cast<std::size_t>(text.size()));
  PaintLine(p, option.rect, option.font, line, MonitorColor(line),
            selected ? option.palette.color(QPalette::Active, QPalette::Highlight)
                     : option.palette.color(QPalette::Base));
}

QRect TMonitorDelegate::PaintLine(QPainter* p, const QRect& row, const QFont& font, std::string_view text,
                                  const QColor& colour, const QColor& background) const {
  AsciiFont& f = Ascii(font);
  const auto size = static_cast<qsizetype>(text.size());
  // Glyph positions are the layout's only under a plain translation.
  const bool asRun = p->deviceTransform().type() <= QTransform::TxTranslate && AsRun(font, text, row.height());
  const QString shown = asRun ? QString() : QString::fromLatin1(text.data(), size);
  const int width = asRun ? f.run.Width(text.size()) : QFontMetrics(font).horizontalAdvance(shown);
  const QRect textRect(row.topLeft(), QSize(width, row.height()));
  p->save();
  p->fillRect(textRect, background);
  p->setPen(colour);
  if (asRun) {
    DrawAsciiLine(*p, f, textRect, Qt::AlignLeft, text);
  } else {
    p->setFont(font);
    p->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
  }
  p->restore();
  return textRect;
}

QImage TMonitorDelegate::ComposeLine(const QFont& font, std::string_view text, const QColor& colour,
                                     const QColor& background, int height, QImage::Format format) const {
  if (text.empty() || !AsRun(font, text, height)) return {};
  return cells_.Compose(text, colour.rgba(), background.rgba(), Ascii(font).run.Width(text.size()), height, format);
}

QSize TMonitorDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  return {TextWidth(option.font, index.data(Qt::DisplayRole).toString()), kItemHeight};
}


TMonitorList::TMonitorList(QWidget* parent) : QAbstractScrollArea(parent), rowPictures_(kRowPictureBytes) {
  setObjectName(QStringLiteral("lbxNMEA"));
  setFont(CourierFont(11));
  bar_ = new TSteadyScrollBar(Qt::Vertical, this);
  setVerticalScrollBar(bar_);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  verticalScrollBar()->setSingleStep(1);

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

  SetSyntaxColor(true);
}

void TMonitorList::SetSyntaxColor(bool on) {
  syntaxColor_ = on;
  QPalette pal = palette();
  if (on) {
    pal.setColor(QPalette::Base, Qt::black);
  } else {
    pal.setColor(QPalette::Base, kSilver);
    pal.setColor(QPalette::Text, QApplication::palette().color(QPalette::Text));
  }
  setPalette(pal);
  rowHeight_ = on ? TMonitorDelegate::kItemHeight : PlainRowHeight();
  rowPictures_.clear();
  UpdateScrollRange();
  viewport()->update();
}

// --- Lines ---

void TMonitorList::AppendLine(std::string_view line) { AppendFrame(line, {}); }

void TMonitorList::AppendFrame(std::string_view text, std::string_view frame) {
  lines_.push_back({std::string(text), std::string(frame), false});
  if (!takePosted_) {
    takePosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          takePosted_ = false;
          TakeAppended();
        },
        Qt::QueuedConnection);
  }
}

void TMonitorList::TakeAppended() {
  if (taken_ >= Count()) return;
  const int first = taken_;
  taken_ = Count();
  UpdateScrollRange();
  UpdateRows(first, taken_ - 1);
}

void TMonitorList::SelectLastLine() {
  if (lines_.empty()) return;
  // The longer range and the scroll to its end are one change of the bar.
  bar_->holdRepaint();
  TakeAppended();
  // The scroll first: the rows it moves keep their pixels, and the row that loses the
  // selection is repainted where it lands.
  bar_->setValue(bar_->maximum());
  bar_->releaseRepaint();
  const int last = Count() - 1;
  anchor_ = last;
  SetCurrent(last);
  SelectOnly(last, last);
}

void TMonitorList::DeleteFirstLines(int n) {
  n = std::min(n, Count());
  if (n <= 0) return;
  TakeAppended();
  for (int i = 0; i < n && selectedCount_ > 0; ++i) selectedCount_ -= lines_[static_cast<std::size_t>(i)].selected;
  lines_.erase(lines_.begin(), lines_.begin() + n);
  taken_ = Count();
  const auto after = [n](int row) { return row >= n ? row - n : -1; };
  const bool currentGone = current_ >= 0 && current_ < n;
  // As in a list view, a removed current row hands over to the row after it.
  current_ = currentGone ? (lines_.empty() ? -1 : 0) : after(current_);
  anchor_ = after(anchor_);
  lastSelected_ = after(lastSelected_);
  pressed_ = -1;
  // The lines shown stay where they are when none of them went.
  const int top = TopRow();
  keepPixels_ = true;
  bar_->holdRepaint();
  UpdateScrollRange();
  if (top >= n) bar_->setValue(top - n);
  bar_->releaseRepaint();
  keepPixels_ = false;
  if (top < n) {
    viewport()->update();
  } else if (currentGone && !syntaxColor_) {
    UpdateRows(current_, current_);  // its focus frame
  }
}

void TMonitorList::Clear() {
  lines_.clear();
  taken_ = 0;
  selectedCount_ = 0;
  current_ = anchor_ = pressed_ = lastSelected_ = -1;
  UpdateScrollRange();
  viewport()->update();
}

std::string TMonitorList::Line(int index) const {
  return index >= 0 && index < Count() ? lines_[static_cast<std::size_t>(index)].text : std::string{};
}

std::string TMonitorList::InspectText(int index) const {
  if (index < 0 || index >= Count()) return {};
  const Row& line = lines_[static_cast<std::size_t>(index)];
  return line.frame.empty() ? line.text : FrameHex(line.frame);
}

// --- Selection ---

bool TMonitorList::IsSelected(int row) const {
  return row >= 0 && row < Count() && lines_[static_cast<std::size_t>(row)].selected;
}

int TMonitorList::SelectedIndex() const { return IsSelected(current_) ? current_ : -1; }

void TMonitorList::SelectRow(int row) {
  if (row < 0 || row >= Count()) return;
  anchor_ = row;
  SetCurrent(row);
  SelectOnly(row, row);
}

void TMonitorList::ClearSelection() { SelectOnly(-1, -1); }

void TMonitorList::SetSelected(int row, bool on) {
  Row& line = lines_[static_cast<std::size_t>(row)];
  if (line.selected == on) return;
  line.selected = on;
  selectedCount_ += on ? 1 : -1;
  if (on) lastSelected_ = row;
  UpdateRows(row, row);
}

void TMonitorList::SelectOnly(int first, int last) {
  const int lo = std::min(first, last), hi = first < 0 ? -1 : std::max(first, last);
  if (selectedCount_ == 1 && IsSelected(lastSelected_)) {
    if (lastSelected_ < lo || lastSelected_ > hi) SetSelected(lastSelected_, false);
  } else if (selectedCount_ > 0) {
    for (int row = 0; row < Count(); ++row) {
      if (row < lo || row > hi) SetSelected(row, false);
    }
  }
  for (int row = std::max(lo, 0); row <= hi && row < Count(); ++row) SetSelected(row, true);
}

void TMonitorList::SetCurrent(int row) {
  if (row == current_) return;
  // Only the plain list marks the current row (with the style's focus frame).
  if (!syntaxColor_) {
    UpdateRows(current_, current_);
    UpdateRows(row, row);
  }
  current_ = row;
}

void TMonitorList::CopytoClipboard1Click() {
  QString text;
  for (int i = 0; i < Count() && selectedCount_ > 0; ++i) {
    const Row& line = lines_[static_cast<std::size_t>(i)];
    if (line.selected) {
      text += Latin1(line.text);
      text += QStringLiteral("\r\n");
    }
  }
  QApplication::clipboard()->setText(text);
}

void TMonitorList::lbxNMEAClick() {
  if (!edit1_) return;
  const int row = SelectedIndex();
  if (row < 0) return;  // nothing selected: the box keeps its text
  edit1_->setText(Latin1(InspectText(row)));
  edit1_->setFocus();
}

// --- Rows on screen ---

int TMonitorList::TopRow() const { return verticalScrollBar()->value(); }

int TMonitorList::PageRows() const { return viewport()->height() / rowHeight_; }

int TMonitorList::sizeHintForRow(int row) const { return row >= 0 && row < Count() ? rowHeight_ : -1; }

int TMonitorList::RowAt(const QPoint& pos) const {
  if (pos.y() < 0) return -1;
  const int row = TopRow() + pos.y() / rowHeight_;
  return row < Count() ? row : -1;
}

// A list view scrolling per item: the range in rows, at its end the last row at the
// bottom of the whole rows shown.
void TMonitorList::UpdateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  const int page = PageRows();
  bar->setPageStep(std::max(1, page));
  bar->setRange(0, std::max(0, taken_ - page));
}

void TMonitorList::UpdateRows(int first, int last) {
  const int top = TopRow();
  first = std::max(first, top);
  last = std::min(last, top + PageRows());  // the one below the whole rows is shown in part
  if (first < 0 || first > last) return;
  viewport()->update(0, (first - top) * rowHeight_, viewport()->width(), (last - first + 1) * rowHeight_);
}

void TMonitorList::EnsureVisible(int row) {
  const int top = TopRow();
  if (row < top) {
    verticalScrollBar()->setValue(row);
  } else if (row >= top + std::max(1, PageRows())) {
    verticalScrollBar()->setValue(row - std::max(1, PageRows()) + 1);
  }
}

void TMonitorList::scrollContentsBy(int, int dy) {
  if (keepPixels_ || dy == 0) return;
  viewport()->scroll(0, dy * rowHeight_);
  if (dy < 0) {
    // Under the last whole row the viewport may have shown no row at all: what moves up
    // from there is not what the rows brought up show.
    const int h = viewport()->height();
    const int from = std::max(0, (PageRows() + dy) * rowHeight_);
    if (from < h) viewport()->update(0, from, viewport()->width(), h - from);
  }
}

void TMonitorList::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  rowPictures_.clear();  // cut at the viewport's width
  UpdateScrollRange();
}

void TMonitorList::changeEvent(QEvent* e) {
  QAbstractScrollArea::changeEvent(e);
  if (e->type() == QEvent::FontChange) rowPictures_.clear();
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
    if (!syntaxColor_) {
      rowHeight_ = PlainRowHeight();
      UpdateScrollRange();
    }
    viewport()->update();
  }
}

void TMonitorList::paintEvent(QPaintEvent* e) {
  const int n = Count();
  if (n == 0) return;
  QPainter p(viewport());
  const int top = TopRow();
  int width = viewport()->width();
  QStyleOptionViewItem plain;
  QColor base, highlight;
  if (syntaxColor_) {
    const QPalette& pal = palette();
    base = pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base);
    highlight = pal.color(QPalette::Active, QPalette::Highlight);
  } else {
    plain = PlainOption();
    // A list view makes its rows as wide as its widest, which it takes the last to be.
    QStyleOptionViewItem last = plain;
    last.features |= QStyleOptionViewItem::HasDisplay;
    last.text = Latin1(lines_.back().text);
    width = std::max(width, style()->sizeFromContents(QStyle::CT_ItemViewItem, &last, QSize(), this).width());
  }
  // What the viewport's own background fills a row with before it is painted.
  const QBrush& ground = viewport()->palette().brush(viewport()->backgroundRole());
  const QImage::Format format = syntaxColor_ && viewport()->autoFillBackground() &&
                                        ground.style() == Qt::SolidPattern && ground.isOpaque()
                                    ? PictureFormatFor(p)
                                    : QImage::Format_Invalid;
  int next = top;  // the rows above it are painted
  for (const QRect& r : e->region()) {
    const int last = std::min(n - 1, top + r.bottom() / rowHeight_);
    for (int row = std::max(next, top + r.top() / rowHeight_); row <= last; ++row) {
      const QRect rect(0, (row - top) * rowHeight_, width, rowHeight_);
      const Row& line = lines_[static_cast<std::size_t>(row)];
      if (syntaxColor_) {
        const QColor colour = line.frame.empty() ? MonitorColor(line.text) : MonitorFrameColor(line.frame);
        const QColor& background = line.selected ? highlight : base;
        const QImage* picture = format == QImage::Format_Invalid
                                    ? nullptr
                                    : RowPicture(line.text, colour, background, ground.color(), format);
        if (picture != nullptr) {
          // Every pixel of the picture is opaque: a copy is what blending would give.
          p.setCompositionMode(QPainter::CompositionMode_Source);
          p.drawImage(rect.topLeft(), *picture);
          p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        } else {
          colourDelegate_.PaintLine(&p, rect, font(), line.text, colour, background);
        }
      } else {
        PaintPlainRow(p, plain, row, rect);
      }
    }
    next = std::max(next, last + 1);
  }
}

const QImage* TMonitorList::RowPicture(const std::string& text, const QColor& colour, const QColor& background,
                                       const QColor& ground, QImage::Format format) {
  QByteArray key(text.data(), static_cast<qsizetype>(text.size()));
  for (const QRgb c : {colour.rgba(), background.rgba(), ground.rgba(), static_cast<QRgb>(format)}) {
    key.append(reinterpret_cast<const char*>(&c), sizeof c);
  }
  if (const QImage* kept = rowPictures_.object(key)) return kept->isNull() ? nullptr : kept;
  auto* picture = new QImage(MakeRowPicture(text, colour, background, ground, format));
  const qsizetype cost = std::max<qsizetype>(1, picture->sizeInBytes());
  if (!rowPictures_.insert(key, picture, cost)) return nullptr;  // insert deleted it
  return picture->isNull() ? nullptr : picture;
}

// Composed from glyph pictures where that gives the row's pixels; else drawn over the
// ground with a row's room above, below and to the right of the text: when the glyphs
// left that room as they found it, the text's box holds all the row shows, and copying
// the box is drawing the row.
QImage TMonitorList::MakeRowPicture(const std::string& text, const QColor& colour, const QColor& background,
                                    const QColor& ground, QImage::Format format) const {
  const int width = viewport()->width(), room = rowHeight_;
  const QImage composed = colourDelegate_.ComposeLine(font(), text, colour, background, rowHeight_, format);
  if (!composed.isNull()) return composed.width() > width ? composed.copy(0, 0, width, rowHeight_) : composed;
  QImage drawn(width + room, rowHeight_ + 2 * room, format);
  if (drawn.isNull() || drawn.depth() % 8 != 0) return {};
  drawn.fill(ground);
  const QImage groundRow = drawn.copy(0, 0, drawn.width(), 1);
  QPainter p(&drawn);
  const QRect box =
      colourDelegate_.PaintLine(&p, QRect(0, room, width, rowHeight_), font(), text, colour, background);
  p.end();
  const int used = std::clamp(box.width(), 0, width);
  const int bytes = drawn.depth() / 8;
  const auto untouched = [&](int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      if (std::memcmp(drawn.constScanLine(y) + x0 * bytes, groundRow.constScanLine(0) + x0 * bytes,
                      static_cast<std::size_t>((x1 - x0) * bytes)) != 0) {
        return false;
      }
    }
    return true;
  };
  // Left of the row and right of the viewport lie outside what the viewport shows.
  const bool inBox = untouched(0, width, 0, room) && untouched(0, width, room + rowHeight_, 2 * room + rowHeight_) &&
                     untouched(used, width, room, room + rowHeight_);
  return inBox && used > 0 ? drawn.copy(0, room, used, rowHeight_) : QImage();
}

QStyleOptionViewItem TMonitorList::PlainOption() const {
  QStyleOptionViewItem o;
  o.initFrom(this);
  o.state &= ~QStyle::State_MouseOver;
  o.font = font();
  if (!hasFocus()) o.state &= ~QStyle::State_Active;
  o.state &= ~QStyle::State_HasFocus;
  const int icon = style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, this);
  o.decorationSize = QSize(icon, icon);
  o.decorationPosition = QStyleOptionViewItem::Left;
  o.decorationAlignment = Qt::AlignCenter;
  o.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  o.textElideMode = Qt::ElideRight;
  o.rect = QRect();
  o.showDecorationSelected = style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this);
  o.locale = locale();
  o.locale.setNumberOptions(QLocale::OmitGroupSeparator);
  o.widget = this;
  return o;
}

void TMonitorList::PaintPlainRow(QPainter& p, QStyleOptionViewItem o, int row, const QRect& rect) const {
  const Row& line = lines_[static_cast<std::size_t>(row)];
  o.rect = rect;
  if (line.selected) o.state |= QStyle::State_Selected;
  if (o.state & QStyle::State_Enabled) o.palette.setCurrentColorGroup(QPalette::Normal);
  if ((hasFocus() || viewport()->hasFocus()) && row == current_) o.state |= QStyle::State_HasFocus;
  o.features |= QStyleOptionViewItem::HasDisplay;
  o.text = Latin1(line.text);
  o.text.replace(QLatin1Char('\n'), QChar::LineSeparator);
  style()->drawControl(QStyle::CE_ItemViewItem, &o, &p, this);
}

// Any one line gives it: the height is the font's, not the text's.
int TMonitorList::PlainRowHeight() const {
  QStyleOptionViewItem o = PlainOption();
  o.features |= QStyleOptionViewItem::HasDisplay;
  o.text = QStringLiteral("$");
  return std::max(1, style()->sizeFromContents(QStyle::CT_ItemViewItem, &o, QSize(), this).height());
}

// --- Mouse and keys, as a list view with extended selection takes them ---

void TMonitorList::mousePressEvent(QMouseEvent* e) {
  const int row = RowAt(e->position().toPoint());
  const bool shift = e->modifiers() & Qt::ShiftModifier, ctrl = e->modifiers() & Qt::ControlModifier;
  const bool right = e->button() == Qt::RightButton;
  pressed_ = row;
  pressedSelected_ = IsSelected(row);
  if (row < 0) {
    if (!right && !shift && !ctrl) ClearSelection();
    return;
  }
  if ((shift || ctrl) && right) return;
  const int from = anchor_ >= 0 ? anchor_ : (current_ >= 0 ? current_ : row);
  SetCurrent(row);
  if (ctrl) {
    anchor_ = row;
    SetSelected(row, !pressedSelected_);
  } else if (shift) {
    anchor_ = from;
    SelectOnly(from, row);
  } else {
    anchor_ = row;
    if (!pressedSelected_) SelectOnly(row, row);  // a selected row keeps the others until released
  }
}

void TMonitorList::mouseMoveEvent(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton) || pressed_ < 0 || (e->modifiers() & Qt::ControlModifier)) return;
  const QPoint pos = e->position().toPoint();
  int row = -1;
  if (pos.y() < 0) {
    row = std::max(0, TopRow() - 1);
  } else if (pos.y() >= viewport()->height()) {
    row = std::min(Count() - 1, TopRow() + PageRows());
  } else {
    row = RowAt(pos);
    if (row < 0) row = Count() - 1;  // below the last line
  }
  if (row < 0 || row == current_) return;
  SetCurrent(row);
  SelectOnly(anchor_ >= 0 ? anchor_ : row, row);
  EnsureVisible(row);
}

void TMonitorList::mouseReleaseEvent(QMouseEvent* e) {
  const int row = RowAt(e->position().toPoint());
  const bool plain = !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
  if (row >= 0 && row == pressed_ && e->button() == Qt::LeftButton) {
    if (plain && pressedSelected_) SelectOnly(row, row);
    lbxNMEAClick();
  }
  pressed_ = -1;
}

void TMonitorList::keyPressEvent(QKeyEvent* e) {
  const int n = Count();
  if (e->matches(QKeySequence::SelectAll)) {
    if (n > 0) SelectOnly(0, n - 1);
    return;
  }
  const int from = current_;
  int to = 0;
  switch (e->key()) {
    case Qt::Key_Up: to = from - 1; break;
    case Qt::Key_Down: to = from + 1; break;
    case Qt::Key_PageUp: to = from - std::max(1, PageRows()); break;
    case Qt::Key_PageDown: to = from + std::max(1, PageRows()); break;
    case Qt::Key_Home: to = 0; break;
    case Qt::Key_End: to = n - 1; break;
    default: QAbstractScrollArea::keyPressEvent(e); return;
  }
  if (n == 0) return;
  to = from < 0 ? 0 : std::clamp(to, 0, n - 1);  // without a current row every key starts at the first
  if (e->modifiers() & Qt::ShiftModifier) {
    const int start = anchor_ >= 0 ? anchor_ : to;
    SetCurrent(to);
    SelectOnly(start, to);
    anchor_ = start;
  } else if (e->modifiers() & Qt::ControlModifier) {
    SetCurrent(to);
  } else {
    SelectRow(to);
  }
  EnsureVisible(to);
}

void TMonitorList::keyReleaseEvent(QKeyEvent* e) {
  QAbstractScrollArea::keyReleaseEvent(e);
  if (!edit1_) return;
  switch (e->key()) {
    case Qt::Key_Escape: edit1_->clear(); break;
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const int row = SelectedIndex();
      if (row >= 0) edit1_->setText(Latin1(InspectText(row)));
      break;
    }
    default: break;
  }
}

}  // namespace orlimo
