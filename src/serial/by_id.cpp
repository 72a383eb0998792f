#include "serial/by_id.h"

#include <QDir>
#include <QFileInfo>

namespace orlimo {

QString SerialByIdDir() { return QStringLiteral("/dev/serial/by-id"); }

bool IsStablePortName(const QString& port, const QString& folder) {
  const QString dir = QDir::cleanPath(folder) + QLatin1Char('/');
  const QString path = QDir::cleanPath(port);
  return path.size() > dir.size() && path.startsWith(dir) && path.indexOf(QLatin1Char('/'), dir.size()) < 0;
}

QString LinkTarget(const QString& port) {
  const QFileInfo link(port);
  if (!link.isSymLink()) return {};
  return QDir::cleanPath(link.symLinkTarget());
}

TStablePorts::TStablePorts(const QString& folder) : folder_(folder.isEmpty() ? SerialByIdDir() : folder) {}

bool TStablePorts::Keep(const QString& port) {
  if (!IsStablePortName(port, folder_)) return false;
  if (IsKept(port)) return true;
  Entry e{port, {}, false};
  Read(e);
  entries_.push_back(e);
  return true;
}

bool TStablePorts::IsKept(const QString& port) const {
  for (const Entry& e : entries_) {
    if (e.name == port) return true;
  }
  return false;
}

QStringList TStablePorts::Names() const {
  QStringList names;
  for (const Entry& e : entries_) names << e.name;
  return names;
}

void TStablePorts::Read(Entry& e) const {
  const QString node = LinkTarget(e.name);
  e.present = !node.isEmpty();
  if (e.present) e.node = node;
}

void TStablePorts::Update() {
  for (Entry& e : entries_) Read(e);
}

QString TStablePorts::NodeNow(const QString& name) const {
  for (const Entry& e : entries_) {
    if (e.name == name) return e.present ? e.node : QString();
  }
  return {};
}

QString TStablePorts::LastNode(const QString& name) const {
  for (const Entry& e : entries_) {
    if (e.name == name) return e.node;
  }
  return {};
}

QString TStablePorts::NameNowAt(const QString& node) const {
  const QString path = QDir::cleanPath(node);
  for (const Entry& e : entries_) {
    if (e.present && e.node == path) return e.name;
  }
  return {};
}

}  // namespace orlimo
