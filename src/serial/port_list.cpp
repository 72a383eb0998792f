#include "serial/port_list.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "serial/udev_ptr.h"

namespace orlimo {

bool IsRealSerialPort(udev_device* dev) {
  const char* name = udev_device_get_sysname(dev);
  if (name != nullptr && std::strncmp(name, "rfcomm", 6) == 0) return true;
  if (udev_device_get_parent(dev) == nullptr) return false;
  const char* type = udev_device_get_sysattr_value(dev, "type");
  return type == nullptr || std::strcmp(type, "0") != 0;
}

namespace {

std::string WithCode(const char* text, int code) { return std::string(text) + std::to_string(code); }

[[noreturn]] void FailOpen(int code) {
  throw EPortListError(WithCode("Fail to Open Key , ErrorCode : ", code), code);
}

QStringList SplitLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    lines.append(text.mid(start, i - start));
    if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
    start = i + 1;
  }
  if (start < n) lines.append(text.mid(start));
  return lines;
}

}  // namespace

QStringList ListSystemSerialPorts() {
  errno = 0;
  UdevPtr<udev> context(udev_new());
  if (!context) FailOpen(errno != 0 ? errno : ENOMEM);
  UdevPtr<udev_enumerate> scan(udev_enumerate_new(context.get()));
  if (!scan) FailOpen(errno != 0 ? errno : ENOMEM);
  int rc = udev_enumerate_add_match_subsystem(scan.get(), "tty");
  if (rc >= 0) rc = udev_enumerate_scan_devices(scan.get());
  if (rc < 0) throw EPortListError(WithCode("Fail to enumerates Key , ErrorCode : ", -rc), -rc);

  QStringList ports;
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
    UdevPtr<udev_device> dev(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
    if (!dev || !IsRealSerialPort(dev.get())) continue;
    if (const char* node = udev_device_get_devnode(dev.get())) ports.append(QFile::decodeName(node));
  }
  return ports;
}

void SortPortNames(QStringList& names) {
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
  });
}

void EnumerateSerialPorts(QStringList& Target, const QStringList& ExtraPorts) {
  QStringList ports = ListSystemSerialPorts();
  for (const QString& extra : ExtraPorts) {
    struct stat info {};
    if (!extra.isEmpty() && ::stat(QFile::encodeName(extra).constData(), &info) == 0) ports.append(extra);
  }
  ports.removeDuplicates();
  SortPortNames(ports);
  if (ports != Target) Target = ports;
}

int DiffPortLists(const QString& OldText, const QString& NewText, QStringList& Names) {
  Names.clear();
  if (OldText == NewText) return 0;
  const QStringList oldLines = SplitLines(OldText);
  const QStringList newLines = SplitLines(NewText);
  if (oldLines.size() > newLines.size()) {
    for (const QString& line : oldLines) {
      if (!NewText.contains(line)) Names.append(line);
    }
    return -1;
  }
  if (newLines.size() > oldLines.size()) {
    for (const QString& line : newLines) {
      if (!OldText.contains(line)) Names.append(line);
    }
    return 1;
  }
  return 0;
}

}  // namespace orlimo
