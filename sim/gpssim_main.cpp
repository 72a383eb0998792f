// gpssim: a simulated GPS receiver on a pseudo-terminal. Prints the port to open as
// its first line, then runs until it is killed or the port has been closed for a minute.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "orlimo_version.h"
#include "sim/replay_stream.h"
#include "sim/simulated_receiver.h"

namespace {

constexpr const char* kUsage =
    "Usage: gpssim [--personality sirf|sirf-binary|ublox|ublox8|ubx|mtk|silent|noisy]\n"
    "              [--rate BPS] [--hz N] [--link PATH] [--ttff-hot S] [--ttff-cold S]\n"
    "              [--tmc] [--replay FILE] [--ubx-rates LIST] [--replay-speed N]\n"
    "\n"
    "A GPS receiver on a pseudo-terminal. The first line printed is the port to open.\n"
    "\n"
    "  --personality P  sirf         NMEA with the maker's proprietary replies (default)\n"
    "                   sirf-binary  the same receiver in SiRF binary mode (messages 2, 9, 4, 41)\n"
    "                   ublox        a u-blox ANTARIS receiver (text banner, UBX replies)\n"
    "                   ublox8       a u-blox M8 receiver (banner, MON-VER, CFG-RST/CFG-CFG/CFG-PRT)\n"
    "                   ubx          the M8 with UBX output only: NAV-STATUS, NAV-DOP, NAV-PVT,\n"
    "                                NAV-SAT each cycle, no NMEA; answers UBX as ublox8\n"
    "                   mtk          a MediaTek receiver ($PMTK705, $PMTK001 acks, $PMTK101-104, $PMTK251)\n"
    "                   silent       opens, sends nothing\n"
    "                   noisy        sirf on a bad line: checksum errors, cut lines, junk\n"
    "  --rate BPS       the receiver's rate: 4800, 9600, 19200, 38400, 57600, 115200,\n"
    "                   230400, 460800 or 921600 (default 9600); a host listening at\n"
    "                   another rate reads garbage. Only ublox8 and ubx move above\n"
    "                   115200 when told to\n"
    "  --hz N           output cycles a second: 1, 5 or 10 (default 1)\n"
    "  --link PATH      also make PATH a symbolic link to the port (removed on exit)\n"
    "  --ttff-hot S     seconds to the first fix after a hot start and at power-on (default 3)\n"
    "  --ttff-cold S    seconds to the first fix after a cold start or factory default\n"
    "                   (default 30)\n"
    "  --tmc            a TMC module answers $PQYCM,V\n"
    "  --ubx-rates LIST u-blox output rates, every N-th solution (0 off), in the order\n"
    "                   GGA,GLL,GSA,GSV,RMC,VTG,GRS,GST,ZDA,GBS,DTM: up to 11 numbers\n"
    "                   0..255, the rest as by default (1,1,1,1,1,1,0,0,0,0,0); its\n"
    "                   CFG-MSG replies report them\n"
    "  --replay FILE    play a captured log (# comment lines skipped) instead of the\n"
    "                   scenario, at the receiver's rate and the capture's pace (--hz N:\n"
    "                   N cycles a second), looping at the end; a cycle longer than the\n"
    "                   rate carries in time delays the next (a note says so);\n"
    "                   the captured receiver answers and obeys no command\n"
    "  --replay-speed N play the capture N times faster: 1 to 16 (default 1)\n"
    "  --help           this text\n"
    "  --version        the program's version\n"
    "\n"
    "It stops on SIGINT or SIGTERM, or when the port, once opened, stays closed for 60 s.\n";

bool ParseInt(std::string_view s, int& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool ParseSeconds(std::string_view s, double& v) {
  try {
    std::size_t used = 0;
    v = std::stod(std::string(s), &used);
    return used == s.size() && v >= 0 && v < 86400;
  } catch (...) {
    return false;
  }
}

int Fail(const std::string& msg) {
  std::fprintf(stderr, "gpssim: %s\n%s", msg.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  orlimo::SimOptions o;
  std::string link;
  bool hotGiven = false, hzGiven = false, speedGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    auto value = [&](std::string_view& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string_view v;
    if (a == "--version") {
      std::printf("gpssim %s\n", orlimo::kProgramVersion);
      return 0;
    }
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--tmc") {
      o.tmc = true;
    } else if (a == "--personality") {
      if (!value(v)) return Fail("--personality needs a value");
      const auto p = orlimo::ParseSimPersonality(v);
      if (!p) return Fail("unknown personality " + std::string(v));
      o.personality = *p;
    } else if (a == "--rate") {
      if (!value(v) || !ParseInt(v, o.rate)) return Fail("--rate needs a number");
      if (!orlimo::IsSimLineRate(o.rate)) return Fail("unsupported rate " + std::string(v));
    } else if (a == "--hz") {
      if (!value(v) || !ParseInt(v, o.hz) || (o.hz != 1 && o.hz != 5 && o.hz != 10))
        return Fail("--hz takes 1, 5 or 10");
      hzGiven = true;
    } else if (a == "--link") {
      if (!value(v) || v.empty()) return Fail("--link needs a path");
      link = v;
    } else if (a == "--ttff-hot") {
      if (!value(v) || !ParseSeconds(v, o.ttffHot)) return Fail("--ttff-hot needs seconds");
      hotGiven = true;
    } else if (a == "--ttff-cold") {
      if (!value(v) || !ParseSeconds(v, o.ttffCold)) return Fail("--ttff-cold needs seconds");
    } else if (a == "--ubx-rates") {
      if (!value(v) || !orlimo::ParseUbxRates(v, o.ubxRates))
        return Fail("--ubx-rates takes up to 11 comma-separated numbers 0..255");
    } else if (a == "--replay") {
      if (!value(v) || v.empty()) return Fail("--replay needs a file");
      o.replayFile = v;
    } else if (a == "--replay-speed") {
      if (!value(v) || !orlimo::ParseReplaySpeed(v, o.replaySpeed)) return Fail("--replay-speed takes 1 to 16");
      speedGiven = true;
    } else {
      return Fail("unknown option " + std::string(a));
    }
  }
  if (hotGiven) o.ttffStart = o.ttffHot;
  if (speedGiven && o.replayFile.empty()) return Fail("--replay-speed needs --replay");
  if (!o.replayFile.empty()) {
    if (hzGiven) o.replayInterval = 1.0 / o.hz;
    std::string why;
    const auto capture = orlimo::ReplayStream::Open(o.replayFile, why);  // its start only
    if (!capture) {
      std::fprintf(stderr, "gpssim: cannot replay: %s\n", why.c_str());
      return 1;
    }
    // Only the capture's own pace is checked: --hz asks for another on purpose.
    const std::string note = hzGiven ? std::string() : orlimo::ReplayPaceNote(capture->Sample(), o.rate, o.replaySpeed);
    if (!note.empty()) std::fprintf(stderr, "gpssim: replay of %s: %s\n", o.replayFile.c_str(), note.c_str());
    // The capture is all there is of that receiver: answering as the personality
    // would name it wrongly (a u-blox log passed off as SiRF firmware).
    o.replayOnly = true;
  }

  // Signals are taken synchronously below; the receiver's thread inherits the mask.
  sigset_t sigs;
  sigemptyset(&sigs);
  sigaddset(&sigs, SIGINT);
  sigaddset(&sigs, SIGTERM);
  sigaddset(&sigs, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &sigs, nullptr);
  signal(SIGPIPE, SIG_IGN);

  orlimo::SimulatedReceiver sim(o);
  const std::string path = sim.Start();
  if (path.empty()) {
    std::fprintf(stderr, "gpssim: %s\n", sim.Error().c_str());
    return 1;
  }
  if (!link.empty()) {
    struct stat st{};
    if (lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(link.c_str());
    if (symlink(path.c_str(), link.c_str()) != 0) {
      std::fprintf(stderr, "gpssim: cannot link %s: %s\n", link.c_str(), std::strerror(errno));
      return 1;
    }
  }
  std::printf("%s\n", path.c_str());
  std::fflush(stdout);

  bool everOpened = false;
  int closedSeconds = 0;
  const timespec oneSecond{1, 0};
  for (;;) {
    siginfo_t info;
    if (sigtimedwait(&sigs, &info, &oneSecond) > 0) break;
    const bool open = sim.Status().hostOpen;
    everOpened = everOpened || open;
    closedSeconds = open ? 0 : closedSeconds + 1;
    if (everOpened && closedSeconds > 60) break;
  }
  sim.Stop();
  if (!link.empty()) unlink(link.c_str());
  return 0;
}
