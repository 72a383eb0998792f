#include "sim/replay_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace orlimo {

ReplayCycles::ReplayCycles(std::vector<std::string> cycles)
    : cycles_(std::move(cycles)), interval_(CaptureInterval(cycles_)) {}

std::string ReplayCycles::Next() {
  if (cycles_.empty()) return {};
  const std::string& cycle = cycles_[next_];
  next_ = (next_ + 1) % cycles_.size();
  return cycle;
}

CapturePass::CapturePass(const std::string& path, bool anchored)
    : in_(path, std::ios::binary), comments_(CaptureMayHoldComments(path)), cutter_(anchored) {
  opened_ = static_cast<bool>(in_);
  ended_ = !opened_;
  failed_ = !opened_;
}

std::optional<std::string> CapturePass::Next() {
  for (;;) {
    if (auto cycle = cutter_.TakeCycle()) return cycle;
    if (ended_) return std::nullopt;
    piece_.resize(ReplayStream::kPieceBytes);
    in_.read(piece_.data(), static_cast<std::streamsize>(piece_.size()));
    piece_.resize(static_cast<std::size_t>(in_.gcount()));
    bytesRead_ += piece_.size();
    if (!piece_.empty()) {
      data_.clear();
      if (comments_) filter_.Feed(piece_, data_);
      cutter_.Feed(comments_ ? std::string_view(data_) : std::string_view(piece_));
    } else {
      failed_ = in_.bad();
      ended_ = true;
      filter_.Finish();
      cutter_.Finish();
    }
    mostHeld_ = std::max(mostHeld_, cutter_.Held() + filter_.Held() + piece_.capacity() + data_.capacity());
  }
}

ReplayStream::ReplayStream(std::string path, bool anchored, CaptureSample sample)
    : path_(std::move(path)),
      anchored_(anchored),
      sample_(std::move(sample)),
      pass_(std::make_unique<CapturePass>(path_, anchored_)) {}

std::unique_ptr<ReplayStream> ReplayStream::Open(const std::string& path, std::string& why) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (!fs::exists(st)) {
    why = path + " does not exist";
    return nullptr;
  }
  if (fs::is_directory(st)) {
    why = path + " is a folder, not a capture";
    return nullptr;
  }
  if (!fs::is_regular_file(st)) {
    why = path + " is not a file";  // a FIFO or a device could block or never end
    return nullptr;
  }

  // Does it hold data, and anchors? Read until both are seen: the first lines of a
  // capture, unless it has neither.
  CapturePass scan(path, false);
  if (!scan.Opened()) {
    why = path + " cannot be read: " + std::strerror(errno);
    return nullptr;
  }
  while ((!scan.Cutter().SawChecked() || !scan.Cutter().SawAnchor()) && scan.Next()) {
  }
  if (scan.Failed()) {
    why = path + " cannot be read";
    return nullptr;
  }
  if (scan.BytesRead() == 0) {
    why = path + " is empty";
    return nullptr;
  }
  if (!scan.Cutter().SawChecked()) {
    why = path + " holds no NMEA sentence and no SiRF or UBX frame with a correct checksum";
    return nullptr;
  }
  const bool anchored = scan.Cutter().SawAnchor();

  // The pace, from the first cycles.
  CapturePass first(path, anchored);
  std::vector<std::string> cycles;
  std::size_t bytes = 0;
  CaptureSample sample;
  sample.whole = false;
  while (bytes < kSampleBytes && cycles.size() < kSampleCycles) {
    std::optional<std::string> cycle = first.Next();
    if (!cycle) {
      sample.whole = true;
      break;
    }
    bytes += cycle->size();
    sample.cycleBytes.push_back(cycle->size());
    cycles.push_back(std::move(*cycle));
  }
  sample.interval = CaptureInterval(cycles);
  return std::unique_ptr<ReplayStream>(new ReplayStream(path, anchored, std::move(sample)));
}

std::string ReplayStream::Next() {
  // At the end, once from the start again: a capture emptied meanwhile yields nothing.
  for (int round = 0; round < 2; ++round) {
    if (std::optional<std::string> cycle = pass_->Next()) return std::move(*cycle);
    mostHeld_ = std::max(mostHeld_, pass_->MostHeld());
    pass_.reset();  // its buffers go before the next pass takes its own
    pass_ = std::make_unique<CapturePass>(path_, anchored_);
  }
  return {};
}

}  // namespace orlimo
