#!/usr/bin/env bash
# Makes a large NMEA corpus for timing nmeadump: the sentence lines ('$' first) of the
# shared receiver captures, concatenated in name order and repeated until the corpus
# reaches SIZE_MB (cut at a line end). The same captures always give the same bytes.
# The corpus is scratch data: write it outside the work tree (/tmp), never commit it.
#
# usage: bench/nmeadump/make_corpus.sh OUT [SIZE_MB] [LOGS_DIR]
#   SIZE_MB   defaults to 50 (megabytes of 10^6 bytes)
#   LOGS_DIR  defaults to ../shared/testdata/receiver-logs beside the work tree
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:?usage: make_corpus.sh OUT [SIZE_MB] [LOGS_DIR]}
sizeMb=${2:-50}
logs=${3:-$root/../shared/testdata/receiver-logs}

shopt -s nullglob
captures=("$logs"/*.log)
if [ ${#captures[@]} -eq 0 ]; then
  echo "make_corpus: no *.log captures in $logs" >&2
  exit 1
fi

pass=$(mktemp)
trap 'rm -f "$pass"' EXIT
# The captures are read in place; binary ones contribute only their '$' lines.
LC_ALL=C grep -ah '^\$' "${captures[@]}" >"$pass" || true
passBytes=$(stat -c %s "$pass")
if [ "$passBytes" -eq 0 ]; then
  echo "make_corpus: the captures in $logs hold no sentence lines" >&2
  exit 1
fi

# Whole lines only: the first one that no longer fits ends the corpus.
LC_ALL=C awk -v limit=$((sizeMb * 1000000)) '
  { line[NR] = $0 }
  END {
    for (;;) for (i = 1; i <= NR; i++) {
      n += length(line[i]) + 1
      if (n > limit) exit
      print line[i]
    }
  }' "$pass" >"$out"
echo "make_corpus: $out: $(stat -c %s "$out") bytes, $(wc -l <"$out") lines from ${#captures[@]} captures"
