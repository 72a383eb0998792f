#include "nmeadump/dump.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "measure/gpx.h"
#include "nmea/decoder.h"
#include "nmea/sentence.h"
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
    "comments), per type, goes to standard error.\n"
    "  --gpx  print a GPX 1.1 track instead: one point per output cycle with a valid fix\n";

// Big reads and writes: a log of tens of megabytes is read and written a block at a
// time rather than a line or a member at a time.
constexpr std::size_t kBlockSize = 1 << 20;

// The lines of a stream, cut at each '\n' as std::getline cuts them: a last line
// without one still counts, an empty one after the last '\n' does not.
class LineReader {
 public:
  explicit LineReader(std::istream& in) : in_(in), buffer_(kBlockSize) {}

  bool Next(std::string_view& line) {
    for (;;) {
      const char* begin = buffer_.data() + begin_;
      if (const void* nl = std::memchr(begin, '\n', end_ - begin_)) {
        const auto length = static_cast<std::size_t>(static_cast<const char*>(nl) - begin);
        line = {begin, length};
        begin_ += length + 1;
        return true;
      }
      if (!Fill()) break;
    }
    if (begin_ == end_) return false;
    line = {buffer_.data() + begin_, end_ - begin_};
    begin_ = end_;
    return true;
  }

 private:
  // Keeps the unfinished line and reads after it; false at the end of the stream.
  bool Fill() {
    if (eof_) return false;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (buffer_.size() - end_ < kBlockSize / 2) buffer_.resize(buffer_.size() * 2);  // a long line
    in_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
    const auto got = static_cast<std::size_t>(in_.gcount());
    end_ += got;
    eof_ = got == 0;
    return !eof_;
  }

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0, end_ = 0;
  bool eof_ = false;
};

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
  if (argc == 1 && (std::strcmp(args[0], "--help") == 0 || std::strcmp(args[0], "-h") == 0)) {
    out << kUsage;
    return 0;
  }
  if (argc == 1 && std::strcmp(args[0], "--version") == 0) {
    out << "nmeadump " << kProgramVersion << '\n';
    return 0;
  }
  const bool gpx = argc >= 1 && std::strcmp(args[0], "--gpx") == 0;
  if (gpx) {
    --argc;
    ++args;
  }
  if (argc > 1) {
    err << kUsage;
    return 2;
  }
  std::ifstream file;
  if (argc == 1) {
    file.open(args[0], std::ios::binary);
    if (!file) {
      err << "nmeadump: cannot open " << args[0] << ": " << std::strerror(errno) << '\n';
      return 1;
    }
  }
  std::istream& source = argc == 1 ? static_cast<std::istream&>(file) : in;
  std::optional<TGpxWriter> track;
  TEpochAssembler epochs;
  if (gpx) track.emplace(out, std::string("nmeadump ") + kProgramVersion);

  TqvNMEA nmea;
  long read = 0, accepted = 0, comments = 0;
  std::array<long, kSentenceTypeCount> perType{};
  LineReader lines(source);
  std::optional<BlockWriter> json;
  if (!track) json.emplace(out);
  std::string_view line;
  while (lines.Next(line)) {
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
  err << '\n';
  for (int t = 0; t < kSentenceTypeCount; ++t) {
    if (perType[t] > 0) err << "  " << SentenceTags[t] << ": " << perType[t] << '\n';
  }
  return 0;
}

}  // namespace orlimo
