#include "app/views/unit_selector.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace orlimo {

TUnitSelector::TUnitSelector(QWidget* parent)
    : QGroupBox(QStringLiteral(" Unit "), parent),
      m_km(new QRadioButton(QStringLiteral("Km"), this)),
      m_mile(new QRadioButton(QStringLiteral("Mile"), this)) {
  setFixedSize(kSize);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(12);
  f.setBold(true);
  setFont(f);
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, QColor(0xFF, 0xB3, 0xB3));
  pal.setColor(QPalette::ButtonText, QColor(0xFF, 0xB3, 0xB3));
  setPalette(pal);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 0, 2, 0);
  column->setSpacing(0);
  column->addWidget(m_km);
  column->addWidget(m_mile);
  m_km->setChecked(true);
  connect(m_km, &QRadioButton::toggled, this, [this](bool on) {
    if (on) emit itemIndexChanged(0);
  });
  connect(m_mile, &QRadioButton::toggled, this, [this](bool on) {
    if (on) emit itemIndexChanged(1);
  });
}

int TUnitSelector::itemIndex() const { return m_mile->isChecked() ? 1 : 0; }

void TUnitSelector::setItemIndex(int index) {
  if (index == 0) m_km->setChecked(true);
  if (index == 1) m_mile->setChecked(true);
}

}  // namespace orlimo
