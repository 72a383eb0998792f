#include "app/status_bar.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QToolTip>
#include <QPainter>

#include "app/fonts.h"

namespace orlimo {

std::pair<int, int> IndicatorImages(bool portOpen, bool indicatorOn) {
  if (!portOpen) return {0, 1};
  return indicatorOn ? std::pair{2, 0} : std::pair{2, 3};
}

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("StatusBar1"));
  setFont(ArialFont(12));
  setFixedHeight(kHeight);
  // Every paint fills what it is asked for: the window behind need not be painted first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (int panel : {2, 3, 6, 7, 8}) panels_[panel].align = Qt::AlignHCenter;
  panels_[2].text = QStringLiteral("COM Port  (disconnect)");
}

void TStatusBar::SetText(int panel, const QString& text) {
  if (panel < 0 || panel >= kPanelCount || panels_[panel].text == text) return;
  panels_[panel].text = text;
  panels_[panel].shownValid = false;
  update(PanelRect(panel));
}

QString TStatusBar::Text(int panel) const {
  return panel >= 0 && panel < kPanelCount ? panels_[panel].text : QString();
}

void TStatusBar::SetBevel(int panel, TPanelBevel bevel) {
  if (panel < 0 || panel >= kPanelCount || panels_[panel].bevel == bevel) return;
  panels_[panel].bevel = bevel;
  update(PanelRect(panel));
}

TPanelBevel TStatusBar::Bevel(int panel) const {
  return panel >= 0 && panel < kPanelCount ? panels_[panel].bevel : TPanelBevel::Lowered;
}

QRect TStatusBar::PanelRect(int panel) const {
  int left = 0;
  for (int i = 0; i < panel; ++i) left += widths_[i];
  // Panels are separated by two pixels; the last one takes what is left of its width.
  if (panel == 0) return QRect(left, 0, widths_[0] - 2, height());
  return QRect(left, 2, widths_[panel] - 2, height() - 2);
}

void TStatusBar::SetPanelWidth(int panel, int width) {
  if (panel < 0 || panel >= kPanelCount) return;
  widths_[panel] = width;
  DropShownTexts();
  update();
}

void TStatusBar::DropShownTexts() {
  for (Panel& p : panels_) p.shownValid = false;
}

void TStatusBar::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange) DropShownTexts();
  QWidget::changeEvent(e);
}

bool TStatusBar::event(QEvent* e) {
  if (e->type() != QEvent::ToolTip) return QWidget::event(e);
  const auto* help = static_cast<QHelpEvent*>(e);
  for (int i = 1; i < kPanelCount; ++i) {
    if (PanelRect(i).contains(help->pos()) && !panels_[i].text.isEmpty()) {
      QToolTip::showText(help->globalPos(), panels_[i].text, this, PanelRect(i));
      return true;
    }
  }
  QToolTip::hideText();
  e->ignore();
  return true;
}

void TStatusBar::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QPalette& pal = palette();
  // Only the panels asked for: the light blinks several times a second, the texts rarely change.
  const QRegion& dirty = e->region();
  p.fillRect(rect(), pal.color(QPalette::Window));
  p.setFont(font());
  const QColor shadow = pal.color(QPalette::Dark);
  const QColor light = pal.color(QPalette::Light);
  for (int i = 0; i < kPanelCount; ++i) {
    const QRect r = PanelRect(i);
    if (!dirty.intersects(r)) continue;
    if (i == 0) {
      if (drawPanel_) {
        p.save();
        p.setClipRect(r);
        drawPanel_(p, r);
        p.restore();
      }
      continue;
    }
    const bool raised = panels_[i].bevel == TPanelBevel::Raised;
    const QColor topLeft = raised ? light : shadow;
    const QColor bottomRight = raised ? shadow : light;
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
    p.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QRect inner = r.adjusted(1, 1, -1, -1);
    p.setPen(pal.color(QPalette::WindowText));
    const QRect textRect = inner.adjusted(2, 0, -2, 0);
    Panel& panel = panels_[i];
    if (!panel.shownValid) {
      panel.shown = p.fontMetrics().elidedText(panel.text, Qt::ElideRight, textRect.width());
      panel.shownValid = true;
    }
    if (!DrawAsciiLine(p, asciiFonts_.For(font()), textRect, panel.align | Qt::AlignVCenter, panel.shown))
      p.drawText(textRect, panel.align | Qt::AlignVCenter | Qt::TextSingleLine, panel.shown);
  }
}

}  // namespace orlimo
