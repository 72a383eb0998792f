#!/usr/bin/env bash
# Instructions per sentence of the decoder (TqvNMEA::DecodeSentence, validity test
# included), counted by callgrind on a fixed minute of a 1 Hz receiver: RMC, GGA, GSA,
# three GSV and VTG each second. Counts, unlike times, repeat exactly on a busy machine.
#
# usage: bench/nmea/count_instructions.sh [BUILD_DIR] [CORPUS]
#   BUILD_DIR  defaults to build (configured RelWithDebInfo when it does not exist)
#   CORPUS     defaults to bench/nmea/one-minute-1hz.nmea
#   JOBS       parallel build jobs (default 2)
#
# The figure is (the driver's count decoding the corpus - its count only reading it)
# divided by the number of sentences, so reading the file and start-up drop out.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
corpus=${2:-$here/one-minute-1hz.nmea}

if ! command -v valgrind >/dev/null; then
  echo "count_instructions: valgrind is missing (scripts/setup-deps installs it)" >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target decode_corpus -j "${JOBS:-2}" >/dev/null
driver=$build/bench/nmea/decode_corpus
buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Total instructions of one run of the driver; its own report goes to $tmp/report.
# Symbols are bound at start-up, so the first call of a library function while
# decoding does not charge the dynamic linker's lookup to the decoder.
count() {
  if ! LD_BIND_NOW=1 valgrind --tool=callgrind --callgrind-out-file="$tmp/callgrind.out" \
      "$driver" "$corpus" "$@" >"$tmp/report" 2>"$tmp/valgrind.log"; then
    cat "$tmp/report" "$tmp/valgrind.log" >&2
    echo "count_instructions: the driver failed (an allocation while decoding?)" >&2
    exit 1
  fi
  awk '/^(summary|totals):/ { print $2; exit }' "$tmp/callgrind.out"
}

readOnly=$(count --read-only)
decoding=$(count)
report=$(cat "$tmp/report")
sentences=$(sed -n 's/^sentences: \([0-9]*\).*/\1/p' "$tmp/report")
if [ -z "$sentences" ] || [ "$sentences" -eq 0 ]; then
  echo "count_instructions: no sentences in $corpus" >&2
  exit 1
fi

echo "corpus: $corpus ($buildType build in $build)"
echo "driver: $report"
echo "instructions: $decoding decoding, $readOnly reading only"
awk -v d="$decoding" -v r="$readOnly" -v n="$sentences" \
  'BEGIN { printf "instructions per sentence: %.0f\n", (d - r) / n }'
