// libudev handles in RAII, and the test that tells a real serial port from the
// other tty devices (virtual consoles, placeholder UART slots).
#pragma once

#include <libudev.h>

#include <memory>

namespace orlimo {

struct UdevUnref {
  void operator()(udev* p) const { udev_unref(p); }
  void operator()(udev_enumerate* p) const { udev_enumerate_unref(p); }
  void operator()(udev_device* p) const { udev_device_unref(p); }
  void operator()(udev_monitor* p) const { udev_monitor_unref(p); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevUnref>;

// A tty device that is a serial port: Bluetooth rfcomm, or any tty backed by a
// device (USB serial, CDC ACM, on-board UART) except serial-core slots whose UART
// type is unknown (the ttyS ports that exist only on paper).
bool IsRealSerialPort(udev_device* dev);

}  // namespace orlimo
