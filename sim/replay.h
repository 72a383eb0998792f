// A captured receiver log cut into output cycles for playing back.
//
// The capture is a raw byte stream: NMEA text and binary frames exactly as received,
// plus '#' comment lines of the capture format, which are dropped. The stream is cut
// into records (a sentence with its line end, a SiRF or UBX frame, or a run of other
// bytes), and the records into the receiver's output cycles (epochs).
//
// A cycle is what a receiver sends for one solution. Its anchors are the records a
// receiver sends once a solution: sentences that carry the solution's time (RMC, GGA,
// GNS, GLL, ZDA, GST, GBS, GRS, $PSRFEPE), VTG, and binary frames by message ID
// (except UBX INF, which is text). A new cycle begins at an anchor whose time differs
// from the cycle's, or at an anchor the cycle already holds. The other records (GSA,
// GSV, TXT, ...) may come several times a cycle (a GSA per satellite system, GSVs per
// system and signal) or only every few cycles, so they never begin a cycle by
// themselves: they stay with the anchors before them, except that the run of them
// just before a new cycle's first anchor joins the new cycle from the first one the
// old cycle already held before that run (a receiver that sends its GSVs first). A
// stream without anchors is cut where any record repeats (a GSV message counts with
// its number). No record grows beyond 4 KiB (a frame's length aside) and no cycle
// beyond 64 KiB, whatever the file holds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/sim_options.h"

namespace orlimo {

// LoadReplay refuses a capture larger than this rather than read it into memory: about
// a day of a GPS and GLONASS receiver at 1 Hz. A replay itself streams the file
// (sim/replay_stream.h) and takes any size.
inline constexpr std::size_t kReplayFileLimit = std::size_t{64} << 20;

// The capture's bytes without its comment lines.
std::string StripCaptureComments(std::string_view capture);

// False for a raw binary log (".ubx", ".sirf"): it holds frames only, byte for byte, and
// a '#' after a LF byte there is data, not a comment.
bool CaptureMayHoldComments(std::string_view path);

// Cycles of the capture, each a run of bytes to send together; never empty strings.
// Sentences stored with a bare LF get their CR back; all other bytes are kept.
std::vector<std::string> SplitIntoCycles(std::string_view stream);

// Seconds between the capture's cycles: the median step between the times their
// sentences carry (a binary log's: its UBX NAV or SiRF navigation frames), within
// 0.05 .. 5 s; 1 when they carry none.
double CaptureInterval(const std::vector<std::string>& cycles);

// What a replay's pace is judged by: the sizes of the capture's cycles and their
// interval, from the whole capture or (a long one) from its first cycles.
struct CaptureSample {
  std::vector<std::size_t> cycleBytes;
  double interval = 1;
  bool whole = true;  // the sample holds every cycle of the capture
};
CaptureSample SampleOf(const std::vector<std::string>& cycles);

// Reads and splits a whole capture file into memory (for tests and tools; a replay
// streams it); nullopt when it cannot be read, holds nothing or is too large.
std::optional<std::vector<std::string>> LoadReplay(const std::string& path);
// The same, with `why` saying what is wrong with the file ("FILE is empty", ...).
std::optional<std::vector<std::string>> LoadReplay(const std::string& path, std::string& why);

// Seconds the simulated line takes for `bytes` at `rate` bit/s, at most (10 bits a
// byte and an idle gap of up to one bit).
double LineSeconds(std::size_t bytes, int rate);

// The lowest receiver rate from 9600 bit/s up that sends every cycle within the
// capture's interval played `speed` times faster; 115200 when none does.
int ReplayRate(const CaptureSample& sample, int speed);
inline int ReplayRate(const std::vector<std::string>& cycles, int speed) {
  return ReplayRate(SampleOf(cycles), speed);
}

// Empty when every cycle fits its interval at `rate` and `speed`; otherwise a note for
// the user that the replay slows down to send every byte, and by how much.
std::string ReplayPaceNote(const CaptureSample& sample, int rate, int speed);
inline std::string ReplayPaceNote(const std::vector<std::string>& cycles, int rate, int speed) {
  return ReplayPaceNote(SampleOf(cycles), rate, speed);
}

// A replay as the program and the console start it: the captured receiver alone
// (replayOnly), `speed` times faster, at `rate` bit/s or, with 0, at ReplayRate. False
// with `error` saying why when the file cannot be played; `note` is ReplayPaceNote's.
// Reads only the start of the capture, so it returns at once whatever its size.
bool SetUpReplay(const std::string& path, int rate, int speed, SimOptions& out, std::string& error,
                 std::string& note);

}  // namespace orlimo
