// The simulated receiver started in-process for --simulate and --replay: it runs on a
// pty whose path the window offers as a port.
#pragma once

#include <QString>

#include <memory>

namespace orlimo {

class TSimulatorLink {
 public:
  TSimulatorLink();
  ~TSimulatorLink();

  // Starts the receiver of that personality at `rate` bit/s (0: its own rate),
  // moving at `speedKnots` on `courseDeg`. False with `error` set when it cannot run.
  bool Start(const QString& personality, int rate, QString& error, double speedKnots = 0,
             double courseDeg = 0);
  // Starts the receiver of a capture (or a raw-data log) that plays it `speed` times
  // faster at `rate` bit/s (0: the lowest rate that keeps its pace). False with `error`
  // set when the file cannot be played; `note` says when its cycles must stretch.
  bool StartReplay(const QString& file, int rate, int speed, QString& error, QString& note);
  bool Running() const;
  QString PortPath() const;
  int Rate() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orlimo
