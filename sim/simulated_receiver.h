// A GPS receiver on a pseudo-terminal, for tests, for the program's --simulate option
// and for the gpssim command.
//
//   SimOptions o;                       // see sim/sim_options.h
//   o.personality = SimPersonality::SiRF;
//   o.rate = 9600;
//   o.ttffHot = 0.5;                    // short times to first fix for tests
//   SimulatedReceiver sim(o);
//   std::string path = sim.Start();     // "/dev/pts/N"; empty on failure (see Error())
//   ... open `path` as a serial port, set its rate with termios, read and write ...
//   SimStatus s = sim.Status();         // safe from any thread
//   sim.Stop();                         // also done by the destructor
//
// The receiver sends at its own rate, byte by byte in real time (10 bits a byte plus a
// small irregular idle gap of 0 to 1 bit), in bursts at 1, 5 or 10 Hz; the host gets
// the bytes in batches of 8 ms, as from a UART's receive FIFO. Between bursts it
// sleeps until its next output is due or the host writes. It reads the host's line
// settings from the pty each time it wakes: when the host's rate differs from its
// own, the host gets what its UART would sample from the receiver's bit stream, and
// the receiver gets what its UART samples from the host's. A rate change the receiver
// acknowledges first (see sim/receiver_core.h) switches the line after the last byte of
// the acknowledgement; one made at once switches it at once. While the host has the
// port closed the receiver keeps running and its output is lost, as on a real line.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "sim/receiver_core.h"
#include "sim/sim_options.h"

namespace orlimo {

struct SimStatus {
  bool running = false;
  bool hostOpen = false;           // the host has the port open
  int rate = 0;                    // the receiver's own rate on the line, bit/s: after a
                                   // change it acknowledges, once the ack has gone out
  int hostRate = 0;                // the rate the host's termios asks for, 0 when unknown
  SimMode mode = SimMode::Nmea;
  bool hasFix = false;
  bool tricklePower = false;
  SimCounters counters;            // restarts, commands, what it received, cycles
  long long bytesOnLine = 0;       // bytes the receiver has clocked out
  double bitsOnLine = 0;           // bit times they took, gaps included
  long long bytesToHost = 0;       // bytes written to the pty (what the host's UART read)
  double seconds = 0;              // since Start()
};

class SimulatedReceiver {
 public:
  explicit SimulatedReceiver(SimOptions options);
  ~SimulatedReceiver();
  SimulatedReceiver(const SimulatedReceiver&) = delete;
  SimulatedReceiver& operator=(const SimulatedReceiver&) = delete;

  // Creates the pty and starts the receiver; returns the path of the port to open, or
  // an empty string (and Error() says why). A second call returns the same path.
  std::string Start();
  void Stop();

  std::string PortPath() const;
  std::string Error() const;
  SimStatus Status() const;

 private:
  using SimClock = std::chrono::steady_clock;
  void Run(std::stop_token stop, ReceiverCore& core, SimClock::time_point epoch);

  SimOptions options_;
  mutable std::mutex mu_;
  SimStatus status_;
  std::string path_;
  std::string error_;
  SimClock::time_point epoch_;  // Start()
  int master_ = -1;
  int wake_ = -1;  // eventfd that Stop() signals
  std::jthread thread_;
};

}  // namespace orlimo
