#!/usr/bin/env bash
# Times nmeadump and gpsdecode (gpsd's decoder, JSON out) on the same NMEA corpus, best
# of RUNS each, output to /dev/null, and prints how many times gpsdecode's throughput
# nmeadump reaches. Both wall and CPU (user + system) times are shown: on a shared
# machine the CPU time is the steadier figure.
#
# usage: bench/nmeadump/vs_gpsdecode.sh [BUILD_DIR] [CORPUS]
#   BUILD_DIR  defaults to build (nmeadump is built there, -j JOBS, default 2)
#   CORPUS     defaults to /tmp/nmeadump-corpus.nmea, made by make_corpus.sh if missing
#   RUNS       runs of each program (default 3)
#   NMEADUMP   another nmeadump to time instead (an older build, say); nothing is built
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
corpus=${2:-/tmp/nmeadump-corpus.nmea}
runs=${RUNS:-3}

if ! command -v gpsdecode >/dev/null; then
  echo "vs_gpsdecode: gpsdecode is missing (Debian: apt-get install gpsd-clients)" >&2
  exit 1
fi
[ -f "$corpus" ] || "$here/make_corpus.sh" "$corpus"
nmeadump=${NMEADUMP:-}
if [ -z "$nmeadump" ]; then
  cmake --build "$build" --target nmeadump -j "${JOBS:-2}" >/dev/null
  nmeadump=$build/tools/nmeadump/nmeadump
fi

# Best wall and best CPU seconds of $runs runs of "$@" < corpus, as "wall cpu".
best() {
  local bestWall="" bestCpu="" wall cpu t
  t=$(mktemp)
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "%e %U %S" -o "$t" "$@" <"$corpus" >/dev/null 2>/dev/null
    read -r wall user sys <"$t"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    if [ -z "$bestWall" ] || awk -v a="$wall" -v b="$bestWall" 'BEGIN { exit !(a < b) }'; then bestWall=$wall; fi
    if [ -z "$bestCpu" ] || awk -v a="$cpu" -v b="$bestCpu" 'BEGIN { exit !(a < b) }'; then bestCpu=$cpu; fi
  done
  rm -f "$t"
  echo "$bestWall $bestCpu"
}

read -r oursWall oursCpu < <(best "$nmeadump")
read -r theirsWall theirsCpu < <(best gpsdecode -j)
echo "corpus: $corpus ($(stat -c %s "$corpus") bytes), best of $runs"
echo "nmeadump:      ${oursWall} s wall, ${oursCpu} s CPU"
echo "gpsdecode -j:  ${theirsWall} s wall, ${theirsCpu} s CPU"
awk -v ow="$oursWall" -v oc="$oursCpu" -v tw="$theirsWall" -v tc="$theirsCpu" 'BEGIN {
  printf "nmeadump throughput: %.2fx gpsdecode'"'"'s (wall), %.2fx (CPU)\n", tw / ow, tc / oc }'
