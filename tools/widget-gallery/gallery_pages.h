#pragma once
// One page per widget family, each with a few controls bound to its properties.
class QWidget;

namespace gallery {

QWidget* labelsPage();
QWidget* meterPage();
QWidget* odometerPage();
QWidget* chartPage();
QWidget* gridPage();
QWidget* scatterPage();
QWidget* historyPage();

}  // namespace gallery
