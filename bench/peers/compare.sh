#!/usr/bin/env bash
# The window and the console beside gpsd and its clients, on the same feeds, side by
# side in one run: each program reads its own simulated receiver (or the same capture
# replayed) on its own pty, and the CPU time each uses over the counted stretch is
# compared twice: as ticks (user + system, from /proc/PID/stat) and as the scheduler's
# run time (/proc/PID/task/*/schedstat). gpsd is counted together with its client.
#
# usage: bench/peers/compare.sh [BUILD_DIR]
#   STRETCH  the counted seconds of a round (default 60)
#   ROUNDS   rounds per feed (default 3); the ratios are of the sums
#   WARMUP   seconds before counting (default 8)
#   FEEDS    which feeds, of: 9600x1 115200x10 capture (default all three)
#   CAPTURE  the multi-constellation capture to replay (default the shared
#            ublox-zed-f9p-nmea.log beside the project)
# Needs gpsd and gpsd-clients (installed when missing, as root) and Xvfb.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
seconds=${STRETCH:-60}
rounds=${ROUNDS:-3}
warmup=${WARMUP:-8}
feeds=${FEEDS:-"9600x1 115200x10 capture"}
capture=${CAPTURE:-$root/../shared/testdata/receiver-logs/ublox-zed-f9p-nmea.log}

need=()
command -v gpsd >/dev/null || need+=(gpsd)
command -v cgps >/dev/null || need+=(gpsd-clients)
command -v Xvfb >/dev/null || need+=(xvfb)
if [ ${#need[@]} -gt 0 ]; then
  echo "compare: installing ${need[*]}" >&2
  sudo=; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get install -y --no-install-recommends "${need[@]}" >/dev/null
fi
cmake --build "$build" --target orlimo orlimo-console gpssim -j "${JOBS:-2}" >/dev/null

tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do [ "$p" -gt 0 ] && kill "$p" 2>/dev/null || true; done
  pkill -f "gpsd -N -n -b -S 2947[5-9]" 2>/dev/null || true
  sleep 0.5
  rm -rf "$tmp"
}
trap cleanup EXIT

# CPU ticks (user + system) of a process and the threads it has.
ticks() { [ "$1" -gt 0 ] && awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
# Run time in microseconds, the scheduler's own count summed over the live threads.
# Ticks are sampled 100 times a second and charge a process that runs briefly and often
# by chance; this is exact (a thread that ended in between is missed, which favours the
# peers: gpsd, cgps and gpspipe run one thread).
runtime() {
  [ "$1" -gt 0 ] || { echo 0; return; }
  cat "/proc/$1/task/"*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d\n", s / 1000}'
}

mkfifo "$tmp/never"
exec 7<>"$tmp/never"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1

# One simulated receiver for a feed; prints its port.
start_sim() {
  local feed=$1 out=$tmp/sim.$RANDOM
  case $feed in
    9600x1) "$build/sim/gpssim" --rate 9600 --hz 1 >"$out" 2>/dev/null & ;;
    115200x10) "$build/sim/gpssim" --rate 115200 --hz 10 >"$out" 2>/dev/null & ;;
    capture) "$build/sim/gpssim" --rate 115200 --replay "$capture" >"$out" 2>/dev/null & ;;
  esac
  pids+=($!)
  for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
  head -1 "$out"
}
rate_of() { case $1 in 9600x1) echo 9600 ;; *) echo 115200 ;; esac; }

# The pid of the newest process whose command line matches.
pid_of() { pgrep -n -f "$1" || echo 0; }

