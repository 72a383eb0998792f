#include "serial/port_label.h"

#include <QFile>

#include <sys/stat.h>

#include "serial/udev_ptr.h"

namespace orlimo {
namespace {

// Names come from the device itself: a long or hostile one must not widen the list
// beyond reason.
constexpr qsizetype kMaxNameLength = 48;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One line of printable text: control and format characters (line breaks, escape
// sequences, direction overrides) become spaces, runs of spaces one.
QString Printable(const QByteArray& bytes) {
  QString text = QString::fromUtf8(bytes);
  for (QChar& c : text) {
    if (!c.isPrint()) c = QLatin1Char(' ');
  }
  text = text.simplified();
  if (text.size() > kMaxNameLength) text = text.left(kMaxNameLength - 1).trimmed() + QChar(0x2026);
  return text;
}

// The hardware database writes some names in brackets ("[u-blox 7]").
QString Unbracketed(const QString& name) {
  if (name.size() > 2 && name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'))) {
    return name.mid(1, name.size() - 2).trimmed();
  }
  return name;
}

// The first usable name of a maker or model: the database's, the device's own string
// (encoded form first, as the plain one has '_' for every space), never the bare
// numeric ID that udev puts there when the device has no string.
QString DeviceName(const TUdevProperties& p, const char* key) {
  const QByteArray k(key);
  QString name = Unbracketed(Printable(p.value(k + "_FROM_DATABASE")));
  if (!name.isEmpty()) return name;
  const QByteArray id = p.value(k + "_ID");
  for (const QByteArray& raw : {DecodeUdevEscapes(p.value(k + "_ENC")), QByteArray(p.value(k)).replace('_', ' ')}) {
    name = Printable(raw);
    if (!name.isEmpty() && name.toLatin1() != id) return name;
  }
  return {};
}

}  // namespace

TUdevProperties ReadUdevProperties(const QString& port) {
  struct stat info {};
  if (port.isEmpty() || ::stat(QFile::encodeName(port).constData(), &info) != 0 || !S_ISCHR(info.st_mode)) {
    return {};
  }
  UdevPtr<udev> context(udev_new());
  if (!context) return {};
  UdevPtr<udev_device> dev(udev_device_new_from_devnum(context.get(), 'c', info.st_rdev));
  if (!dev) return {};
  TUdevProperties properties;
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_device_get_properties_list_entry(dev.get())) {
    const char* name = udev_list_entry_get_name(entry);
    const char* value = udev_list_entry_get_value(entry);
    if (name != nullptr && value != nullptr) properties.insert(QByteArray(name), QByteArray(value));
  }
  return properties;
}

QByteArray DecodeUdevEscapes(const QByteArray& encoded) {
  QByteArray out;
  out.reserve(encoded.size());
  const qsizetype n = encoded.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (encoded[i] == '\\' && i + 3 < n && encoded[i + 1] == 'x') {
      const int hi = HexValue(encoded[i + 2]);
      const int lo = HexValue(encoded[i + 3]);
      if (hi >= 0 && lo >= 0) {
        out.append(static_cast<char>(hi * 16 + lo));
        i += 3;
        continue;
      }
    }
    out.append(encoded[i]);
  }
  return out;
}

QString DescribeUsbPort(const TUdevProperties& properties) {
  if (properties.value("ID_BUS") != "usb") return {};
  const QString maker = DeviceName(properties, "ID_VENDOR");
  const QString model = DeviceName(properties, "ID_MODEL");
  const QString serial = Printable(properties.value("ID_SERIAL_SHORT"));
  // "Garmin" and "Garmin GPS 18x" make "Garmin GPS 18x", not the maker twice.
  QString text = model.startsWith(maker, Qt::CaseInsensitive) ? model : (maker + QLatin1Char(' ') + model).trimmed();
  if (serial.isEmpty()) return text;
  return text.isEmpty() ? QStringLiteral("SN ") + serial : text + QStringLiteral(" (SN ") + serial + QLatin1Char(')');
}

QString PortLabel(const QString& path, const QString& description) {
  if (description.isEmpty()) return path;
  return path + QStringLiteral(" \u2014 ") + description;
}

}  // namespace orlimo
