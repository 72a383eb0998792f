// Stable port names: the links udev keeps in /dev/serial/by-id for USB serial
// devices, named after the device's maker, model and serial number. Such a name
// survives a replug into another socket while the ttyUSB/ttyACM node it points to
// changes. TStablePorts follows the names the user gave to their nodes, so that a
// node's arrival or removal can be told to be that of the name.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace orlimo {

// /dev/serial/by-id
QString SerialByIdDir();

// True when port names an entry directly inside folder.
bool IsStablePortName(const QString& port, const QString& folder);

// The path a link points to, a relative target taken from the link's folder; empty
// when port is no link.
QString LinkTarget(const QString& port);

class TStablePorts {
 public:
  // folder: where the stable names live; empty means SerialByIdDir().
  explicit TStablePorts(const QString& folder = {});
  const QString& Folder() const { return folder_; }

  // Keeps port (as given) when it is a stable name; false for any other name.
  bool Keep(const QString& port);
  bool IsKept(const QString& port) const;
  QStringList Names() const;

  // Reads where each kept name points now. A name whose link is gone remembers the
  // node it pointed to last: the removal event of that node comes after the link
  // went.
  void Update();
  // The node a kept name points to; empty while its link is gone.
  QString NodeNow(const QString& name) const;
  // The node a kept name pointed to when last seen, its link gone or not.
  QString LastNode(const QString& name) const;
  // The kept name that points to node now; empty when none does.
  QString NameNowAt(const QString& node) const;

 private:
  struct Entry {
    QString name;
    QString node;  // where the link pointed when last seen
    bool present = false;
  };
  void Read(Entry& e) const;
  QString folder_;
  std::vector<Entry> entries_;
};

}  // namespace orlimo
