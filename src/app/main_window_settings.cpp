// The settings file as the window sees it: what the controls take from it when the
// window is first shown, and what they give back when it closes. The port and the
// rate are the serial component's, as last opened or read.
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include "app/main_window.h"
#include "app/port_combo.h"
#include "serial/net_source.h"
#include "session/file_places.h"

namespace orlimo {
namespace {

std::vector<std::string> Items(const QComboBox* box, bool latin1) {
  std::vector<std::string> items;
  for (int i = 0; i < box->count(); ++i) {
    const QString text = box->itemText(i);
    items.push_back(latin1 ? text.toLatin1().toStdString() : text.toStdString());
  }
  return items;
}

// Selects the item the value names (item 0 when none does); -1 for an empty list.
int Select(QComboBox* box, const std::optional<std::string>& value, bool latin1) {
  const int i = SelectListItem(Items(box, latin1), value);
  if (i >= 0) box->setCurrentIndex(i);
  return i;
}

}  // namespace

void TFrmOrlimo::ApplySettings(const TSettings& s) {
  TComm& comm = session_->CommGPS();
  if (s.COMPort) KeepStablePort(QString::fromStdString(*s.COMPort));
  if (s.COMPort && IsNetworkSource(*s.COMPort)) AddExtraPort(QString::fromStdString(*s.COMPort));
  // A saved port that is not listed (a link the user made, a device away now) is
  // kept as given rather than replaced by the first port listed.
  if (s.COMPort && cbGPSCOM_->findText(QString::fromStdString(*s.COMPort), Qt::MatchFixedString) < 0)
    KeepNamedPort(QString::fromStdString(*s.COMPort));
  savedPort_ = s.COMPort;
  savedRate_ = s.BaudRate;
  const int port = Select(cbGPSCOM_, s.COMPort, false);
  comm.SetCommName(port >= 0 ? cbGPSCOM_->itemText(port) : QString());
  commNamed_ = true;
  const int rate = Select(cbCOMBR_, s.BaudRate, true);
  if (rate >= 0) comm.SetBaudRate(cbCOMBR_->itemText(rate).toUInt());
  if (s.UnitIndex != (unitMile_->isChecked() ? 1 : 0)) SelectUnit(s.UnitIndex);
  Select(cbGPSBR_, s.ChangeBaudRate, true);
  synColor_->setChecked(s.SyntaxColor);
  for (const std::string& command : s.Commands) {
    cbCOMMAND_->addItem(QString::fromLatin1(command.data(), static_cast<qsizetype>(command.size())));
  }
}

TSettings TFrmOrlimo::CollectSettings() const {
  TSettings s;
  QString port = session_->CommGPS().CommName();
  // Never read nor opened, the component still carries its built-in name, which
  // names no port here: the selected port is the one to keep.
  if (port.isEmpty() || (!commNamed_ && port == initialCommName_)) port = cbGPSCOM_->currentText();
  s.COMPort = port.toStdString();
  s.BaudRate = std::to_string(session_->CommGPS().BaudRate());
  if (!setup_.SimulatorPort.isEmpty() && port == setup_.SimulatorPort) {
    // The simulator's pty is gone after this run: the real receiver's port stays.
    s.COMPort = savedPort_;
    s.BaudRate = savedRate_;
  }
  s.UnitIndex = unitMile_->isChecked() ? 1 : 0;
  s.ChangeBaudRate = cbGPSBR_->currentText().toLatin1().toStdString();
  s.SyntaxColor = synColor_->isChecked();
  s.Commands = CommandHistory();
  return s;
}

void TFrmOrlimo::SaveSettings() {
  const std::string& path = setup_.Places.IniPath;
  if (path.empty()) return;
  const std::size_t slash = path.rfind('/');
  if (IsCDROMDrive(slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1))) return;
  TIniFile ini;
  ini.Load(path);  // what this edition does not write stays as it is
  WriteSettings(ini, CollectSettings(), edition().WritesExtendedSettings());
  std::string error;
  if (!ini.Save(path, error)) ShowErrorMsg("Unable to write the settings file " + path + " : " + error);
}

}  // namespace orlimo
