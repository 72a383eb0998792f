#include "app/hint_delay_style.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>

namespace orlimo {
namespace {

class THintDelayStyle : public QProxyStyle {
 public:
  THintDelayStyle(QStyle* base, int delay) : QProxyStyle(base), delay_(delay) {}
  void SetDelay(int delay) { delay_ = delay; }

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return delay_;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

 private:
  int delay_;
};

}  // namespace

void SetHintDelay(int milliseconds) {
  if (auto* ours = dynamic_cast<THintDelayStyle*>(QApplication::style())) {
    ours->SetDelay(milliseconds);
    return;
  }
  // A fresh copy of the style in use, so everything else looks as before.
  QApplication::setStyle(new THintDelayStyle(QStyleFactory::create(QApplication::style()->name()), milliseconds));
}

int HintDelay() { return QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay); }

}  // namespace orlimo
