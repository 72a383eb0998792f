#!/usr/bin/env bash
# Installs the build into a temporary prefix with cmake --install and checks what a
# desktop and a user find there: the four programs, the desktop entry and the
# AppStream metainfo (valid, and naming each other, the program and the icon), the
# icon at every hicolor size, and a manual page per program that man formats
# without complaint.
#   install_tree_test.sh BUILD_DIR VERSION PROGRAM_FILE...
set -uo pipefail
build=$1 version=$2
shift 2
for file in "$@"; do
  if [ ! -x "$file" ]; then
    echo "SKIP: $file is not built; build every target first"
    exit 77
  fi
done

prefix=$(mktemp -d /tmp/orlimo-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log"; rm -f "$prefix.log"
  echo "FAIL: cmake --install"
  exit 1
fi
rm -f "$prefix.log"

failed=0
fail() { echo "FAIL: $*"; failed=1; }

for program in orlimo orlimo-console gpssim nmeadump; do
  answer=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$program" --version 2>&1) ||
    fail "$program --version exits with $?"
  [ "$answer" = "$program $version" ] || fail "$program --version says '$answer', not '$program $version'"

  page=$prefix/share/man/man1/$program.1.gz
  if [ ! -f "$page" ]; then
    fail "no manual page $page"
    continue
  fi
  title=$(zcat "$page" | grep -m1 '^\.TH')
  upper=$(tr '[:lower:]' '[:upper:]' <<<"$program")
  [[ $title =~ ^\.TH\ \"?$upper\"?\ \"?1\"?\ .*\"$program\ $version\" ]] ||
    fail "$program.1: title line '$title'"
  complaints=$(man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$complaints" ] || fail "$program.1: man says: $complaints"
done

desktop=$prefix/share/applications/orlimo.desktop
metainfo=$(ls "$prefix"/share/metainfo/*.metainfo.xml 2>/dev/null)
if [ ! -f "$desktop" ] || [ -z "$metainfo" ]; then
  fail "desktop entry or metainfo missing"
else
  complaints=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $complaints"
  complaints=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $complaints"
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$prefix/bin/$exec_program" ] || fail "Exec=$exec_program is not an installed program"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  grep -q "<launchable type=\"desktop-id\">orlimo.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch orlimo.desktop"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
  for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
    file "$png" | grep -q "PNG image data, $size x $size," || fail "icon $png: $(file -b "$png")"
  done
fi

[ "$failed" = 0 ] && echo "installed tree in order"
exit "$failed"
