// The port list and the reactions to plugging. Ports are device paths here; only
// names that are paths are taken as ports, so a stray event text never reaches the
// selector. Removal closes the connection only when the removed port is the one
// that is open.
#include <QComboBox>

#include "app/info_usb.h"
#include "app/main_window.h"
#include "app/port_combo.h"
#include "serial/port_list.h"

namespace orlimo {
namespace {

bool IsPortName(const QString& port) { return port.startsWith(QLatin1Char('/')); }

// The component takes a name without '/' as a node under /dev.
QString DevicePath(const QString& name) {
  return name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
}

QString ListText(const QStringList& names) {
  QString text;
  for (const QString& n : names) text += n + QStringLiteral("\r\n");
  return text;
}

}  // namespace

QStringList TFrmOrlimo::PortItems() const {
  QStringList items;
  for (int i = 0; i < cbGPSCOM_->count(); ++i) items << cbGPSCOM_->itemText(i);
  return items;
}

std::optional<QStringList> TFrmOrlimo::CurrentPortList() {
  try {
    QStringList ports = setup_.ListPorts(setup_.ExtraPorts);
    portListFailing_ = false;
    return ports;
  } catch (const EPortListError& e) {
    // The device database could not be read. That says nothing about the ports: the
    // list, the selection and the connection stay as they are, and it is said once.
    if (!portListFailing_) {
      setup_.Dialogs->ShowErrorMsg(QString::fromLocal8Bit(e.what()) +
                                   QStringLiteral("\r\n\r\nThe port list is left as it was."));
    }
    portListFailing_ = true;
    return std::nullopt;
  }
}

bool TFrmOrlimo::ShowPortList(const QStringList& ports) {
  const QString shown = cbGPSCOM_->currentText();
  if (ports != PortItems()) {
    cbGPSCOM_->clear();
    cbGPSCOM_->addItems(ports);
  }
  if (ports.isEmpty()) return false;
  // The port shown before stays selected while it exists.
  const int keep = cbGPSCOM_->findText(shown);
  cbGPSCOM_->setCurrentIndex(keep >= 0 ? keep : 0);
  return true;
}

void TFrmOrlimo::RefreshPortList() {
  const std::optional<QStringList> ports = CurrentPortList();
  if (ports && !ShowPortList(*ports)) setup_.Dialogs->ShowErrorMsg(QStringLiteral("Can't not find any COM port !"));
}

bool TFrmOrlimo::SelectPort(const QString& port) {
  const int i = cbGPSCOM_->findText(port);
  if (i < 0) return false;
  cbGPSCOM_->setCurrentIndex(i);
  return true;
}

void TFrmOrlimo::ChoosePort(const QString& port) {
  if (SelectPort(port)) return;
  // Not there (yet): offered all the same, so connecting tries exactly this port and
  // says why it cannot, instead of opening another one.
  cbGPSCOM_->insertItem(0, port);
  cbGPSCOM_->setCurrentIndex(0);
}

void TFrmOrlimo::AddExtraPort(const QString& port) {
  if (!setup_.ExtraPorts.contains(port)) setup_.ExtraPorts << port;
  if (const auto ports = CurrentPortList()) ShowPortList(*ports);
}

void TFrmOrlimo::CheckPortListChange() {
  AppendTrace(1, "Change !");
  const std::optional<QStringList> ports = CurrentPortList();
  if (!ports) return;  // nothing is known about the ports: nothing changes
  const QString oldText = ListText(PortItems());
  const QString newText = ListText(*ports);
  AppendTrace(1, newText.toStdString());
  QStringList names;
  const int direction = DiffPortLists(oldText, newText, names);
  for (const QString& name : names) {
    if (direction < 0) GPSUSBPortRemoved(name);
    if (direction > 0) GPSUSBPortArrival(name);
  }
  if (names.isEmpty() && !tmCkCOM_.isActive()) tmCkCOM_.start();
}

void TFrmOrlimo::TmCkCOMTimer() {
  // The timer is still running during the check, so the check does not re-arm it.
  CheckPortListChange();
  tmCkCOM_.stop();
}

void TFrmOrlimo::BringToFront() {
  raise();
  activateWindow();
}

void TFrmOrlimo::GPSUSBPortArrival(const QString& port) {
  if (!IsPortName(port)) return;
  RefreshPortList();
  if (!session_->State().PortOpen) SelectPort(port);
  BringToFront();
  const QString notice = QStringLiteral(" (%1) Plug In !   ").arg(port);
  infoUSB_->SetLastUSBNotice(notice);
  if (infoUSB_->isVisible()) infoUSB_->AddNotice(notice);
  infoUSB_->ShowNotice(this);
}

void TFrmOrlimo::GPSUSBPortRemoved(const QString& port) {
  if (!IsPortName(port)) return;
  if (session_->State().PortOpen && DevicePath(session_->CommGPS().CommName()) == port) {
    session_->TBOpenClick();
  }
  RefreshPortList();
  BringToFront();
  const QString notice = QStringLiteral(" (%1) Remove !   ").arg(port);
  infoUSB_->SetLastUSBNotice(notice);
  if (infoUSB_->isVisible()) infoUSB_->AddNotice(notice);
  infoUSB_->ShowNotice(this);
}

}  // namespace orlimo
