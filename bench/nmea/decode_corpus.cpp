// decode_corpus FILE [--read-only]: decodes every line of FILE once, for counting
// instructions under callgrind (bench/nmea/count_instructions.sh). --read-only reads
// and splits the file the same way but decodes nothing: the difference between the
// two runs is the decoder's own cost.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "nmea/decoder.h"

namespace {
// Every allocation of the program; the decoding loop must add none.
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--read-only") != 0)) {
    std::fprintf(stderr, "usage: decode_corpus FILE [--read-only]\n");
    return 2;
  }
  const bool decode = argc == 2;
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "decode_corpus: cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
  }

  orlimo::TqvNMEA nmea;
  long accepted = 0;
  const long allocationsBefore = gAllocations;
  if (decode) {
    for (const std::string& line : lines) {
      orlimo::TSentenceType type;
      accepted += nmea.DecodeSentence(line, type) ? 1 : 0;
    }
  }
  const long allocations = gAllocations - allocationsBefore;
  std::printf("sentences: %ld decoded: %ld accepted: %ld allocations: %ld\n",
              static_cast<long>(lines.size()), decode ? static_cast<long>(lines.size()) : 0L,
              accepted, allocations);
  return allocations == 0 ? 0 : 1;
}
