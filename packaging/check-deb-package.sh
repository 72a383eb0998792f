#!/usr/bin/env bash
# Installs the Debian package on this machine, runs its programs as a user would,
# purges it and checks that nothing of it is left behind: none of its files, and
# nothing its programs wrote beside themselves (run as root they could). The
# programs run with HOME in a temporary folder, where their settings must land, so
# the user's own files do not count. Needs root or sudo; the package is purged
# again whatever happens.
#   check-deb-package.sh PACKAGE.deb
set -euo pipefail

deb=$(realpath "$1")
name=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
as_root() { "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive "$@"; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

if installed "$name"; then
  echo "check-deb-package: $name is installed already; remove it first" >&2
  exit 1
fi

home=$(mktemp -d /tmp/orlimo-home-XXXXXX)
cleanup() {
  if installed "$name"; then as_root apt-get purge -y -qq "$name" >/dev/null || true; fi
  rm -rf "$home"
}
trap cleanup EXIT

# The package's folders, and what lies in them before it comes: anything new there
# after the purge was left by the package or written by its programs.
mapfile -t folders < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -n 's|^\./\(..*\)/$|/\1|p')
folder_entries() {
  for folder in "${folders[@]}"; do
    if [ -d "$folder" ]; then find "$folder" -mindepth 1 -maxdepth 1; fi
  done | sort
}
# Caches that the desktop's triggers rebuild when any package comes or goes.
caches='/(icon-theme\.cache|mimeinfo\.cache|desktop\.cache)$'
before=$(folder_entries)
existed=$(for folder in "${folders[@]}"; do [ -d "$folder" ] && echo "$folder"; done || true)

echo "-- installing $(basename "$deb")"
as_root apt-get install -y -qq "$deb" >/dev/null

failed=0
fail() { echo "FAIL: $*"; failed=1; }
# As a user would start them: from the menu's PATH, in their home.
run() { (cd "$home" && env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" PATH=/usr/bin:/bin "$@"); }

answer=$(run orlimo --version 2>&1) || fail "orlimo --version exits with $?"
[ "$answer" = "orlimo $version" ] || fail "orlimo --version says '$answer', not 'orlimo $version'"

echo "-- orlimo-console --simulate sirf --seconds 5"
run orlimo-console --simulate sirf --seconds 5 >"$home/console.txt" 2>&1 ||
  fail "orlimo-console exits with $?: $(tail -n 5 "$home/console.txt")"
[ -f "$home/.config/orlimo/orlimo-console.ini" ] || fail "orlimo-console kept no settings in ~/.config/orlimo/"

# A picture run writes no settings; the check after the purge finds any file it
# put beside itself.
echo "-- orlimo --simulate sirf under Xvfb"
shot=$home/orlimo.png
run xvfb-run -a orlimo --simulate sirf --screenshot "$shot" --after 3 >"$home/orlimo.txt" 2>&1 ||
  fail "orlimo exits with $?: $(tail -n 5 "$home/orlimo.txt")"
file "$shot" | grep -q 'PNG image data' || fail "no screenshot: $(file -b "$shot")"

mapfile -t owned < <(dpkg-query -L "$name")
echo "-- purging $name"
as_root apt-get purge -y -qq "$name" >/dev/null
status=$(dpkg-query -W -f='${Status}' "$name" 2>/dev/null || true)
case "$status" in
  "" | *" not-installed") ;;
  *) fail "dpkg still has $name: $status" ;;
esac

for path in "${owned[@]}"; do
  [ -n "$path" ] && [ "$path" != "/." ] || continue
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    grep -qxF "$path" <<<"$existed" || fail "folder left behind: $path"
  elif [ -e "$path" ] || [ -L "$path" ]; then
    fail "file left behind: $path"
  fi
done
new=$(comm -13 <(echo "$before") <(folder_entries) | grep -Ev "$caches" || true)
[ -z "$new" ] || fail "left in the package's folders: $new"

if [ "$failed" = 0 ]; then echo "-- $name $version installed, ran and left nothing behind"; fi
exit "$failed"
