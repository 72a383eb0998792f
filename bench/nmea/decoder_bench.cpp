// Decoding a realistic 1 Hz stream: RMC, GGA, GSA, three GSV, VTG, GLL.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "nmea/decoder.h"

namespace {

const std::vector<std::string> kSecond = {
    "$GPRMC,023441.000,A,3730.2492,N,12702.8663,E,22.12,251.43,200406,,,A*5B",
    "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D",
    "$GPGSA,A,3,04,02,17,10,24,23,13,,,,,,2.2,1.2,1.9*3D",
    "$GPGSV,3,1,10,04,65,054,42,02,60,325,26,13,40,063,35,10,36,245,40*78",
    "$GPGSV,3,2,10,24,31,087,30,17,25,155,34,05,14,276,21,23,13,039,24*79",
    "$GPGSV,3,3,10,30,09,305,16,27,02,115,*71",
    "$GPVTG,251.43,T,,M,22.12,N,40.97,K,A*35",
    "$GPGLL,3730.2492,N,12702.8663,E,023441.000,A,A*5E",
};

void BM_DecodeOneSecond(benchmark::State& state) {
  orlimo::TqvNMEA nmea;
  std::size_t bytes = 0;
  for (const auto& s : kSecond) bytes += s.size() + 2;
  for (auto _ : state) {
    for (const auto& s : kSecond) {
      orlimo::TSentenceType type;
      benchmark::DoNotOptimize(nmea.DecodeSentence(s, type));
    }
    benchmark::ClobberMemory();
  }
  state.counters["sentences/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kSecond.size()), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_DecodeOneSecond);

}  // namespace

BENCHMARK_MAIN();
