// The instruments in their panels: the signal chart and satellite table, the sky
// view and the speed instrument. The window passes each refresh of the session on
// to them, and its unit switch on to the speed instrument, which holds the unit for
// the whole window: the navigation read-outs take the factor and caption from it.
#include <QRadioButton>

#include "app/main_window.h"
#include "app/navi_panel.h"
#include "app/views/satellite_view.h"
#include "app/views/sky_view.h"
#include "app/views/speed_view.h"

namespace orlimo {

void TFrmOrlimo::BuildViews() {
  // Each view draws its own border and ground and fills its panel.
  satelliteView_ = new TSatelliteView(panel5_);
  satelliteView_->setObjectName(QStringLiteral("SatelliteView"));
  satelliteView_->move(0, 0);
  skyView_ = new TSkyView(panel6_);
  skyView_->setObjectName(QStringLiteral("SkyView"));
  skyView_->move(0, 0);
  speedView_ = new TSpeedView(panel3_);
  speedView_->setObjectName(QStringLiteral("SpeedView"));
  speedView_->move(0, 0);
  // The session exists by the time the unit is first switched.
  speedView_->SetOnRefreshViews([this] { session_->RefreshViews(); });
}

void TFrmOrlimo::UpdateNaviPanel(const TqvNMEA& nmea) { naviPanel_->UpdateNaviPanel(nmea, Unit()); }

void TFrmOrlimo::ShowSatelliteTable(const TqvNMEA& nmea) { satelliteView_->ShowSatelliteTable(nmea); }

void TFrmOrlimo::DrawSkyView(const TqvNMEA& nmea) { skyView_->DrawSkyView(nmea); }

void TFrmOrlimo::ShowSpeedAndCourse(const TqvNMEA& nmea) { speedView_->ShowSpeedAndCourse(nmea); }

// --- Unit switch ---

void TFrmOrlimo::SelectUnit(int itemIndex) {
  (itemIndex == 1 ? unitMile_ : unitKm_)->setChecked(true);
  rgUNITClick();
}

void TFrmOrlimo::rgUNITClick() {
  speedView_->rgUNITClick(unitMile_->isChecked() ? 1 : 0);
  // The refresh run by the switch rewrites only what arrived since the last pass;
  // the speed and altitude already on show follow the new unit at once.
  naviPanel_->ShowInUnit(Unit());
}

TUnitSelection TFrmOrlimo::Unit() const {
  return {speedView_->UnitIndex(), speedView_->SpeedFactor(), speedView_->SpeedCaption().toLatin1().toStdString()};
}

}  // namespace orlimo
