// The window's containers and controls at their places: the tool strip on top, the
// signal chart and sky view, the monitor list, the instrument and navigation
// panels on the right, the status bar at the bottom.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/artwork/artwork.h"
#include "app/fonts.h"
#include "app/info_usb.h"
#include "app/main_window.h"
#include "app/monitor_list.h"
#include "app/navi_panel.h"
#include "app/port_combo.h"
#include "app/status_bar.h"
#include "widgets/label_3d_border.h"

namespace orlimo {
namespace {

QWidget* MakePanel(QWidget* parent, const char* name, const QRect& geometry,
                   const QColor& colour = QColor()) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setGeometry(geometry);
  if (colour.isValid()) {
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
  }
  return panel;
}

void SetBaseColour(QWidget* w, const QColor& colour) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Base, colour);
  pal.setColor(QPalette::Button, colour);
  w->setPalette(pal);
}

}  // namespace

void TFrmOrlimo::BuildLayout() {
  setFixedSize(kClientWidth, kClientHeight);

  QWidget* panel2 = MakePanel(this, "Panel2", QRect(0, 0, kClientWidth, kClientHeight));
  QWidget* panel11 = MakePanel(panel2, "Panel11", QRect(0, 0, kClientWidth, 62));
  BuildTopStrip(panel11);

  QWidget* panel1 = MakePanel(panel2, "Panel1", QRect(0, 62, kClientWidth, 533));
  QWidget* panel12 = MakePanel(panel1, "Panel12", QRect(kClientWidth - 248, 0, 248, 533));
  panel3_ = MakePanel(panel12, "Panel3", QRect(1, 1, 246, 247), QColor(0x00, 0x40, 0x80));
  naviPanel_ = new TNaviPanel(panel12);
  naviPanel_->move(0, 249);

  QWidget* panel4 = MakePanel(panel1, "Panel4", QRect(0, 0, kClientWidth - 248, 533));
  QWidget* panel9 = MakePanel(panel4, "Panel9", QRect(0, 0, panel4->width(), 223));
  panel5_ = MakePanel(panel9, "Panel5", QRect(3, 3, 353, 214), QColor(0x37, 0x37, 0x37));
  panel6_ = MakePanel(panel9, "Panel6", QRect(362, 3, 217, 217), QColor(0x00, 0x2E, 0x5B));
  BuildViews();

  lbxNMEA_ = new TMonitorList(panel4);
  lbxNMEA_->setGeometry(0, 223, panel4->width(), panel4->height() - 223);
  BuildProControls(panel11, panel4);

  statusBar_ = new TStatusBar(panel2);
  statusBar_->setGeometry(0, 595, kClientWidth, TStatusBar::kHeight);
  statusBar_->SetDrawPanel([this](QPainter& p, const QRect& r) { DrawActivityIndicator(p, r); });

  // Beyond the right edge, as in the wide diagnostic layout: the inspection box
  // can take the focus without being seen, the read-interval box is not shown.
  edit1_ = new QLineEdit(this);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setGeometry(856, 400, 260, 21);
  lbxNMEA_->SetInspectionBox(edit1_);
  spinEditTimeOut_ = new QSpinBox(this);
  spinEditTimeOut_->setObjectName(QStringLiteral("SpinEditTimeOut"));
  spinEditTimeOut_->setRange(1, 100);
  spinEditTimeOut_->setValue(30);
  spinEditTimeOut_->setGeometry(856, 430, 50, 21);
  spinEditTimeOut_->hide();

  infoUSB_ = new TInfoUSB(this);
}

