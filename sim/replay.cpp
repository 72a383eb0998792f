#include "sim/replay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "frames/frame_scan.h"
#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "sim/capture_cutter.h"
#include "sim/replay_stream.h"

namespace orlimo {
namespace {

constexpr double kNoTime = CaptureRecord::kNoTime;
constexpr std::array<int, 5> kReplayRates = {9600, 19200, 38400, 57600, 115200};

std::uint32_t Bytes4(std::string_view b, std::size_t at, bool bigEndian) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i)
    v |= std::uint32_t{static_cast<unsigned char>(b[at + i])} << (8 * (bigEndian ? 3 - i : i));
  return v;
}

// A binary log's cycles carry no sentence: the time of week of their first UBX NAV
// solution frame (iTOW, ms) or SiRF geodetic navigation frame (TOW, ms), as a second
// of the day. Only steps between cycles count, so GPS time serves as well as UTC.
double FrameCycleTime(std::string_view cycle) {
  constexpr std::string_view kNavWithITOW{"\x02\x03\x04\x06\x07\x12\x20\x21\x35\x61", 10};
  std::size_t at = 0;
  for (TFoundFrame f; (f = FindNextFrame(cycle, at)).Protocol != TFrameProtocol::None; at = f.Offset + f.Frame.size()) {
    if (f.Protocol == TFrameProtocol::UBX && UBXClass(f.Frame) == 0x01 &&
        kNavWithITOW.find(static_cast<char>(UBXId(f.Frame))) != std::string_view::npos &&
        UBXPayload(f.Frame).size() >= 4)
      return std::fmod(Bytes4(UBXPayload(f.Frame), 0, false) / 1000.0, 86400);
    if (f.Protocol == TFrameProtocol::SiRF && SiRFMessageID(f.Frame) == 41 && SiRFPayload(f.Frame).size() >= 11)
      return std::fmod(Bytes4(SiRFPayload(f.Frame), 7, true) / 1000.0, 86400);
  }
  return kNoTime;
}

// The time of the first sentence of the cycle that carries one.
double CycleTime(std::string_view cycle) {
  for (std::size_t pos = 0; pos < cycle.size();) {
    const CaptureRecord r = NextCaptureRecord(cycle, pos);
    if (r.time != kNoTime) return r.time;
    pos += r.len;
  }
  return kNoTime;
}

// The steps between the times `timeOf` finds in the cycles.
std::vector<double> TimeSteps(const std::vector<std::string>& cycles, double (*timeOf)(std::string_view)) {
  std::vector<double> steps;
  double last = kNoTime;
  for (const std::string& c : cycles) {
    const double t = timeOf(c);
    if (t == kNoTime) continue;
    if (last != kNoTime) {
      double step = t - last;
      if (step < -43200) step += 86400;  // past midnight
      if (step > 0.0005 && step < 3600) steps.push_back(step);
    }
    last = t;
  }
  return steps;
}

std::string Seconds(double s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3g s", s);
  return buf;
}

}  // namespace

std::string StripCaptureComments(std::string_view capture) {
  std::string out;
  out.reserve(capture.size());
  CaptureCommentFilter filter;
  filter.Feed(capture, out);
  return out;
}

bool CaptureMayHoldComments(std::string_view path) {
  return !path.ends_with(".ubx") && !path.ends_with(".sirf");
}

std::vector<std::string> SplitIntoCycles(std::string_view stream) {
  bool anchored = false;
  for (std::size_t pos = 0; pos < stream.size() && !anchored;) {
    const CaptureRecord r = NextCaptureRecord(stream, pos);
    anchored = r.anchor;
    pos += r.len;
  }
  CaptureCutter cutter(anchored);
  cutter.Feed(stream);
  cutter.Finish();
  std::vector<std::string> cycles;
  while (std::optional<std::string> cycle = cutter.TakeCycle()) cycles.push_back(std::move(*cycle));
  return cycles;
}

