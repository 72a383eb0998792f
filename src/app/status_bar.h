// StatusBar1: nine panels side by side, 20 pixels high. Panels 1 to 8 hold text
// with their own width, alignment and bevel; panel 0 is drawn by its owner (the
// receive-activity light) on the bar's whole height, without a bevel: the light's
// pictures are 20 x 20, and the plain tile under the waves is its own frame.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <utility>

#include "session/session_view.h"
#include "widgets/ascii_line.h"

namespace orlimo {

// The two pictures of the activity light drawn on top of each other, by state:
// closed: radio waves crossed out; open and idle: grey waves; data arriving: blue.
std::pair<int, int> IndicatorImages(bool portOpen, bool indicatorOn);

class TStatusBar : public QWidget {
 public:
  static constexpr int kPanelCount = 9;
  static constexpr int kHeight = 20;
  // Panel 5 is 20 pixels wider than on the original layout so that "Fix after :hh:mm:ss"
  // is read whole in this font; the window has the room to spare. Panel 0 holds a
  // whole picture of the light and the two pixels between panels.
  static constexpr std::array<int, kPanelCount> kWidths = {22, 170, 140, 70, 90, 120, 65, 65, 68};

  using DrawPanel = std::function<void(QPainter&, const QRect&)>;

  explicit TStatusBar(QWidget* parent = nullptr);

  void SetText(int panel, const QString& text);
  QString Text(int panel) const;
  void SetBevel(int panel, TPanelBevel bevel);
  TPanelBevel Bevel(int panel) const;
  // Where a panel is drawn, its bevel included; for panel 0 the light's 20 x 20.
  QRect PanelRect(int panel) const;
  // Widens a panel for a text that only some editions show; the panels after it move.
  void SetPanelWidth(int panel, int width);
  // StatusBar1DrawPanel for panel 0.
  void SetDrawPanel(DrawPanel draw) { drawPanel_ = std::move(draw); }
  // The light changed: only its panel is painted again, the texts stay as they are.
  void UpdateLight() { update(PanelRect(0)); }

 protected:
  void paintEvent(QPaintEvent*) override;
  void changeEvent(QEvent* e) override;
  // A panel's full text as its hint: long device paths do not fit the fixed widths.
  bool event(QEvent* e) override;

 private:
  struct Panel {
    QString text;
    QString shown;  // the text elided to the panel, laid out by the first paint after a change
    bool shownValid = false;
    Qt::Alignment align = Qt::AlignLeft;
    TPanelBevel bevel = TPanelBevel::Lowered;
  };
  void DropShownTexts();
  std::array<Panel, kPanelCount> panels_;
  std::array<int, kPanelCount> widths_ = kWidths;
  DrawPanel drawPanel_;
  TAsciiFonts asciiFonts_;  // panels whose text keeps changing are drawn without layout
};

}  // namespace orlimo
