#include "sim/receiver_core.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "frames/hex.h"
#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "sim/nmea_output.h"
#include "sim/replay.h"
#include "sim/sirf_binary_output.h"
#include "sim/ubx_output.h"
#include "sim/ubx_replies.h"

namespace orlimo {
namespace {

std::vector<std::string_view> SplitFields(std::string_view s) {
  const std::size_t star = s.find('*');
  if (star != std::string_view::npos) s = s.substr(0, star);
  std::vector<std::string_view> out;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t comma = s.find(',', pos);
    out.push_back(s.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
  }
  return out;
}

bool ToInt(std::string_view s, long& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && !s.empty();
}

// The NMEA message ID of a sentence of ours ("$GPGSV,..." is 3), or -1.
int UbxMessageId(std::string_view sentence) {
  constexpr std::array<std::string_view, 11> kTypes = {"GGA", "GLL", "GSA", "GSV", "RMC", "VTG",
                                                       "GRS", "GST", "ZDA", "GBS", "DTM"};
  if (sentence.size() < 6) return -1;
  for (std::size_t i = 0; i < kTypes.size(); ++i)
    if (sentence.substr(3, 3) == kTypes[i]) return static_cast<int>(i);
  return -1;
}

// The personalities that say who they are at power-on and after every restart.
bool HasStartupLines(SimPersonality p) {
  return p == SimPersonality::UBlox || p == SimPersonality::UBlox8 || p == SimPersonality::MediaTek;
}

bool FollowsUbxRates(SimPersonality p) { return p == SimPersonality::UBlox || p == SimPersonality::UBlox8; }

SimMode StartMode(SimPersonality p) {
  if (p == SimPersonality::SiRFBinary) return SimMode::SiRFBinary;
  return p == SimPersonality::Ubx ? SimMode::Ubx : SimMode::Nmea;
}

}  // namespace

ReceiverCore::ReceiverCore(const SimOptions& options, std::int64_t utcStartSeconds,
                           std::vector<std::string> replayCycles)
    : ReceiverCore(options, utcStartSeconds,
                   replayCycles.empty() ? nullptr : std::make_unique<ReplayCycles>(std::move(replayCycles))) {}

ReceiverCore::ReceiverCore(const SimOptions& options, std::int64_t utcStartSeconds,
                           std::unique_ptr<ReplaySource> replay)
    : options_(options),
      world_(options.scenario, utcStartSeconds),
      replay_(std::move(replay)),
      rng_(options.seed),
      rate_(options.rate),
      mode_(StartMode(options.personality)),
      fixAt_(std::max(options.ttffStart, 0.0)),
      bannerDue_(HasStartupLines(options.personality)),
      ubxRates_(options.ubxRates),
      ublox8_(options),
      mediaTek_(options) {
  options_.hz = std::clamp(options_.hz, 1, 10);
  if (replay_) {
    const double captured = options_.replayInterval > 0 ? options_.replayInterval : replay_->Interval();
    replayInterval_ = captured / std::clamp(options_.replaySpeed, 1, kMaxReplaySpeed);
  }
}

bool ReceiverCore::HasFix(double now) const { return !options_.scenario.noFix && now >= fixAt_; }

void ReceiverCore::Record(std::string text) {
  if (counters_.received.size() >= kSimReceivedKept) counters_.received.pop_front();
  counters_.received.push_back(text);
  counters_.lastCommand = std::move(text);
}

void ReceiverCore::Receive(std::string_view bytes, double now) {
  std::vector<HostMessage> messages;
  parser_.Feed(bytes, messages);
  counters_.rejected = parser_.Rejected();
  const bool obeys = !replay_ || !options_.replayOnly;
  for (const HostMessage& m : messages) {
    ++counters_.commands;
    if (m.kind != HostMessage::Kind::Nmea) ++counters_.framesChecked;
    Record(m.kind == HostMessage::Kind::Nmea ? m.bytes : BytesToHex(m.bytes));
    if (!obeys) continue;
    switch (m.kind) {
      case HostMessage::Kind::Nmea: HandleNmea(m.bytes, now); break;
      case HostMessage::Kind::SiRF: HandleSiRF(m.bytes, now); break;
      case HostMessage::Kind::UBX: HandleUBX(m.bytes, now); break;
    }
  }
}

void ReceiverCore::Restart(int kind, double now) {
  ++counters_.restarts;
  counters_.lastRestartKind = kind;
  fixAt_ = now + (kind == 1 ? options_.ttffHot : options_.ttffCold);
  silentUntil_ = now + options_.restartSilence;
  startedAt_ = now;
  replies_.clear();
  nextRateAfter_ = 0;  // what it acknowledged is lost; a rate change still waiting is not
  if (HasStartupLines(options_.personality)) bannerDue_ = true;
}

void ReceiverCore::Apply(SimCommandResult result, double now) {
  if (result.restartKind != 0) Restart(result.restartKind, now);
  replies_ += result.reply;
  if (result.newRate != 0) {
    nextRate_ = result.newRate;
    nextRateAfter_ = replies_.size();
  }
}

void ReceiverCore::HandleNmea(const std::string& line, double now) {
  const SimPersonality p = options_.personality;
  if (p == SimPersonality::Silent || mode_ != SimMode::Nmea) return;
  const std::vector<std::string_view> f = SplitFields(line);
  const std::string_view addr = f[0];

  if (p == SimPersonality::MediaTek) {
    Apply(mediaTek_.Handle(line), now);
    return;
  }
  if (p == SimPersonality::UBlox8) return;
  if (p == SimPersonality::UBlox) {
    // It knows none of the SiRF sentences; a sentence it does not know brings the banner.
    if (addr.substr(0, 3) != "$GP") bannerDue_ = true;
    return;
  }
  long v = 0;
  if (addr == "$PSRF101") {
    if (f.size() >= 9 && ToInt(f[8], v) && (v == 1 || v == 2 || v == 4 || v == 8)) {
      Restart(static_cast<int>(v), now);
      if (v == 8) {
        rate_ = options_.factoryRate;
        trickle_ = false;
      }
    }
  } else if (addr == "$PSRF100") {
    long proto = 0;
    if (f.size() >= 3 && ToInt(f[1], proto) && ToInt(f[2], v) && IsStandardSimRate(v) &&
        (proto == 0 || proto == 1)) {
      rate_ = static_cast<int>(v);
      if (proto == 0) mode_ = SimMode::SiRFBinary;
    }
  } else if (addr == "$PQXC" && f.size() >= 2 && f[1] == "201") {
    replies_ += NmeaLine("$PQXR,201,GSW3.2.5_3.1.00.07-ORL1.10");
  } else if (addr == "$PQXC" && f.size() >= 3 && f[1] == "200") {
    if (ToInt(f[2], v) && v == 2 && f.size() >= 5) {
      long on = 0, cycle = 0;
      if (ToInt(f[3], on) && ToInt(f[4], cycle) && on > 0 && cycle >= on) {
        trickle_ = true;
        trickleOn_ = static_cast<int>(on);
        trickleCycle_ = static_cast<int>(cycle);
      }
    } else if (v == 1) {
      trickle_ = false;
    }
    replies_ += PowerReply();
  } else if (addr == "$PQYCM" && f.size() >= 2 && f[1] == "V" && options_.tmc) {
    replies_ += NmeaLine("$PQYTQ,V,TMC-2.01");
  }
}

void ReceiverCore::HandleSiRF(std::string_view frame, double now) {
  if (options_.personality == SimPersonality::Silent || mode_ != SimMode::SiRFBinary) return;
  const std::string_view payload = SiRFPayload(frame);
  const std::uint8_t mid = SiRFMessageID(frame);
  if (mid == 0x80) {  // initialise data source: a factory default brings NMEA back
    Restart(8, now);
    mode_ = SimMode::Nmea;
    rate_ = options_.factoryRate;
  } else if (mid == 0x81) {  // switch to NMEA at the rate in the frame's last two bytes
    mode_ = SimMode::Nmea;
    if (payload.size() >= 24) {
      const long r = static_cast<unsigned char>(payload[22]) << 8 | static_cast<unsigned char>(payload[23]);
      rate_ = IsStandardSimRate(r) ? static_cast<int>(r) : 4800;
    } else {
      rate_ = 4800;
    }
  }
}

void ReceiverCore::HandleUBX(std::string_view frame, double now) {
  if (options_.personality == SimPersonality::UBlox8 || options_.personality == SimPersonality::Ubx) {
    Apply(ublox8_.Handle(frame, now, rate_, ubxRates_), now);
    return;
  }
  if (options_.personality != SimPersonality::UBlox) return;
  const std::uint8_t cls = UBXClass(frame), id = UBXId(frame);
  const std::string_view payload = UBXPayload(frame);
  if (cls == 0x06 && id == 0x01) {  // CFG-MSG
    replies_ += UbxCfgMsgReply(payload, ubxRates_);
  } else if (cls == 0x06 && id == 0x04 && payload.size() >= 4) {  // CFG-RST
    const unsigned mask = static_cast<unsigned char>(payload[0]) | static_cast<unsigned char>(payload[1]) << 8;
    Restart(mask == 0 ? 1 : 4, now);
  } else if (cls == 0x06 && id == 0x09 && payload.size() >= 12) {  // CFG-CFG
    const bool clear = payload[0] != 0 || payload[1] != 0 || payload[2] != 0 || payload[3] != 0;
    if (clear) ubxRates_ = options_.ubxRates;
    replies_ += UbxAck(cls, id, true);
  }
}

std::string ReceiverCore::PowerReply() const {
  // Normal mode has exactly three commas; trickle power gives on time and cycle as fields 5, 6.
  if (!trickle_) return NmeaLine("$PQXR,200,1,0");
  return NmeaLine("$PQXR,200,1,2," + std::to_string(trickleOn_) + "," + std::to_string(trickleCycle_) +
                  ",300000,30000");
}

std::string ReceiverCore::StartupLines() const {
  if (options_.personality == SimPersonality::UBlox8) return UBlox8Personality::Banner();
  if (options_.personality == SimPersonality::MediaTek) return MediaTekPersonality::StartupLines();
  return NmeaLine("$GPTXT,01,01,02,u-blox ag - www.u-blox.com") +
         NmeaLine("$GPTXT,01,01,02,HW  ANTARIS ATR0620 HW 00040001") +
         NmeaLine("$GPTXT,01,01,02,ROM CORE 5.00    Jan 09 2006 11:00:00") +
         NmeaLine("$GPTXT,01,01,02,FW  5.00 Jan 09 2006 11:00:00");
}

std::string ReceiverCore::Damage(const std::string& sentence) {
  std::uniform_int_distribution<int> pick(0, 99);
  const int roll = pick(rng_);
  std::string s = sentence;
  if (roll < 10 && s.size() > 8) {  // a checksum error: one character changed
    std::uniform_int_distribution<std::size_t> at(1, s.size() - 6);
    s[at(rng_)] ^= 0x01;
  } else if (roll < 18 && s.size() > 8) {  // a cut line: its tail and line end lost
    std::uniform_int_distribution<std::size_t> at(3, s.size() - 3);
    s.resize(at(rng_));
  }
  if (pick(rng_) < 12) {  // stray binary bytes before it
    std::uniform_int_distribution<int> len(1, 8), byte(0, 255);
    std::string junk;
    for (int n = len(rng_); n > 0; --n) junk.push_back(static_cast<char>(byte(rng_)));
    s = junk + s;
  }
  return s;
}

std::string ReceiverCore::CycleOutput(double now) {
  const SimSnapshot snap = world_.At(now, HasFix(now));
  std::string out;
  if (mode_ == SimMode::SiRFBinary) {
    for (const std::string& f : SiRFBinaryCycle(snap, now)) out += f;
    return out;
  }
  if (mode_ == SimMode::Ubx) {
    const SimUbxRun run{now - startedAt_, HasFix(now) ? fixAt_ - startedAt_ : 0};
    for (const std::string& f : UbxNavCycle(snap, run)) out += f;
    return out;
  }
  if (bannerDue_) {
    out += StartupLines();
    bannerDue_ = false;
  }
  if (FollowsUbxRates(options_.personality)) {
    // Each message every N-th solution, as its rate says; counters_.cycles numbers them.
    for (const std::string& s : NmeaCycle(snap, ubxRates_[8] != 0)) {
      const int id = UbxMessageId(s);
      const int every = id < 0 ? 1 : ubxRates_[static_cast<std::size_t>(id)];
      if (every != 0 && counters_.cycles % every == 0) out += s;
    }
    return out;
  }
  const bool noisy = options_.personality == SimPersonality::Noisy;
  for (const std::string& s : NmeaCycle(snap, options_.zda)) out += noisy ? Damage(s) : s;
  return out;
}

std::string ReceiverCore::Due(double now) {
  if (options_.personality == SimPersonality::Silent) return {};
  // A rate change waits for the replies before it (none when a restart lost them).
  if (nextRate_ != 0 && (nextRateAfter_ == 0 || now >= silentUntil_)) {
    std::string out = replies_.substr(0, nextRateAfter_);
    replies_.erase(0, nextRateAfter_);
    rate_ = nextRate_;
    nextRate_ = 0;
    nextRateAfter_ = 0;
    return out;
  }
  if (now < silentUntil_) return {};
  std::string out = std::move(replies_);
  replies_.clear();
  if (replay_) return out + ReplayDue(now);
  // Cycle k is due at k / hz seconds: counted, never summed, so that tenths do not drift
  // (ten additions of 0.1 are not 1.0).
  const double due = static_cast<double>(nextCycle_) / options_.hz;
  if (now >= due) {
    out += CycleOutput(due);  // stamped with the cycle's own time, not the wake-up's
    ++counters_.cycles;
    ++nextCycle_;
    // Fell behind: skip the cycles already past, keeping their cadence.
    nextCycle_ = std::max(nextCycle_, static_cast<std::int64_t>(std::floor(now * options_.hz)) + 1);
  }
  return out;
}

double ReceiverCore::NextDue() const {
  if (options_.personality == SimPersonality::Silent) return std::numeric_limits<double>::infinity();
  if (nextRate_ != 0 && nextRateAfter_ == 0) return 0;  // the change is made at once
  const double cycle = !replay_ ? static_cast<double>(nextCycle_) / options_.hz : replayDue_;
  return std::max(silentUntil_, replies_.empty() ? cycle : 0.0);
}

std::string ReceiverCore::ReplayDue(double now) {
  if (now < replayDue_) return {};
  // More than a cycle late (a stalled thread): the cadence starts again from now, no burst.
  if (now - replayDue_ > replayInterval_) replayDue_ = now;
  std::string cycle = replay_->Next();  // a streamed capture reads on here
  ++counters_.cycles;
  // Every byte goes out: a cycle longer than the line carries in time delays the next.
  replayDue_ += std::max(replayInterval_, LineSeconds(cycle.size(), rate_));
  return cycle;
}

}  // namespace orlimo
