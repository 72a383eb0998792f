#include "nmeadump/dump.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frames/sirf_decoder.h"
#include "frames/ubx_decoder.h"
#include "frames/ubx_names.h"
#include "measure/gpx.h"
#include "nmea/decoder.h"
#include "nmea/sentence.h"
#include "nmeadump/frame_json.h"
#include "nmeadump/input_splitter.h"
#include "nmeadump/sentence_json.h"
#include "orlimo_version.h"

namespace orlimo {
namespace {

constexpr std::string_view kUsage =
    "usage: nmeadump [--gpx] [FILE]  (or --version)\n"
    "Decodes NMEA sentences (one per line; a trailing CR is dropped) from FILE or\n"
    "standard input and prints one JSON object per accepted sentence. A line's\n"
    "sentence starts at its last '$', as the program reads a line. A summary of\n"
    "lines read, accepted and rejected (lines starting with '#' are counted as\n"
    "comments), per type, goes to standard error. UBX and SiRF binary frames among\n"
    "the lines print one JSON object each and are counted per message.\n"
    "  --gpx  print a GPX 1.1 track instead: one point per output cycle with a valid fix\n";

// Big writes: a log of tens of megabytes is written a block at a time rather than a
// line or a member at a time.
constexpr std::size_t kBlockSize = 1 << 20;

// Output gathered into blocks: each line is written in place, then the block goes out
// in one write when the next line might not fit.
class BlockWriter {
 public:
  explicit BlockWriter(std::ostream& out) : out_(out), buffer_(kBlockSize) {}
  ~BlockWriter() { Flush(); }

  // Room for `size` bytes at the end of what is gathered.
  char* Room(std::size_t size) {
    if (buffer_.size() - used_ < size) {
      Flush();
      if (buffer_.size() < size) buffer_.resize(size);
    }
    return buffer_.data() + used_;
  }
  void Wrote(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
    used_ = 0;
  }

 private:
  std::ostream& out_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};

}  // namespace

int RunNmeaDump(int argc, const char* const* args, std::istream& in, std::ostream& out,
                std::ostream& err) {
  bool gpx = false;
  const char* path = nullptr;  // none: standard input
  for (int i = 0; i < argc; ++i) {
    const std::string_view a = args[i];
    if (a == "--help" || a == "-h") {
      out << kUsage;
      return 0;
    }
    if (a == "--version") {
      out << "nmeadump " << kProgramVersion << '\n';
      return 0;
    }
    if (a == "--gpx") {
      gpx = true;
    } else if (a.size() > 1 && a.front() == '-') {  // "-" alone is a file name
      err << "nmeadump: unknown option " << a << " (--help lists them)\n";
      return 2;
    } else if (path != nullptr) {
      err << kUsage;
      return 2;
    } else {
      path = args[i];
    }
  }
  std::ifstream file;
  if (path != nullptr) {
    file.open(path, std::ios::binary);
    if (!file) {
      err << "nmeadump: cannot open " << path << ": " << std::strerror(errno) << '\n';
      return 1;
    }
  }
  std::istream& source = path != nullptr ? static_cast<std::istream&>(file) : in;
  std::optional<TGpxWriter> track;
  TEpochAssembler epochs;
  if (gpx) track.emplace(out, std::string("nmeadump ") + kProgramVersion);

  TqvNMEA nmea;
  long read = 0, accepted = 0, comments = 0;
  std::array<long, kSentenceTypeCount> perType{};
  // The binary decoders keep a record of every message: too big for the stack.
  const auto ubx = std::make_unique<TUBXDecoder>();
  const auto sirf = std::make_unique<TSiRFDecoder>();
  long frames = 0;
  std::map<std::string, long, std::less<>> perMessage;
  TInputSplitter input(source);
  std::optional<BlockWriter> json;
  if (!track) json.emplace(out);
  TInputPiece piece;
  while (input.Next(piece)) {
    if (piece.Frame.Protocol != TFrameProtocol::None) {
      ++frames;
      std::string record;
      if (piece.Frame.Protocol == TFrameProtocol::UBX) {
        const TUBXDecoded d = ubx->Decode(piece.Frame.Frame);
        ++perMessage[std::string(UBXMessageKey(d.Class, d.Id).View())];
        if (json) record = UBXFrameJson(*ubx, d);
      } else {
        const TSiRFDecoded d = sirf->Decode(piece.Frame.Frame);
        ++perMessage[std::string(SiRFMessageKey(d.Id).View())];
        if (json) record = SiRFFrameJson(*sirf, d);
      }
      if (json) {
        char* end = json->Room(record.size() + 1);
        end = std::copy(record.begin(), record.end(), end);
        *end++ = '\n';
        json->Wrote(end);
      }
      continue;
    }
    std::string_view line = piece.Text;
    ++read;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '#') {
      ++comments;
      continue;
    }
    const std::size_t start = SentenceStart(line);
    if (start == std::string_view::npos) continue;
    const std::string_view sentence = line.substr(start);
    TSentenceType type;
    if (!nmea.DecodeSentence(sentence, type)) continue;
    ++accepted;
    ++perType[type];
    if (json) {
      char* end = WriteSentenceJson(json->Room(SentenceJsonRoom(sentence) + 1), nmea, type, sentence);
      *end++ = '\n';
      json->Wrote(end);
    } else if (const auto fix = epochs.Add(type, sentence, nmea)) {
      track->Add(TrackPointOf(*fix));
    }
  }
  if (track) {
    if (const auto fix = epochs.Flush()) track->Add(TrackPointOf(*fix));
    track->Finish();
  }
  json.reset();
  out.flush();
  err << "lines read: " << read << ", accepted: " << accepted
      << ", rejected: " << read - accepted - comments;
  if (comments > 0) err << ", comments: " << comments;
  if (frames > 0) err << ", binary frames: " << frames;
  err << '\n';
  for (int t = 0; t < kSentenceTypeCount; ++t) {
    if (perType[t] > 0) err << "  " << SentenceTags[t] << ": " << perType[t] << '\n';
  }
  for (const auto& [key, count] : perMessage) err << "  " << key << ": " << count << '\n';
  return 0;
}

}  // namespace orlimo
