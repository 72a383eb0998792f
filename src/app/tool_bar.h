// ToolBar1: the row of 39 x 38 tool buttons with their 32 x 32 pictures, in the
// window's order. Hidden buttons take no room; separators are 6 pixels wide.
#pragma once

#include <QWidget>

#include <array>

class QToolButton;

namespace orlimo {

enum class TTool : int {
  TBOpen, TBPause, TBAutoSync, TBNMEAOutput, TBHotStart, TBColdStart,
  TBFactory, TBStartLog, TBTP, TBAbout, TBClose
};
inline constexpr int kToolCount = 11;

class TToolBar : public QWidget {
 public:
  static constexpr int kButtonWidth = 39;
  static constexpr int kButtonHeight = 38;
  static constexpr int kSeparatorWidth = 6;

  explicit TToolBar(QWidget* parent = nullptr);

  QToolButton* Button(TTool tool) const { return buttons_[static_cast<int>(tool)]; }
  // The hint a button was designed with.
  static QString DesignHint(TTool tool);
  void SetImage(TTool tool, int image);
  int Image(TTool tool) const { return images_[static_cast<int>(tool)]; }
  // Shows or hides a button and places the visible ones again.
  void SetToolVisible(TTool tool, bool visible);
  // Right edge of the last visible button.
  int ContentWidth() const;

 private:
  void Arrange();
  std::array<QToolButton*, kToolCount> buttons_{};
  std::array<int, kToolCount> images_{};
  std::array<bool, kToolCount> visible_{};
};

}  // namespace orlimo
