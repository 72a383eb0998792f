// Helpers for the window tests: one QApplication per binary, a window with a
// scripted port list, recorded dialogs and injectable plug events, a pty that
// plays the receiver, and an event-loop wait.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "serial/port_list.h"
#include "serial/usb_watch.h"

namespace orlimo::test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "app-tests";
  static char* argv[] = {name, nullptr};
  static QApplication* instance = new QApplication(argc, argv);
  return *instance;
}

inline bool SpinUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
  App();
  QTimer tick;
  tick.start(5);
  QElapsedTimer clock;
  clock.start();
  while (!pred()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

struct RecordedDialogs : IDialogs {
  explicit RecordedDialogs(std::vector<std::string>& log, const bool* yes = nullptr) : log_(log), yes_(yes) {}
  bool AskYesNo(const QString& m) override { return Add("ask: ", m), yes_ != nullptr && *yes_; }
  void ShowErrorMsg(const QString& m) override { Add("error: ", m); }
  void ShowWarningMsg(const QString& m) override { Add("warning: ", m); }
  void ShowConfirmMsg(const QString& m) override { Add("confirm: ", m); }
  void ShowNotice(const QString& m) override { Add("notice: ", m); }
  void ShowInformationMsg(const QString& m) override { Add("information: ", m); }
  void Add(const char* kind, const QString& m) { log_.push_back(kind + m.toStdString()); }
  std::vector<std::string>& log_;
  const bool* yes_;
};

// A plug-event source the test fires by hand.
struct ManualDeviceEvents : DeviceEventSource {
  void Fire(DeviceAction action, const QString& node) { emit DeviceChanged(action, node); }
};

// A main window whose port list, dialogs and plug events belong to the test, built
// as the given edition; `configure` may change the rest of the setup (file places,
// the page opener, the file dialog). Questions are answered with `answerYes`.
struct WindowRig {
  explicit WindowRig(QStringList initialPorts = {QStringLiteral("/dev/ttyUSB0")}, Edition edition = {},
                     const std::function<void(TFrmOrlimoSetup&)>& configure = {})
      : ports(initialPorts) {
    App();
    TFrmOrlimoSetup setup;
    setup.Session.edition = std::move(edition);
    if (configure) configure(setup);
    setup.ListPorts = [this](const QStringList& extra) {
      if (listFails) throw EPortListError("Unable to read the device list", 5);
      QStringList all = ports;
      for (const QString& e : extra) {
        if (!all.contains(e)) all << e;
      }
      all.sort();
      return all;
    };
    setup.Dialogs = std::make_unique<RecordedDialogs>(dialogs, &answerYes);
    auto events = std::make_unique<ManualDeviceEvents>();
    plugs = events.get();
    setup.DeviceEvents = std::move(events);
    window = std::make_unique<TFrmOrlimo>(std::move(setup));
  }
  ~WindowRig() {
    window.reset();
  }

  QStringList ports;
  bool listFails = false;  // the system's port list cannot be read
  std::vector<std::string> dialogs;
  bool answerYes = false;
  ManualDeviceEvents* plugs = nullptr;
  std::unique_ptr<TFrmOrlimo> window;
};

// The master side of a pseudo-terminal; the slave path is the port to open.
class Pty {
 public:
  Pty() {
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0 && ::grantpt(fd_) == 0 && ::unlockpt(fd_) == 0) {
      char buf[128] = {};
      if (::ptsname_r(fd_, buf, sizeof buf) == 0) path_ = buf;
    }
  }
  ~Pty() {
    if (fd_ >= 0) ::close(fd_);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  QString Path() const { return QString::fromStdString(path_); }
  bool Valid() const { return fd_ >= 0 && !path_.empty(); }
  // Writes sentences, each followed by CR LF.
  void Send(const std::vector<std::string>& lines) const {
    std::string data;
    for (const std::string& l : lines) data += l + "\r\n";
    const ssize_t n = ::write(fd_, data.data(), data.size());
    (void)n;
  }

 private:
  int fd_ = -1;
  std::string path_;
};

inline const std::string kRMC =
    "$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B";
inline const std::string kGGA =
    "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D";
inline const std::string kGSA = "$GPGSA,A,3,04,02,17,10,24,23,13,,,,,,2.2,1.2,1.9*3D";
inline const std::string kGSV =
    "$GPGSV,3,1,10,04,65,054,42,02,60,325,26,13,40,063,35,10,36,245,40*78";
inline const std::string kGSV2 =
    "$GPGSV,3,2,10,24,31,087,30,17,25,155,34,05,14,276,21,23,13,039,24*79";
inline const std::string kGSV3 = "$GPGSV,3,3,10,30,09,305,16,27,02,115,*71";
inline const std::string kGLL = "$GPGLL,3730.2492,N,12702.8663,E,023441.000,A,A*5E";

}  // namespace orlimo::test
