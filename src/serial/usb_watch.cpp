#include "serial/usb_watch.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>

#include <unistd.h>

#include <cstring>
#include <utility>
#include <vector>

#include "serial/udev_ptr.h"

namespace orlimo {

struct UdevDeviceEventSource::Monitor {
  UdevPtr<udev> context;
  UdevPtr<udev_monitor> monitor;
  std::unique_ptr<QSocketNotifier> notifier;
};

UdevDeviceEventSource::UdevDeviceEventSource(QObject* parent)
    : DeviceEventSource(parent), monitor_(std::make_unique<Monitor>()) {
  monitor_->context.reset(udev_new());
  if (!monitor_->context) return;
  const bool udevRuns = ::access("/run/udev/control", F_OK) == 0;
  monitor_->monitor.reset(udev_monitor_new_from_netlink(monitor_->context.get(), udevRuns ? "udev" : "kernel"));
  udev_monitor* mon = monitor_->monitor.get();
  if (mon == nullptr || udev_monitor_filter_add_match_subsystem_devtype(mon, "tty", nullptr) < 0 ||
      udev_monitor_enable_receiving(mon) < 0 || udev_monitor_get_fd(mon) < 0) {
    monitor_->monitor.reset();
    return;
  }
  monitor_->notifier = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(mon), QSocketNotifier::Read);
  connect(monitor_->notifier.get(), &QSocketNotifier::activated, this, &UdevDeviceEventSource::ReadEvents);
}

UdevDeviceEventSource::~UdevDeviceEventSource() = default;

bool UdevDeviceEventSource::IsActive() const { return monitor_->notifier != nullptr; }

void UdevDeviceEventSource::ReadEvents() {
  // Drain the socket first, then report: a handler may delete this object.
  std::vector<std::pair<DeviceAction, QString>> events;
  while (UdevPtr<udev_device> dev{udev_monitor_receive_device(monitor_->monitor.get())}) {
    const char* action = udev_device_get_action(dev.get());
    const char* node = udev_device_get_devnode(dev.get());
    if (action == nullptr || node == nullptr) continue;
    if (std::strcmp(action, "add") == 0) {
      if (IsRealSerialPort(dev.get())) events.emplace_back(DeviceAction::Added, QFile::decodeName(node));
    } else if (std::strcmp(action, "remove") == 0) {
      // The device is gone from sysfs, so it cannot be tested; report every tty node.
      events.emplace_back(DeviceAction::Removed, QFile::decodeName(node));
    }
  }
  QPointer<UdevDeviceEventSource> alive(this);
  for (const auto& [action, node] : events) {
    emit DeviceChanged(action, node);
    if (!alive) return;
  }
}

TqvUSBx::TqvUSBx(QObject* owner) : TqvUSBx(std::make_unique<UdevDeviceEventSource>(), owner) {}

TqvUSBx::TqvUSBx(std::unique_ptr<DeviceEventSource> source, QObject* owner) : QObject(owner) {
  if (!source) return;
  DeviceEventSource* raw = source.release();
  raw->setParent(this);
  connect(raw, &DeviceEventSource::DeviceChanged, this, &TqvUSBx::HandleDeviceChange);
}

TqvUSBx::~TqvUSBx() { enabled_ = false; }

void TqvUSBx::HandleDeviceChange(DeviceAction action, const QString& node) {
  if (!enabled_) return;
  if (action == DeviceAction::Added) {
    emit OnPortArrival(node);
  } else {
    emit OnPortRemoved(node);
  }
}

}  // namespace orlimo
