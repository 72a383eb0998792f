// The simulated receiver started in-process for --simulate: it runs on a pty whose
// path the window offers as a port.
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
  bool Running() const;
  QString PortPath() const;
  int Rate() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orlimo
