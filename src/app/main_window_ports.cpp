// The port list and the reactions to plugging. Ports are device paths here; only
// names that are paths are taken as ports, so a stray event text never reaches the
// selector. Removal closes the connection only when the removed port is the one
// that is open.
//
// A stable name the user gave (/dev/serial/by-id/...) is kept as given and stays
// listed while its device is away. The device may come back on another node:
// that node's arrival is the return of the stable name, and the removal of the node
// it pointed to is its removal.
#include <QComboBox>

#include "app/info_usb.h"
#include "app/main_window.h"
#include "app/port_combo.h"
#include "serial/net_source.h"
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
    // Stable names given with --port are kept here: the system's list drops them
    // while their device is away.
    for (const QString& extra : setup_.ExtraPorts) stablePorts_.Keep(extra);
    stablePorts_.Update();
    const qsizetype listed = ports.size();
    for (const QString& name : stablePorts_.Names()) {
      if (!ports.contains(name)) ports << name;
    }
    for (const QString& named : namedPorts_) {
      if (!ports.contains(named)) ports << named;
    }
    // Network sources are no device the system lists: those given or typed stay.
    QStringList sources = setup_.ExtraPorts;
    sources << cbGPSCOM_->currentText();
    if (session_) sources << session_->CommGPS().CommName();
    for (const QString& source : sources) {
      if (IsNetworkSource(source.toStdString()) && !ports.contains(source)) ports << source;
    }
    if (ports.size() != listed) SortPortNames(ports);
    return ports;
  } catch (const EPortListError& e) {
    // The device database could not be read. That says nothing about the ports: the
    // list, the selection and the connection stay as they are, and it is said once.
    if (!portListFailing_) {
      Dialogs().ShowErrorMsg(QString::fromLocal8Bit(e.what()) +
                                   QStringLiteral("\r\n\r\nThe port list is left as it was."));
    }
    portListFailing_ = true;
    return std::nullopt;
  }
}

QString TFrmOrlimo::PortLabelFor(const QString& port) const {
  QString node = port;
  if (stablePorts_.IsKept(port)) {
    node = stablePorts_.NodeNow(port);
    if (node.isEmpty()) return PortLabel(port, QStringLiteral("not plugged in"));
  }
  const TUdevProperties properties =
      setup_.PortProperties ? setup_.PortProperties(node) : ReadUdevProperties(node);
  return PortLabel(port, DescribeUsbPort(properties));
}

bool TFrmOrlimo::ShowPortList(const QStringList& ports) {
  const QString shown = cbGPSCOM_->currentText();
  if (ports != PortItems()) {
    cbGPSCOM_->clear();
    cbGPSCOM_->addItems(ports);
  }
  // Relabelled every time: another device may have taken a node, or a stable name
  // may point elsewhere, without the paths changing.
  for (int i = 0; i < cbGPSCOM_->count(); ++i) cbGPSCOM_->SetPortLabel(i, PortLabelFor(cbGPSCOM_->itemText(i)));
  if (ports.isEmpty()) return false;
  // The port shown before stays selected while it exists.
  const int keep = cbGPSCOM_->findText(shown);
  cbGPSCOM_->setCurrentIndex(keep >= 0 ? keep : 0);
  return true;
}

void TFrmOrlimo::RefreshPortList() {
  const std::optional<QStringList> ports = CurrentPortList();
  if (ports && !ShowPortList(*ports)) Dialogs().ShowErrorMsg(QStringLiteral("Can't not find any COM port !"));
}

bool TFrmOrlimo::SelectPort(const QString& port) {
  const int i = cbGPSCOM_->findText(port);
  if (i < 0) return false;
  cbGPSCOM_->setCurrentIndex(i);
  return true;
}

void TFrmOrlimo::ChoosePort(const QString& port) {
  KeepStablePort(port);
  if (SelectPort(port)) return;
  // Not there (yet): offered all the same, so connecting tries exactly this port and
  // says why it cannot, instead of opening another one.
  KeepNamedPort(port);
  SelectPort(port);
}

void TFrmOrlimo::KeepNamedPort(const QString& port) {
  if (!IsPortName(port) || namedPorts_.contains(port)) return;
  namedPorts_ << port;
  if (const auto ports = CurrentPortList()) ShowPortList(*ports);
}

void TFrmOrlimo::KeepStablePort(const QString& port) {
  if (stablePorts_.IsKept(port) || !stablePorts_.Keep(port)) return;
  if (const auto ports = CurrentPortList()) ShowPortList(*ports);
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
  const QString stable = stablePorts_.NameNowAt(port);
  if (!session_->State().PortOpen) SelectPort(stable.isEmpty() ? port : stable);
  BringToFront();
  const QString notice = QStringLiteral(" (%1) Plug In !   ").arg(port);
  infoUSB_->SetLastUSBNotice(notice);
  if (infoUSB_->isVisible()) infoUSB_->AddNotice(notice);
  infoUSB_->ShowNotice(this);
}

void TFrmOrlimo::GPSUSBPortRemoved(const QString& port) {
  if (!IsPortName(port)) return;
  const QString open = session_->CommGPS().CommName();
  if (session_->State().PortOpen && (DevicePath(open) == port || stablePorts_.LastNode(open) == port)) {
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
