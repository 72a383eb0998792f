// The receiver's behaviour without any I/O: it is told what the host sent and what
// time it is, and says what it puts on the line. Time is seconds since power-on.
//
// Personalities answer the commands a host sends:
//   SiRF     $PQXC,201 -> $PQXR,201,GSW...; $PQXC,200,... -> $PQXR,200,1,...;
//            $PQYCM,V -> $PQYTQ,... (with a TMC module); $PSRF101 restarts (1 hot,
//            4 cold, 8 factory default, which also moves it to its factory rate
//            and ends trickle power);
//            $PSRF100 changes rate at once (protocol 0 switches to SiRF binary)
//   SiRF binary: frames only; MID 128 factory default back to NMEA at the factory
//            rate; MID 0x81 to NMEA at the frame's rate. Bad checksums are ignored.
//   u-blox   text banner at start, after a restart and within a cycle after any
//            sentence it does not know; CFG-MSG polls answered and settings obeyed
//            (its NMEA output follows the rate table), CFG-RST restarts, CFG-CFG
//            puts the rate table back to its defaults.
//   u-blox 8 banner at start and after a restart; UBX as sim/ublox8_personality.h says;
//            its NMEA output follows the rate table as the u-blox one's does.
//   UBX      the u-blox 8 with NMEA output off: no banner, no sentence out or obeyed;
//            each cycle the UBX messages of sim/ubx_output.h, NAV-STATUS timing the
//            first fix from power-on or the last restart; UBX commands as the u-blox 8.
//   MediaTek start-up lines at start and after a restart; $PMTK commands as
//            sim/mtk_personality.h says.
//   Silent   parses what it gets, sends nothing.
//   Noisy    SiRF, with checksum errors, cut lines and stray binary bytes.
// Every personality takes any other checked sentence or frame (a console command,
// say): it is counted and recorded, and otherwise ignored. A sentence may come without
// a checksum, as annotated commands do; one that carries "*hh" must have it right.
//
// The u-blox 8 and MediaTek receivers acknowledge a rate change at the old rate and
// change after it, as real ones do: the Due() call that hands out the last reply
// before the change hands out nothing after it, and Rate() is the new rate from its
// return on. Everything Due() has handed out by then goes out at the old rate; the
// I/O loop switches the line after those bytes. A SiRF rate change is at once: Rate()
// changes in Receive(), and the bytes still waiting go out at the new rate.
//
// A replay sends the capture's cycles in turn, looping at the end, one each
// interval (the capture's own, or replayInterval) divided by the replay speed. A cycle
// the line cannot carry in that time delays the next until it has gone out. With
// replayOnly the receiver is the captured one: it takes commands as above and obeys
// and answers none.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "sim/host_input.h"
#include "sim/mtk_personality.h"
#include "sim/replay_stream.h"
#include "sim/scenario.h"
#include "sim/sim_command.h"
#include "sim/sim_options.h"
#include "sim/ublox8_personality.h"

namespace orlimo {

enum class SimMode { Nmea, SiRFBinary, Ubx };

inline constexpr std::size_t kSimReceivedKept = 256;

struct SimCounters {
  int restarts = 0;             // restart commands obeyed
  int lastRestartKind = 0;      // 1 hot, 2 warm, 4 cold, 8 factory default
  int commands = 0;             // checked messages received
  int rejected = 0;             // sentences and frames with bad checksums or framing
  int framesChecked = 0;        // binary frames that passed their checksum
  std::string lastCommand;      // last sentence (without CR LF), or frame in hex
  // Every checked message, oldest first, as lastCommand; the last kSimReceivedKept.
  std::deque<std::string> received;
  int cycles = 0;               // output cycles sent
};

class ReceiverCore {
 public:
  // `cycles` replaces the scenario when non-empty (replay).
  ReceiverCore(const SimOptions& options, std::int64_t utcStartSeconds,
               std::vector<std::string> replayCycles = {});
  // A replay from a source (a capture streamed from its file); none: the scenario.
  ReceiverCore(const SimOptions& options, std::int64_t utcStartSeconds, std::unique_ptr<ReplaySource> replay);

  // Bytes the receiver read from the host (already at its own rate).
  void Receive(std::string_view bytes, double now);

  // What goes on the line at `now`: replies first, then a cycle when one is due.
  std::string Due(double now);
  // When Due() next has something if the host sends nothing more: waiting replies at
  // once, else the next cycle, never before a restart's silence ends; infinity for a
  // receiver that never speaks. The I/O loop sleeps until then.
  double NextDue() const;

  int Rate() const { return rate_; }
  SimMode Mode() const { return mode_; }
  bool HasFix(double now) const;
  bool TricklePower() const { return trickle_; }
  const SimCounters& Counters() const { return counters_; }

 private:
  void Record(std::string text);
  void HandleNmea(const std::string& line, double now);
  void HandleSiRF(std::string_view frame, double now);
  void HandleUBX(std::string_view frame, double now);
  void Restart(int kind, double now);
  void Apply(SimCommandResult result, double now);
  std::string CycleOutput(double now);
  std::string ReplayDue(double now);
  std::string Damage(const std::string& sentence);
  std::string PowerReply() const;
  std::string StartupLines() const;

  SimOptions options_;
  SimWorld world_;
  std::unique_ptr<ReplaySource> replay_;  // none: the scenario
  double replayInterval_ = 1;  // seconds from one replayed cycle to the next
  double replayDue_ = 0;       // when the next one goes out
  HostInputParser parser_;
  std::mt19937 rng_;

  int rate_;
  SimMode mode_;
  double fixAt_;
  double silentUntil_ = 0;
  double startedAt_ = 0;  // power-on or the last restart
  std::int64_t nextCycle_ = 0;  // number of the next output cycle; each lasts 1/hz s
  bool trickle_ = false;
  int trickleOn_ = 0, trickleCycle_ = 0;
  bool bannerDue_ = false;  // the start-up lines go before the next cycle
  SimUbxRates ubxRates_;  // the u-blox output rates now: CFG-MSG changes them
  UBlox8Personality ublox8_;
  MediaTekPersonality mediaTek_;
  std::string replies_;
  int nextRate_ = 0;                // a rate change waiting for its acknowledgement, or 0
  std::size_t nextRateAfter_ = 0;   // ... which ends this many bytes into replies_
  SimCounters counters_;
};

}  // namespace orlimo
