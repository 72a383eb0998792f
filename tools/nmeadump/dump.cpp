#include "nmeadump/dump.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <iostream>
#include <string>
#include <string_view>

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
  std::string line;
  while (std::getline(source, line)) {
    ++read;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '#') {
      ++comments;
      continue;
    }
    const std::size_t start = SentenceStart(line);
    if (start == std::string::npos) continue;
    const std::string_view sentence = std::string_view(line).substr(start);
    TSentenceType type;
    if (!nmea.DecodeSentence(sentence, type)) continue;
    ++accepted;
    ++perType[type];
    if (!track) {
      out << SentenceToJson(nmea, type, sentence) << '\n';
    } else if (const auto fix = epochs.Add(type, sentence, nmea)) {
      track->Add(TrackPointOf(*fix));
    }
  }
  if (track) {
    if (const auto fix = epochs.Flush()) track->Add(TrackPointOf(*fix));
    track->Finish();
  }
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