void TFrmOrlimo::BuildTopStrip(QWidget* panel11) {
  auto* gbxCOMSetting = new QGroupBox(QStringLiteral(" COM Port Setting "), panel11);
  gbxCOMSetting->setObjectName(QStringLiteral("gbxCOMSetting"));
  gbxCOMSetting->setGeometry(6, 4, 267, 50);
  auto* comLabel = new TLabel3DBorder(gbxCOMSetting);
  comLabel->setObjectName(QStringLiteral("Label3DBorder2"));
  comLabel->setCaption(QStringLiteral("COM Port"));
  comLabel->setBorderStyle(TLabel3DBorderStyle::bsFrame);
  comLabel->setVerticalAlign(TVerticalAlign::vaCenter);
  comLabel->setAlignment(TAlignment::taCenter);
  comLabel->setFont(ArialFont(12, true));
  comLabel->setFontColor(QColor(0x00, 0x00, 0x80));
  comLabel->setColor(palette().color(QPalette::Window));
  comLabel->setGeometry(6, 20, 64, 22);

  cbGPSCOM_ = new TPortCombo(gbxCOMSetting);
  cbGPSCOM_->setObjectName(QStringLiteral("cbGPSCOM"));
  cbGPSCOM_->setGeometry(74, 20, 110, 22);
  for (int i = 1; i <= 8; ++i) cbGPSCOM_->addItem(QStringLiteral("COM%1").arg(i));
  cbGPSCOM_->SetOnDropDown([this] { RefreshPortList(); });

  cbCOMBR_ = new QComboBox(gbxCOMSetting);
  cbCOMBR_->setObjectName(QStringLiteral("cbCOMBR"));
  cbCOMBR_->setGeometry(188, 20, 72, 22);
  for (const char* rate : {"4800", "9600", "19200", "38400", "57600", "115200"}) {
    cbCOMBR_->addItem(QString::fromLatin1(rate));
  }

  toolBar_ = new TToolBar(panel11);
  toolBar_->setGeometry(282, 10, 320, 40);

  auto* rgUNIT = new QGroupBox(QStringLiteral(" Unit "), panel11);
  rgUNIT->setObjectName(QStringLiteral("rgUNIT"));
  rgUNIT->setFont(ArialFont(12, true));
  // The pale red captions need a dark ground to be read (on grey they look disabled).
  QPalette unitPal = rgUNIT->palette();
  unitPal.setColor(QPalette::WindowText, QColor(0xFF, 0xB3, 0xB3));
  unitPal.setColor(QPalette::Window, QColor(0x15, 0x2B, 0x21));
  rgUNIT->setPalette(unitPal);
  rgUNIT->setAutoFillBackground(true);
  unitKm_ = new QRadioButton(QStringLiteral("Km"), rgUNIT);
  unitMile_ = new QRadioButton(QStringLiteral("Mile"), rgUNIT);
  unitKm_->setChecked(true);
  connect(unitKm_, &QRadioButton::clicked, this, [this] { rgUNITClick(); });
  connect(unitMile_, &QRadioButton::clicked, this, [this] { rgUNITClick(); });

  imgLogo_ = new QLabel(panel11);
  imgLogo_->setObjectName(QStringLiteral("ImgLogo"));
  imgLogo_->setToolTip(QStringLiteral("Click here to visit KELDAR web site  ..."));

  // The layout of this edition: no hot start, no NMEA output button, no trickle
  // button, no about button; the unit switch and the brand banner after the tools.
  toolBar_->SetToolVisible(TTool::TBNMEAOutput, false);
  toolBar_->SetToolVisible(TTool::TBHotStart, false);
  toolBar_->SetToolVisible(TTool::TBTP, setup_.Session.edition.TrickleButtonEnabled);
  toolBar_->SetToolVisible(TTool::TBAbout, false);
  const int unitLeft = std::max(530, toolBar_->x() + toolBar_->ContentWidth() + 2);
  rgUNIT->setGeometry(unitLeft, 3, 120, 50);
  unitKm_->setGeometry(10, 22, 50, 20);
  unitMile_->setGeometry(62, 22, 56, 20);
  imgLogo_->setGeometry(unitLeft + 120 + 8, toolBar_->y() - 2, 168, 44);
  imgLogo_->setPixmap(QPixmap::fromImage(artwork::DrawBanner(168, 44, 6, 4)));
}

