#include "app/tool_bar.h"

#include <QToolButton>

#include "app/artwork/artwork.h"

namespace orlimo {
namespace {

struct TToolSpec {
  const char* name;
  int image;
  const char* hint;
  bool checkable;
  bool separatorBefore;
};

constexpr std::array<TToolSpec, kToolCount> kTools = {{
    {"TBOpen", 1, "Connect to GPS", true, false},
    {"TBPause", 2, "Click to Pause", true, false},
    {"TBAutoSync", 3, "GPS Baud Rate Detection", false, false},
    {"TBNMEAOutput", 4, "NMEA Output Setting", false, true},
    {"TBHotStart", 10, "Hot Start", false, false},
    {"TBColdStart", 9, "Cold Start", false, false},
    {"TBFactory", 6, "Factory Default", false, true},
    {"TBStartLog", 19, "Start to Log data", false, false},
    {"TBTP", 12, "Trickle Power", false, false},
    {"TBAbout", 13, "About the GPS Utility .....  ", false, true},
    {"TBClose", 1, "Close COM", false, false},
}};

}  // namespace

QString TToolBar::DesignHint(TTool tool) { return QString::fromLatin1(kTools[static_cast<int>(tool)].hint); }

TToolBar::TToolBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ToolBar1"));
  for (int i = 0; i < kToolCount; ++i) {
    const TToolSpec& tool = kTools[i];
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(tool.name));
    b->setToolTip(QString::fromLatin1(tool.hint));
    b->setCheckable(tool.checkable);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIconSize(QSize(artwork::kToolImageSize, artwork::kToolImageSize));
    b->resize(kButtonWidth, kButtonHeight);
    buttons_[i] = b;
    visible_[i] = true;
    SetImage(static_cast<TTool>(i), tool.image);
  }
  visible_[static_cast<int>(TTool::TBClose)] = false;
  Arrange();
}

void TToolBar::SetImage(TTool tool, int image) {
  const int i = static_cast<int>(tool);
  images_[i] = image;
  buttons_[i]->setIcon(artwork::ToolBarIcon(image));
}

void TToolBar::SetToolVisible(TTool tool, bool visible) {
  visible_[static_cast<int>(tool)] = visible;
  Arrange();
}

void TToolBar::Arrange() {
  // A separator stands between two groups; it shows once a visible button follows it.
  int x = 0;
  bool anyBefore = false;
  bool separatorPending = false;
  for (int i = 0; i < kToolCount; ++i) {
    QToolButton* b = buttons_[i];
    separatorPending = separatorPending || kTools[i].separatorBefore;
    if (!visible_[i]) {
      b->hide();
      continue;
    }
    if (separatorPending && anyBefore) x += kSeparatorWidth;
    separatorPending = false;
    b->move(x, 1);
    b->show();
    x += kButtonWidth;
    anyBefore = true;
  }
}

int TToolBar::ContentWidth() const {
  int right = 0;
  for (int i = 0; i < kToolCount; ++i) {
    if (visible_[i]) right = std::max(right, buttons_[i]->geometry().right() + 1);
  }
  return right;
}

}  // namespace orlimo
