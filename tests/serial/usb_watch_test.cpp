// The plug watcher with injected device events, and the udev source on this system.
#include <gtest/gtest.h>

#include <QPointer>

#include "pty_support.h"
#include "serial/usb_watch.h"

namespace orlimo {
namespace {

struct Plugs {
  QStringList arrived;
  QStringList removed;
  explicit Plugs(TqvUSBx& w) {
    QObject::connect(&w, &TqvUSBx::OnPortArrival, [this](const QString& p) { arrived << p; });
    QObject::connect(&w, &TqvUSBx::OnPortRemoved, [this](const QString& p) { removed << p; });
  }
};

TEST(TqvUSBx, ReportsInjectedPlugEventsWhileEnabled) {
  auto owned = std::make_unique<DeviceEventSource>();
  DeviceEventSource* source = owned.get();
  TqvUSBx watcher(std::move(owned));
  Plugs plugs(watcher);
  EXPECT_TRUE(watcher.Enabled());

  emit source->DeviceChanged(DeviceAction::Added, "/dev/ttyUSB0");
  emit source->DeviceChanged(DeviceAction::Added, "/dev/ttyACM0");
  emit source->DeviceChanged(DeviceAction::Removed, "/dev/ttyUSB0");
  EXPECT_EQ(plugs.arrived, (QStringList{"/dev/ttyUSB0", "/dev/ttyACM0"}));
  EXPECT_EQ(plugs.removed, QStringList{"/dev/ttyUSB0"});

  watcher.SetEnabled(false);
  emit source->DeviceChanged(DeviceAction::Added, "/dev/ttyUSB1");
  emit source->DeviceChanged(DeviceAction::Removed, "/dev/ttyACM0");
  EXPECT_EQ(plugs.arrived.size(), 2);
  EXPECT_EQ(plugs.removed.size(), 1);

  watcher.SetEnabled(true);
  emit source->DeviceChanged(DeviceAction::Removed, "/dev/ttyACM0");
  EXPECT_EQ(plugs.removed, (QStringList{"/dev/ttyUSB0", "/dev/ttyACM0"}));
}

TEST(TqvUSBx, SourceDiesWithTheWatcher) {
  auto owned = std::make_unique<DeviceEventSource>();
  QPointer<DeviceEventSource> source = owned.get();
  {
    TqvUSBx watcher(std::move(owned));
  }
  EXPECT_TRUE(source.isNull());
}

TEST(TqvUSBx, UdevWatcherStartsAndStopsQuietly) {
  test::App();
  // Whether this system delivers device events or not, creating, running and
  // destroying the watcher must neither fail nor report anything by itself.
  auto watcher = std::make_unique<TqvUSBx>();
  Plugs plugs(*watcher);
  QCoreApplication::processEvents();
  UdevDeviceEventSource source;
  (void)source.IsActive();
  watcher.reset();
  QCoreApplication::processEvents();
  EXPECT_TRUE(plugs.arrived.isEmpty());
}

}  // namespace
}  // namespace orlimo