double CaptureInterval(const std::vector<std::string>& cycles) {
  // The frames' times only where no sentence tells one: they are GPS time, not UTC.
  std::vector<double> steps = TimeSteps(cycles, CycleTime);
  if (steps.empty()) steps = TimeSteps(cycles, FrameCycleTime);
  if (steps.empty()) return 1.0;
  const auto mid = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
  std::nth_element(steps.begin(), mid, steps.end());
  // Times are stamped to the millisecond at best.
  return std::clamp(std::round(*mid * 1000) / 1000, 0.05, 5.0);
}

CaptureSample SampleOf(const std::vector<std::string>& cycles) {
  CaptureSample sample;
  for (const std::string& c : cycles) sample.cycleBytes.push_back(c.size());
  sample.interval = CaptureInterval(cycles);
  return sample;
}

std::optional<std::vector<std::string>> LoadReplay(const std::string& path) {
  std::string why;
  return LoadReplay(path, why);
}

std::optional<std::vector<std::string>> LoadReplay(const std::string& path, std::string& why) {
  const auto tooLarge = [&] {
    why = path + " is larger than " + std::to_string(kReplayFileLimit >> 20) + " MiB, too large to replay";
    return std::nullopt;
  };
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > kReplayFileLimit) return tooLarge();
  const auto stream = ReplayStream::Open(path, why);
  if (!stream) return std::nullopt;
  CapturePass pass(path, stream->Anchored());
  std::vector<std::string> cycles;
  while (std::optional<std::string> cycle = pass.Next()) {
    if (pass.BytesRead() > kReplayFileLimit) return tooLarge();  // it grew while read
    cycles.push_back(std::move(*cycle));
  }
  if (pass.Failed()) {
    why = path + " cannot be read";
    return std::nullopt;
  }
  return cycles;
}

double LineSeconds(std::size_t bytes, int rate) {
  return static_cast<double>(bytes) * 11.0 / std::max(rate, 1);
}

int ReplayRate(const CaptureSample& sample, int speed) {
  std::size_t longest = 0;
  for (std::size_t bytes : sample.cycleBytes) longest = std::max(longest, bytes);
  const double interval = sample.interval / std::max(speed, 1);
  for (int rate : kReplayRates)
    if (LineSeconds(longest, rate) <= interval) return rate;
  return kReplayRates.back();
}

std::string ReplayPaceNote(const CaptureSample& sample, int rate, int speed) {
  const double interval = sample.interval / std::max(speed, 1);
  std::size_t slow = 0, longest = 0;
  for (std::size_t bytes : sample.cycleBytes) {
    longest = std::max(longest, bytes);
    if (LineSeconds(bytes, rate) > interval) ++slow;
  }
  if (slow == 0) return {};
  std::string note = "at " + std::to_string(rate) + " bit/s " + std::to_string(slow) +
                     (sample.whole ? " of its " : " of its first ") + std::to_string(sample.cycleBytes.size()) +
                     " cycles (up to " + std::to_string(longest) + " bytes, " +
                     Seconds(LineSeconds(longest, rate)) + ") take longer to send than the " + Seconds(interval) +
                     " each may last";
  note += speed > 1 ? " at " + std::to_string(speed) + " times the speed" : std::string();
  note += ": they stretch, so that every byte goes out and the replay runs slower";
  const int fits = ReplayRate(sample, speed);
  if (fits > rate && LineSeconds(longest, fits) <= interval)
    note += " (" + std::to_string(fits) + " bit/s keeps the pace)";
  return note;
}

bool SetUpReplay(const std::string& path, int rate, int speed, SimOptions& out, std::string& error,
                 std::string& note) {
  const auto stream = ReplayStream::Open(path, error);
  if (!stream) return false;
  out.replayFile = path;
  out.replaySpeed = speed;
  out.replayOnly = true;
  out.rate = rate != 0 ? rate : ReplayRate(stream->Sample(), speed);
  note = ReplayPaceNote(stream->Sample(), out.rate, speed);
  return true;
}

}  // namespace orlimo
