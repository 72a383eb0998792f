// nmeadump [FILE]: decodes a log of NMEA sentences (stdin without a file) and prints
// one JSON object per accepted sentence (--gpx: a GPX track), then a summary to stderr.
#include <iostream>

#include "nmeadump/dump.h"

int main(int argc, char** argv) {
  return orlimo::RunNmeaDump(argc - 1, argv + 1, std::cin, std::cout, std::cerr);
}
