#!/usr/bin/env bash
# `cmake --install --prefix DIR` into a fresh prefix, with a DESTDIR as packagers use: the desktop
# entry's Exec names DIR (never the configure-time prefix, never the DESTDIR), DIR/bin/korvane
# leads to the program, and the program folder is DIR/KORVANE.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$scratch/prefix with space"
cmake --install "$build" --prefix "$prefix" >/dev/null
exec_line=$(grep '^Exec=' "$prefix/share/applications/korvane.desktop")
[ "$exec_line" = "Exec=\"$prefix/bin/korvane\" %F" ] || fail "prefix install: $exec_line"
[ "$(readlink -f "$prefix/bin/korvane")" = "$(readlink -f "$prefix/KORVANE/korvane")" ] ||
  fail "bin/korvane does not lead to the program"
# The program found through the link runs from its folder.
"$prefix/bin/korvane" --version | grep -q '^korvane ' || fail "bin/korvane --version"

DESTDIR="$scratch/stage" cmake --install "$build" --prefix /opt/kv >/dev/null
exec_line=$(grep '^Exec=' "$scratch/stage/opt/kv/share/applications/korvane.desktop")
[ "$exec_line" = 'Exec="/opt/kv/bin/korvane" %F' ] || fail "DESTDIR install: $exec_line"
[ -x "$scratch/stage/opt/kv/KORVANE/MPlayer/mplayer" ] || fail "DESTDIR install: no player"
echo "ok: Exec names the install prefix"
