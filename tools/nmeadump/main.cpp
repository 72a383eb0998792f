// nmeadump [FILE]: decodes a log of NMEA sentences (stdin without a file) and prints
// one JSON object per accepted sentence, then a summary to stderr.
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "nmea/decoder.h"
#include "nmeadump/sentence_json.h"

int main(int argc, char** argv) {
  using namespace orlimo;
  if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
    std::fprintf(stderr,
                 "usage: nmeadump [FILE]\n"
                 "Decodes NMEA sentences (one per line; a trailing CR is dropped) from FILE or\n"
                 "standard input and prints one JSON object per accepted sentence. A summary\n"
                 "of lines read, accepted and rejected, per type, goes to standard error.\n");
    return argc > 2 ? 2 : 0;
  }
  std::ifstream file;
  if (argc == 2) {
    file.open(argv[1], std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "nmeadump: cannot open %s: %s\n", argv[1], std::strerror(errno));
      return 1;
    }
  }
  std::istream& in = argc == 2 ? static_cast<std::istream&>(file) : std::cin;

  TqvNMEA nmea;
  long read = 0, accepted = 0;
  std::array<long, kSentenceTypeCount> perType{};
  std::string line;
  while (std::getline(in, line)) {
    ++read;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    TSentenceType type;
    if (!nmea.DecodeSentence(line, type)) continue;
    ++accepted;
    ++perType[type];
    std::cout << SentenceToJson(nmea, type, line) << '\n';
  }
  std::cout.flush();
  std::fprintf(stderr, "lines read: %ld, accepted: %ld, rejected: %ld\n", read, accepted,
               read - accepted);
  for (int t = 0; t < kSentenceTypeCount; ++t) {
    if (perType[t] > 0)
      std::fprintf(stderr, "  %s: %ld\n", std::string(SentenceTags[t]).c_str(), perType[t]);
  }
  return 0;
}