void TFrmOrlimo::BuildProControls(QWidget* panel11, QWidget* panel4) {
  // The receiver-rate group and the command panel belong to the full edition; they
  // exist here hidden so the session's control groups always find them.
  gbxGPSRBSetting_ = new QGroupBox(QStringLiteral(" Set GPS Baud Rate "), panel11);
  gbxGPSRBSetting_->setObjectName(QStringLiteral("gbxGPSRBSetting"));
  gbxGPSRBSetting_->setGeometry(700, 4, 125, 50);
  cbGPSBR_ = new QComboBox(gbxGPSRBSetting_);
  cbGPSBR_->setObjectName(QStringLiteral("cbGPSBR"));
  for (const char* rate : {"4800", "9600", "19200", "38400", "57600", "115200"}) {
    cbGPSBR_->addItem(QString::fromLatin1(rate));
  }
  cbGPSBR_->setGeometry(6, 20, 64, 22);
  btnGPSBRApply_ = new QPushButton(QStringLiteral("Apply"), gbxGPSRBSetting_);
  btnGPSBRApply_->setObjectName(QStringLiteral("btnGPSBRApply"));
  btnGPSBRApply_->setGeometry(73, 19, 45, 24);
  gbxGPSRBSetting_->hide();

  panel7_ = MakePanel(panel4, "Panel7", QRect(0, 223, panel4->width(), 32));
  auto* ckbNMEAPage = new QCheckBox(QStringLiteral("NMEA Page"), panel7_);
  ckbNMEAPage->setObjectName(QStringLiteral("ckbNMEAPage"));
  ckbNMEAPage->setGeometry(4, 6, 90, 20);
  ckbTMCPage_ = new QCheckBox(QStringLiteral("TMC Page"), panel7_);
  ckbTMCPage_->setObjectName(QStringLiteral("ckbTMCPage"));
  ckbTMCPage_->setGeometry(96, 6, 84, 20);
  label3DBorder1_ = new TLabel3DBorder(panel7_);
  label3DBorder1_->setObjectName(QStringLiteral("Label3DBorder1"));
  label3DBorder1_->setCaption(QStringLiteral(" Command "));
  label3DBorder1_->setBorderStyle(TLabel3DBorderStyle::bsFrame);
  label3DBorder1_->setVerticalAlign(TVerticalAlign::vaCenter);
  label3DBorder1_->setGeometry(184, 5, 72, 22);
  cbCOMMAND_ = new QComboBox(panel7_);
  cbCOMMAND_->setObjectName(QStringLiteral("cbCOMMAND"));
  cbCOMMAND_->setEditable(true);
  cbCOMMAND_->setGeometry(260, 5, 270, 22);
  btnCMDSend_ = new QPushButton(QStringLiteral("Send"), panel7_);
  btnCMDSend_->setObjectName(QStringLiteral("btnCMDSend"));
  btnCMDSend_->setGeometry(534, 4, 56, 24);
  panel7_->hide();
}

void TFrmOrlimo::SetProControlsEnabled(bool enabled) {
  const QColor grey(0x80, 0x80, 0x80);
  gbxGPSRBSetting_->setEnabled(enabled);
  cbGPSBR_->setEnabled(enabled);
  SetBaseColour(cbGPSBR_, enabled ? QColor(0xFF, 0xFF, 0x80) : grey);
  btnGPSBRApply_->setEnabled(enabled);
  btnCMDSend_->setEnabled(enabled);
  label3DBorder1_->setColor(enabled ? QColor(0xFF, 0xB3, 0xB3) : grey);
  cbCOMMAND_->setEnabled(enabled);
  SetBaseColour(cbCOMMAND_, enabled ? QColor(0xB9, 0xFF, 0xFF) : grey);
}

}  // namespace orlimo