round() {
  local feed=$1 rate
  rate=$(rate_of "$feed")
  local pw pc p1 p2 p3
  pw=$(start_sim "$feed"); pc=$(start_sim "$feed")
  p1=$(start_sim "$feed"); p2=$(start_sim "$feed"); p3=$(start_sim "$feed")
  mkdir -p "$tmp/w" "$tmp/c"
  DISPLAY=$display "$build/src/app/orlimo" --data-dir "$tmp/w" --port "$pw" --baud "$rate" --connect >/dev/null 2>&1 &
  pids+=($!); local window=$!
  "$build/tools/orlimo-console/orlimo-console" --data-dir "$tmp/c" --port "$pc" --baud "$rate" --connect >/dev/null 2>&1 &
  pids+=($!); local console=$!
  local i=0 port
  for p in "$p1" "$p2" "$p3"; do
    port=$((29475 + i)); i=$((i + 1))
    gpsd -N -n -b -S "$port" "$p" >/dev/null 2>&1 &
    pids+=($!)
  done
  sleep 1
  DISPLAY=$display xgps localhost:29475 >/dev/null 2>&1 &
  pids+=($!); local xgps=$!
  # cgps wants a terminal: script gives it one, and an input that never ends (script
  # stops at the end of its input): a pipe this shell holds open.
  script -qfc "cgps localhost:29476" /dev/null <"$tmp/never" >/dev/null 2>&1 &
  pids+=($!)
  gpspipe -r localhost:29477 >/dev/null 2>&1 &
  pids+=($!); local gpspipe=$!
  sleep "$warmup"
  local cgps g1 g2 g3
  cgps=$(pid_of "^cgps localhost.29476")  # it rewrites its arguments
  g1=$(pid_of "gpsd -N -n -b -S 29475"); g2=$(pid_of "gpsd -N -n -b -S 29476"); g3=$(pid_of "gpsd -N -n -b -S 29477")
  local all=("$window" "$console" "$g1" "$xgps" "$g2" "$cgps" "$g3" "$gpspipe")
  local before=() after=() beforeUs=() afterUs=()
  for p in "${all[@]}"; do before+=("$(ticks "$p")"); beforeUs+=("$(runtime "$p")"); done
  sleep "$seconds"
  for p in "${all[@]}"; do after+=("$(ticks "$p")"); afterUs+=("$(runtime "$p")"); done
  for k in "${!all[@]}"; do
    used[$k]=$(( ${used[$k]:-0} + after[k] - before[k] ))
    usedUs[$k]=$(( ${usedUs[$k]:-0} + afterUs[k] - beforeUs[k] ))
  done
  for p in "${all[@]}"; do [ "$p" -gt 0 ] && kill "$p" 2>/dev/null || true; done
  pkill -f "gpsd -N -n -b -S 2947[5-9]" 2>/dev/null || true
  sleep 1
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "n/a" }'; }

echo "compare: $(date -u +%Y-%m-%d) on $(nproc) cores of $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)"
echo "compare: $rounds round(s) of $seconds s per feed; CPU ticks (1/$(getconf CLK_TCK) s)"
for feed in $feeds; do
  if [ "$feed" = capture ] && [ ! -f "$capture" ]; then
    echo "$feed: skipped, no capture at $capture"
    continue
  fi
  declare -a used=() usedUs=()
  for _ in $(seq "$rounds"); do round "$feed"; done
  w=${used[0]} c=${used[1]}
  xg=$(( used[2] + used[3] )) cg=$(( used[4] + used[5] )) gp=$(( used[6] + used[7] ))
  echo "$feed: window $w, console $c, gpsd+xgps $xg, gpsd+cgps $cg, gpsd+gpspipe $gp ticks"
  echo "$feed: window/(gpsd+xgps) $(ratio "$w" "$xg")  window/(gpsd+cgps) $(ratio "$w" "$cg")  console/(gpsd+gpspipe -r) $(ratio "$c" "$gp")"
  w=${usedUs[0]} c=${usedUs[1]}
  xg=$(( usedUs[2] + usedUs[3] )) cg=$(( usedUs[4] + usedUs[5] )) gp=$(( usedUs[6] + usedUs[7] ))
  echo "$feed: run time in ms: window $((w / 1000)), console $((c / 1000)), gpsd+xgps $((xg / 1000)), gpsd+cgps $((cg / 1000)), gpsd+gpspipe $((gp / 1000))"
  echo "$feed: by run time: window/(gpsd+xgps) $(ratio "$w" "$xg")  window/(gpsd+cgps) $(ratio "$w" "$cg")  console/(gpsd+gpspipe -r) $(ratio "$c" "$gp")"
  unset used usedUs
done
