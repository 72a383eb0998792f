// The window's containers and controls: the tool strip on top, the signal chart and
// sky view, the monitor list, the instrument and navigation panels on the right, the
// status bar at the bottom. What differs by edition is placed by the edition layout.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/fonts.h"
#include "app/main_window.h"
#include "app/monitor_list.h"
#include "app/navi_panel.h"
#include "app/port_combo.h"
#include "app/status_bar.h"
#include "session/settings.h"
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

}  // namespace

void TFrmOrlimo::BuildLayout() {
  // Built at the design size; window creation narrows it unless the edition is wide.
  // Everything of the window below the menu bar, at the positions it was designed with.
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("Client"));
  QWidget* panel2 = MakePanel(client_, "Panel2", QRect(0, 0, kClientWidth, kDesignHeight));
  panel2_ = panel2;
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
  statusBar_->setGeometry(0, kDesignHeight - TStatusBar::kHeight, kClientWidth, TStatusBar::kHeight);
  statusBar_->SetDrawPanel([this](QPainter& p, const QRect& r) { DrawActivityIndicator(p, r); });

  // The message log between the instruments and the status bar.
  auto* memo2 = new QPlainTextEdit(panel2);
  memo2->setGeometry(0, 595, kClientWidth, kDesignHeight - 595 - TStatusBar::kHeight);
  memos_[2] = memo2;

  // Beyond the right edge in the narrowed window: the inspection box can take the
  // focus without being seen.
  edit1_ = new QLineEdit(client_);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setGeometry(856, 400, 260, 21);
  lbxNMEA_->SetInspectionBox(edit1_);
  BuildDiagnosticStrip();

  // The syntax-colour switch is kept by the settings file and never shown.
  synColor_ = new QCheckBox(QStringLiteral("Syntax Color "), client_);
  synColor_->setObjectName(QStringLiteral("SynColor"));
  synColor_->setChecked(true);
  synColor_->hide();
  connect(synColor_, &QCheckBox::clicked, this, [this] { lbxNMEA_->SetSyntaxColor(synColor_->isChecked()); });
}

void TFrmOrlimo::ArrangeWindowSize(bool wide) {
  const int height = wide ? kDesignHeight : kClientHeight;
  const int width = wide ? kDesignWidth : kClientWidth;
  // The window grows by the menu bar; below it nothing moves.
  const int bar = menuBar_->sizeHint().height();
  menuBar_->setGeometry(0, 0, width, bar);
  client_->setGeometry(0, bar, width, height);
  setFixedSize(width, bar + height);
  panel2_->resize(kClientWidth, height);
  statusBar_->move(0, height - TStatusBar::kHeight);
  for (int i = 1; i <= 4; ++i) memos_[i]->setVisible(wide);
  diagnosticStrip_->setVisible(wide);
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
  // Devices are chosen from the list; a network source (tcp://, udp://, gpsd://) is
  // typed in.
  cbGPSCOM_->setEditable(true);
  cbGPSCOM_->setInsertPolicy(QComboBox::NoInsert);
  connect(cbGPSCOM_, &QComboBox::currentTextChanged, this, [this](const QString& text) { FollowPortText(text); });

  cbCOMBR_ = new QComboBox(gbxCOMSetting);
  cbCOMBR_->setObjectName(QStringLiteral("cbCOMBR"));
  cbCOMBR_->setGeometry(188, 20, 72, 22);
  for (const std::string_view rate : kPortRates) {
    cbCOMBR_->addItem(QString::fromLatin1(rate.data(), static_cast<qsizetype>(rate.size())));
  }

  toolBar_ = new TToolBar(panel11);
  toolBar_->setGeometry(282, 10, 400, 40);

  rgUNIT_ = new QGroupBox(QStringLiteral(" Unit "), panel11);
  rgUNIT_->setObjectName(QStringLiteral("rgUNIT"));
  rgUNIT_->setFont(ArialFont(12, true));
  // The pale red captions need a dark ground to be read (on grey they look disabled).
  QPalette unitPal = rgUNIT_->palette();
  unitPal.setColor(QPalette::WindowText, QColor(0xFF, 0xB3, 0xB3));
  unitPal.setColor(QPalette::Window, QColor(0x15, 0x2B, 0x21));
  rgUNIT_->setPalette(unitPal);
  rgUNIT_->setAutoFillBackground(true);
  unitKm_ = new QRadioButton(QStringLiteral("Km"), rgUNIT_);
  unitMile_ = new QRadioButton(QStringLiteral("Mile"), rgUNIT_);
  unitKm_->setChecked(true);
  connect(unitKm_, &QRadioButton::clicked, this, [this] { rgUNITClick(); });
  connect(unitMile_, &QRadioButton::clicked, this, [this] { rgUNITClick(); });

  // Placed by the edition's layout.
  imgLogo_ = new QLabel(panel11);
  imgLogo_->setObjectName(QStringLiteral("ImgLogo"));
  imgLogo_->hide();
}

void TFrmOrlimo::BuildProControls(QWidget* panel11, QWidget* panel4) {
  // The receiver-rate group and the command panel belong to the full edition; they
  // exist in every edition, hidden unless its layout shows them, so the control
  // groups always find them.
  gbxGPSRBSetting_ = new QGroupBox(QStringLiteral(" Set GPS Baud Rate "), panel11);
  gbxGPSRBSetting_->setObjectName(QStringLiteral("gbxGPSRBSetting"));
  gbxGPSRBSetting_->setGeometry(700, 4, 125, 50);
  cbGPSBR_ = new QComboBox(gbxGPSRBSetting_);
  cbGPSBR_->setObjectName(QStringLiteral("cbGPSBR"));
  for (const std::string_view rate : kPortRates) {
    cbGPSBR_->addItem(QString::fromLatin1(rate.data(), static_cast<qsizetype>(rate.size())));
  }
  cbGPSBR_->setGeometry(5, 20, 68, 22);
  btnGPSBRApply_ = new QPushButton(QStringLiteral("Apply"), gbxGPSRBSetting_);
  btnGPSBRApply_->setObjectName(QStringLiteral("btnGPSBRApply"));
  btnGPSBRApply_->setGeometry(76, 19, 44, 24);
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
  // Return must neither send nor add the text to the history: only Send does.
  cbCOMMAND_->setInsertPolicy(QComboBox::NoInsert);
  cbCOMMAND_->setGeometry(260, 5, 270, 22);
  btnCMDSend_ = new QPushButton(QStringLiteral("Send"), panel7_);
  btnCMDSend_->setObjectName(QStringLiteral("btnCMDSend"));
  btnCMDSend_->setGeometry(534, 4, 56, 24);
  panel7_->hide();

  // The plain trickle-power button is never shown; it only follows the control groups.
  btnTP_ = new QPushButton(QStringLiteral("TP"), panel7_);
  btnTP_->setObjectName(QStringLiteral("btnTP"));
  btnTP_->hide();
}

}  // namespace orlimo
