// What the edition shows and where: the tools of the row, the unit switch, the brand
// banner of the KELDAR edition, and the receiver-rate group and the console of the
// Pro edition.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "app/artwork/artwork.h"
#include "app/main_window.h"
#include "app/monitor_list.h"
#include "app/status_bar.h"
#include "app/views/speed_view.h"

namespace orlimo {
namespace {

constexpr int kUnitTop = 3;
constexpr int kUnitHeight = 50;
// A one-column switch puts the two choices under its caption.
const QRect kOneColumnKm(8, 16, 50, 16), kOneColumnMile(8, 32, 50, 16);

constexpr int kPowerModePanelWidth = 80;
constexpr int kMonitorTop = 223;  // below the chart and the sky view
constexpr int kPanel7Height = 32;

}  // namespace

void TFrmOrlimo::ApplyEditionLayout() {
  const Edition& e = setup_.Session.edition;
  toolBar_->SetToolVisible(TTool::TBTP, e.TrickleButtonEnabled);
  // The power mode shows only with the trickle button; "[1000/1000]" must be read whole.
  if (e.TrickleButtonEnabled) statusBar_->SetPanelWidth(7, kPowerModePanelWidth);
  // The about button has no action, and the row has no room for it in any edition.
  toolBar_->SetToolVisible(TTool::TBAbout, false);
  if (e.ProEdition) {
    ArrangeProEdition();
  } else {
    ArrangeBrandEdition();
  }
}

int TFrmOrlimo::ToolsRight() const { return toolBar_->x() + toolBar_->ContentWidth(); }

void TFrmOrlimo::ArrangeUnitGroup(const QRect& group, const QRect& km, const QRect& mile) {
  rgUNIT_->setGeometry(group);
  unitKm_->setGeometry(km);
  unitMile_->setGeometry(mile);
}

void TFrmOrlimo::ArrangeBrandEdition() {
  toolBar_->SetToolVisible(TTool::TBNMEAOutput, false);
  toolBar_->SetToolVisible(TTool::TBHotStart, false);
  toolBar_->resize(320, toolBar_->height());
  gbxGPSRBSetting_->hide();
  panel7_->hide();

  // The unit switch after the tools, the banner after the switch. The trickle button
  // makes the row one tool longer: the switch then takes one column, so the banner
  // still ends inside the window.
  const int unitLeft = std::max(530, ToolsRight() + 2);
  if (setup_.Session.edition.TrickleButtonEnabled) {
    ArrangeUnitGroup(QRect(unitLeft, kUnitTop, 60, kUnitHeight), kOneColumnKm, kOneColumnMile);
  } else {
    ArrangeUnitGroup(QRect(unitLeft, kUnitTop, 120, kUnitHeight), QRect(10, 22, 50, 20), QRect(62, 22, 56, 20));
  }
  imgLogo_->setGeometry(rgUNIT_->x() + rgUNIT_->width() + 8, toolBar_->y() - 2, 168, 44);
  imgLogo_->setPixmap(QPixmap::fromImage(artwork::DrawBanner(168, 44, 6, 4)));
  imgLogo_->setToolTip(QStringLiteral("Click here to visit KELDAR web site  ..."));
  imgLogo_->show();
  speedView_->SetMakerCaption(QStringLiteral(" KELDAR"));
}

void TFrmOrlimo::ArrangeProEdition() {
  toolBar_->resize(400, toolBar_->height());
  imgLogo_->setToolTip(QStringLiteral("Click to visit Quorvex web site  ..."));
  imgLogo_->hide();

  // The unit switch sits at 630 (590 without the trickle button) unless the tools
  // still run there; then it starts where they end, so no tool is covered.
  const bool trickle = setup_.Session.edition.TrickleButtonEnabled;
  const int unitLeft = std::max(trickle ? 630 : 590, ToolsRight());
  if (trickle) {
    ArrangeUnitGroup(QRect(unitLeft, kUnitTop, 60, kUnitHeight), kOneColumnKm, kOneColumnMile);
  } else {
    ArrangeUnitGroup(QRect(unitLeft, kUnitTop, 100, kUnitHeight), QRect(6, 22, 44, 20), QRect(50, 22, 48, 20));
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

}  // namespace orlimo
