#!/usr/bin/env bash
# Instructions of the window's thread per second, counted by callgrind while the
# program is connected to the simulated receiver, its window shown on a virtual
# display, over a stretch after a warm-up. The session works through what arrived once
# a second, so the count is given per pass too; over a minute the two agree within a
# few per cent, and unlike a time they come out nearly the same on a busy machine.
#
# usage: bench/app/count_window_instructions.sh [BUILD_DIR] [SECONDS]
#   BUILD_DIR  defaults to build (configured RelWithDebInfo when it does not exist)
#   SECONDS    the counted stretch, default 60
#   RATE, HZ   the receiver's rate and output cycles a second (default 115200 and 10)
#   WARMUP     seconds before counting (default 25: start-up under callgrind is slow)
#   JOBS       parallel build jobs (default 2)
#   KEEP       when set, the callgrind files are kept (callgrind_annotate reads them)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
seconds=${2:-60}
rate=${RATE:-115200}
hz=${HZ:-10}
warmup=${WARMUP:-25}

for tool in valgrind callgrind_control callgrind_annotate xvfb-run; do
  if ! command -v "$tool" >/dev/null; then
    echo "count_window_instructions: $tool is missing (apt install valgrind xvfb)" >&2
    exit 1
  fi
done
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target orlimo gpssim -j "${JOBS:-2}" >/dev/null

tmp=$(mktemp -d)
sim=
cleanup() {
  if [ -f "$tmp/valgrind.pid" ]; then
    local p
    p=$(cat "$tmp/valgrind.pid")
    kill "$p" 2>/dev/null || true
    # It writes its last counts as it ends.
    for _ in $(seq 100); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
  fi
  [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
  if [ -n "${KEEP:-}" ]; then echo "counts kept in $tmp"; else rm -rf "$tmp"; fi
}
trap cleanup EXIT

"$build/sim/gpssim" --rate "$rate" --hz "$hz" >"$tmp/sim.out" 2>&1 &
sim=$!
for _ in $(seq 50); do [ -s "$tmp/sim.out" ] && break; sleep 0.1; done
port=$(head -n 1 "$tmp/sim.out")
if [ -z "$port" ]; then
  echo "count_window_instructions: the simulated receiver did not start" >&2
  exit 1
fi

# One output file per thread; the window's thread is the first.
xvfb-run -a sh -c 'valgrind --tool=callgrind --separate-threads=yes --callgrind-out-file="$1/callgrind.out.%p" \
    "$2" --port "$3" --baud "$4" --connect --data-dir "$1" >"$1/orlimo.log" 2>&1 & echo $! >"$1/valgrind.pid"; wait' \
  sh "$tmp" "$build/src/app/orlimo" "$port" "$rate" &
for _ in $(seq 50); do [ -s "$tmp/valgrind.pid" ] && break; sleep 0.1; done
pid=$(cat "$tmp/valgrind.pid")

sleep "$warmup"
callgrind_control -z "$pid" >/dev/null 2>&1
start=$(date +%s.%N)
sleep "$seconds"
callgrind_control -d "$pid" >/dev/null 2>&1
end=$(date +%s.%N)

# The first dump (part 1) of the first thread.
dump=$tmp/callgrind.out.$pid.1-01
if [ ! -f "$dump" ]; then
  echo "count_window_instructions: no count was written; the program said:" >&2
  tail -n 20 "$tmp/orlimo.log" >&2
  exit 1
fi
instructions=$(awk '/^totals:/ { print $2; exit }' "$dump")
# Calls of the one-second pass: the count on the line of its caller. Read away from the
# sources, which callgrind_annotate would otherwise take paths from.
passes=$(cd "$tmp" && callgrind_annotate --tree=caller --inclusive=yes "$dump" 2>/dev/null |
  grep -B1 '\*  .*Supervisor::Tm1sTimer() \[' | head -n 1 | sed -n 's/.*(\([0-9,]*\)x).*/\1/p' | tr -d ,)

buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")
echo "receiver: $rate bit/s, $hz Hz; ${buildType:-RelWithDebInfo} build in $build"
awk -v i="$instructions" -v s="$start" -v e="$end" -v p="${passes:-0}" 'BEGIN {
  printf "window thread: %d instructions in %.1f s", i, e - s
  if (p > 0) printf ", %d passes: %.0f per pass (per second of data)", p, i / p
  printf ", %.0f per second of wall time\n", i / (e - s)
}'
