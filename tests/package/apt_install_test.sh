#!/usr/bin/env bash
# The package as a Debian user meets it: installed by apt-get, `korvane --info` and the window run
# from /usr/bin (a screenshot of the window kept in the work folder), the menu entry's Exec leads to
# the program, a run as root leaves the program folder's files as they were, and removing and
# purging leave no file of the package while the user's Documents/KORVANE and cache stay.
# Changes the machine, so it runs only as root with apt-get and the built package there, and only
# when no korvane package is installed already; the package is removed again however the test ends.
# Usage: apt_install_test.sh BUILD VERSION [WORK]   (WORK keeps the screenshot; default a temp folder)
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
deb="$build/package/korvane_${version}_amd64.deb"
clip="$build/samples/sample_drive.mp4"
skip() {
  echo "SKIP: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "installing the package needs root"
for tool in apt-get dpkg dpkg-query Xvfb xwininfo import; do
  command -v "$tool" >/dev/null 2>&1 || skip "no $tool"
done
[ -f "$deb" ] || skip "no $deb (bash scripts/korvane.sh package builds it)"
[ -f "$clip" ] || skip "no sample clip $clip"
if dpkg-query -W -f='${Status}' korvane 2>/dev/null | grep -q 'installed'; then
  skip "a korvane package is installed already; it is left alone"
fi

keep_work=${3:-}
work=${keep_work:-$(mktemp -d)}
mkdir -p "$work"
pids=()
installed_by_us=0
apt() { apt-get -o DPkg::Lock::Timeout=300 -y -q "$@"; }
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ "$installed_by_us" = 1 ] && dpkg-query -W korvane >/dev/null 2>&1; then
    apt purge korvane >/dev/null 2>&1 || echo "WARNING: korvane could not be purged" >&2
  fi
  [ -n "$keep_work" ] || rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

installed_by_us=1
apt install "$deb" >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  echo "FAIL: apt-get install" >&2
  exit 1
}
# The package's own files (its folders are shared with other packages, as /usr/bin).
dpkg -L korvane | while read -r path; do
  if [ -f "$path" ] || [ -L "$path" ]; then echo "$path"; fi
done >"$work/package-files"
[ -s "$work/package-files" ] || fail "dpkg -L korvane lists no file"
grep -qx /usr/lib/korvane/korvane "$work/package-files" || fail "no /usr/lib/korvane/korvane"

# The program folder's files, kinds and sizes, to compare after the runs as root.
folder_list() { (cd /usr/lib/korvane && find . -printf '%P %y %s\n' | sort); }
folder_list >"$work/folder-before"

home="$work/home"
mkdir -p "$home"
as_user() {
  env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home" "$@"
}
info=$(as_user /usr/bin/korvane --info "$clip" 2>&1) || fail "korvane --info exited $?: $info"
grep -qE '^ *fixes: +[1-9]' <<<"$info" || fail "korvane --info read no fix: $info"

# The window from /usr/bin on a private display, for a few seconds, then a screenshot.
source "$(dirname "${BASH_SOURCE[0]}")/../../bench/private_display.sh"
as_user env DISPLAY="$display" /usr/bin/korvane "$clip" >"$work/window.log" 2>&1 &
window=$!
pids+=("$window")
shown=0
for _ in $(seq 150); do
  if DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -q '"KORVANE'; then
    shown=1
    break
  fi
  kill -0 "$window" 2>/dev/null || break
  sleep 0.1
done
[ "$shown" = 1 ] || fail "no KORVANE window: $(cat "$work/window.log")"
sleep 4  # the clip starts playing and the map fills in
DISPLAY="$display" import -window root "$work/window.png" || fail "screenshot"
kill -0 "$window" 2>/dev/null || fail "the window ended by itself: $(cat "$work/window.log")"
kill "$window" 2>/dev/null || true
wait "$window" 2>/dev/null || true

# The menu entry's Exec: its program, quoted or not, is an executable that leads to ours.
desktop=/usr/share/applications/korvane.desktop
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -1)
program=$(sed -E 's/^"([^"]*)".*/\1/; t; s/ .*//' <<<"$exec_line")
[ -x "$(command -v "$program" || true)" ] || fail "menu Exec does not resolve: $exec_line"
[ "$(readlink -f "$(command -v "$program")")" = /usr/lib/korvane/korvane ] ||
  fail "menu Exec leads elsewhere: $exec_line"

folder_list >"$work/folder-after"
changed=$(diff "$work/folder-before" "$work/folder-after" || true)
[ -z "$changed" ] || fail "a run as root changed the program folder: $changed"

[ -d "$home/Documents/KORVANE" ] || fail "the run made no Documents/KORVANE"
[ -d "$home/.cache" ] && [ -n "$(ls -A "$home/.cache")" ] || fail "the run left no cache"
(cd "$home" && find . | sort) >"$work/home-before"

apt remove korvane >"$work/remove.log" 2>&1 || fail "apt-get remove: $(cat "$work/remove.log")"
apt purge korvane >>"$work/remove.log" 2>&1 || fail "apt-get purge: $(cat "$work/remove.log")"
dpkg-query -W korvane >/dev/null 2>&1 && fail "dpkg still knows korvane after the purge"
left=$(while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then echo "$path"; fi
done <"$work/package-files")
[ -z "$left" ] || fail "left after removal: $left"
[ -e /usr/lib/korvane ] && fail "/usr/lib/korvane is still there"
(cd "$home" && find . | sort) >"$work/home-after"
cmp -s "$work/home-before" "$work/home-after" || fail "the removal touched the user's files"

[ "$failed" = 0 ] && echo "ok: installed, ran from /usr/bin ($(wc -l <"$work/package-files") files)," \
  "removed without a trace; screenshot $work/window.png"
exit $failed
