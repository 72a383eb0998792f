// What the edition shows and where, applied at every activation of the window: the
// tools of the row, the unit switch, the logo banner with the brand's page behind
// it, and the receiver-rate group and the console of the Pro edition.
//
// The tool buttons are wider here than the row was designed for, so a place that
// would cover a tool moves right to where the tools end, and a banner that would
// leave the window is cut at its edge.
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include <algorithm>

#include "app/artwork/artwork.h"
#include "app/main_window.h"
#include "app/monitor_list.h"

namespace orlimo {
namespace {

constexpr int kUnitTop = 3;
constexpr int kUnitHeight = 50;
constexpr int kUnitLeft = 510;  // where the switch goes in every edition but Pro
// A one-column switch puts the two choices under its caption.
const QRect kOneColumnKm(8, 16, 50, 16), kOneColumnMile(8, 32, 50, 16);
// The banner's text and icons start here in the picture.
constexpr int kBannerX = 6, kBannerY = 4;
// The last pixel column the top row may use.
constexpr int kRowRight = TFrmOrlimo::kClientWidth - 2;

constexpr int kMonitorTop = 223;  // below the chart and the sky view
constexpr int kPanel7Height = 32;

void ArrangeUnitGroup(QGroupBox* group, QRadioButton* km, QRadioButton* mile, int left, int width, bool twoColumns) {
  group->setGeometry(left, kUnitTop, width, kUnitHeight);
  if (!twoColumns) {
    km->setGeometry(kOneColumnKm);
    mile->setGeometry(kOneColumnMile);
    return;
  }
  const int half = (width - 8) / 2;
  km->setGeometry(8, 22, half - 2, 20);
  mile->setGeometry(8 + half, 22, width - 8 - half - 2, 20);
}

}  // namespace

void TFrmOrlimo::FormActivate() {
  const Edition& e = edition();
  rgUNIT_->move(rgUNIT_->x(), kUnitTop);
  if (e.ProEdition) {
    ArrangeProEdition();
    return;
  }
  toolBar_->SetToolVisible(TTool::TBNMEAOutput, false);
  toolBar_->SetToolVisible(TTool::TBHotStart, false);
  gbxGPSRBSetting_->hide();
  panel7_->hide();
  rgUNIT_->move(kUnitLeft, kUnitTop);
  imgLogo_->move(rgUNIT_->x() + rgUNIT_->width() + 6, toolBar_->y());
  imgLogo_->show();
  if (e.CompactLayout) {
    ArrangeCompactEdition();
  } else if (e.BrandCode == kBrandKeldar) {
    ArrangeKeldarEdition();
  } else {
    ArrangeOtherBrandEdition();
  }
}

int TFrmOrlimo::ToolsRight() const { return toolBar_->x() + toolBar_->ContentWidth(); }

void TFrmOrlimo::ArrangeCompactEdition() {
  toolBar_->SetToolVisible(TTool::TBTP, false);
  ArrangeUnitGroup(rgUNIT_, unitKm_, unitMile_, std::max(kUnitLeft, ToolsRight() + 2), 56, false);
  gbxGPSRBSetting_->move(rgUNIT_->x() + rgUNIT_->width() + 3, gbxGPSRBSetting_->y());
  gbxGPSRBSetting_->show();
  PlaceLogo(gbxGPSRBSetting_->x() + gbxGPSRBSetting_->width() + 4, imgLogo_->y(), 133, 40,
            QStringLiteral(" Orlimo"));
}

void TFrmOrlimo::ArrangeKeldarEdition() {
  toolBar_->resize(320, toolBar_->height());
  // The trickle button makes the row one tool longer: the switch then takes one
  // column, so the banner still ends inside the window.
  const int unitLeft = std::max(530, ToolsRight() + 2);
  if (edition().TrickleButtonEnabled) {
    ArrangeUnitGroup(rgUNIT_, unitKm_, unitMile_, unitLeft, 60, false);
  } else {
    rgUNIT_->setGeometry(unitLeft, kUnitTop, 120, kUnitHeight);
    unitKm_->setGeometry(10, 22, 50, 20);
    unitMile_->setGeometry(62, 22, 56, 20);
  }
  PlaceLogo(rgUNIT_->x() + rgUNIT_->width() + 8, toolBar_->y() - 2, 168, 44, QStringLiteral(" Orlimo Utility "));
}

void TFrmOrlimo::ArrangeOtherBrandEdition() {
  toolBar_->resize(360, toolBar_->height());
  if (edition().TrickleButtonEnabled) {
    ArrangeUnitGroup(rgUNIT_, unitKm_, unitMile_, std::max(550, ToolsRight() + 2), 57, false);
  } else {
    ArrangeUnitGroup(rgUNIT_, unitKm_, unitMile_, std::max(kUnitLeft, ToolsRight() + 2), 100, true);
  }
  PlaceLogo(rgUNIT_->x() + rgUNIT_->width() + 4, imgLogo_->y(), 218, 40, QStringLiteral("Orlimo Utility"));
}

void TFrmOrlimo::ArrangeProEdition() {
  toolBar_->resize(400, toolBar_->height());
  imgLogo_->hide();

  // The unit switch sits at 630 (590 without the trickle button) unless the tools
  // still run there; then it starts where they end, so no tool is covered.
  const bool trickle = edition().TrickleButtonEnabled;
  const int unitLeft = std::max(trickle ? 630 : 590, ToolsRight());
  if (trickle) {
    ArrangeUnitGroup(rgUNIT_, unitKm_, unitMile_, unitLeft, 60, false);
  } else {
    rgUNIT_->setGeometry(unitLeft, kUnitTop, 100, kUnitHeight);
    unitKm_->setGeometry(6, 22, 44, 20);
    unitMile_->setGeometry(50, 22, 48, 20);
  }
  gbxGPSRBSetting_->setGeometry(rgUNIT_->x() + rgUNIT_->width() + 5, 4, 134, 50);
  cbGPSBR_->setGeometry(5, 20, 77, 22);
  btnGPSBRApply_->setGeometry(cbGPSBR_->x() + cbGPSBR_->width() + 3, 19, 45, 24);
  gbxGPSRBSetting_->show();

  // The console between the views and the monitor list, which starts below it.
  QWidget* panel4 = panel7_->parentWidget();
  panel7_->setGeometry(0, kMonitorTop, panel4->width(), kPanel7Height);
  panel7_->show();
  lbxNMEA_->setGeometry(0, kMonitorTop + kPanel7Height, panel4->width(),
                        panel4->height() - kMonitorTop - kPanel7Height);
}

void TFrmOrlimo::PlaceLogo(int left, int top, int width, int height, const QString& text) {
  width = std::min(width, kRowRight - left);
  imgLogo_->setGeometry(left, top, width, height);
  imgLogo_->setScaledContents(false);
  imgLogo_->setPixmap(QPixmap::fromImage(
      artwork::DrawBanner(width, height, kBannerX, kBannerY, text, edition().BrandCode == kBrandKeldar)));
}

void TFrmOrlimo::ImgLogoClick() {
  const QUrl page(QString::fromStdString(edition().WebPageAddress()));
  if (setup_.OpenUrl) {
    setup_.OpenUrl(page);
  } else {
    QDesktopServices::openUrl(page);
  }
}

bool TFrmOrlimo::eventFilter(QObject* watched, QEvent* e) {
  if (watched == imgLogo_ && e->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(e);
    if (mouse->button() == Qt::LeftButton && imgLogo_->rect().contains(mouse->position().toPoint())) ImgLogoClick();
  }
  return QWidget::eventFilter(watched, e);
}

}  // namespace orlimo
