// TqvUSBx: turns the system's plug and unplug events of serial devices into
// signals carrying the device node ("/dev/ttyUSB0").
//
// The events come from a DeviceEventSource. The default one watches udev (subsystem
// tty) inside the Qt event loop of the thread that creates it; tests hand in their
// own source and emit DeviceChanged themselves.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace orlimo {

enum class DeviceAction { Added, Removed };

class DeviceEventSource : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 signals:
  // A device node came or went.
  void DeviceChanged(orlimo::DeviceAction action, const QString& node);
};

// Add and remove events of serial tty devices from a udev monitor, read through a
// QSocketNotifier. Listens to udev's own events when udev runs (the node then has its
// final permissions), else to the kernel's. A system without a monitor leaves the
// source silent rather than failing.
class UdevDeviceEventSource : public DeviceEventSource {
  Q_OBJECT

 public:
  explicit UdevDeviceEventSource(QObject* parent = nullptr);
  ~UdevDeviceEventSource() override;
  bool IsActive() const;

 private:
  void ReadEvents();
  struct Monitor;
  std::unique_ptr<Monitor> monitor_;
};

class TqvUSBx : public QObject {
  Q_OBJECT

 public:
  // Watches udev.
  explicit TqvUSBx(QObject* owner = nullptr);
  // Watches the given source (taken over as a child).
  explicit TqvUSBx(std::unique_ptr<DeviceEventSource> source, QObject* owner = nullptr);
  ~TqvUSBx() override;

  // Events are raised only while Enabled (default true). Storing only.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

 signals:
  // A serial device node appeared.
  void OnPortArrival(const QString& Port);
  // A serial device node was removed.
  void OnPortRemoved(const QString& Port);

 private:
  void HandleDeviceChange(DeviceAction action, const QString& node);
  bool enabled_ = true;
};

}  // namespace orlimo
