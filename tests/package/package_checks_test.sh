#!/usr/bin/env bash
# The Debian package as a user's system would judge it: lintian without errors, the AppStream
# metadata and the desktop entry valid, the manual page rendering without warnings, and every file
# of the build's program folder in /usr/lib/korvane. Builds the package when the build has none;
# skips (77) where the tools are missing.
set -euo pipefail
build=$1
version=$2
deb="$build/package/korvane_${version}_amd64.deb"
missing=()
for tool in dpkg-deb lintian appstreamcli desktop-file-validate man cpack; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIP: the package checks need ${missing[*]} (bash scripts/korvane.sh test installs them)"
  exit 77
fi
[ -f "$deb" ] || (cd "$build" && cpack -G DEB >/dev/null)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

lintian_out=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)
[ -n "$lintian_out" ] && echo "$lintian_out"
if grep -q '^E:' <<<"$lintian_out"; then fail "lintian reports errors"; fi

dpkg -x "$deb" "$scratch/root"
root="$scratch/root"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "${metainfo[@]}" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "${metainfo[@]}" || fail "metainfo lacks release $version"
desktop="$root/usr/share/applications/korvane.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec="/usr/bin/korvane" %F' "$desktop" || fail "desktop Exec: $(grep ^Exec "$desktop")"
grep -qx 'MimeType=video/mp4;video/quicktime;video/mp2t;video/vnd.dlna.mpeg-tts;' "$desktop" ||
  fail "desktop MimeType"
page="$root/usr/share/man/man1/korvane.1.gz"
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q 'Shift+Left' || fail "man page lacks the keys"
[ "$(readlink "$root/usr/bin/korvane")" = ../lib/korvane/korvane ] || fail "/usr/bin/korvane link"
# The stripped programs run from the unpacked tree, through the link, with their run path.
"$root/usr/bin/korvane" --version | grep -qx "korvane $version" || fail "korvane --version"
"$root/usr/lib/korvane/korvane-indexer" --help >/dev/null 2>&1 || [ $? -ne 127 ] ||
  fail "korvane-indexer does not start"
"$root/usr/lib/korvane/korvane-window" --version | grep -qx "korvane $version" ||
  fail "korvane-window --version"
# The command runs --info and --export without the toolkit: its libraries alone cost more than
# a first look at a clip.
! readelf -d "$root/usr/lib/korvane/korvane" | grep -q 'NEEDED.*libQt' ||
  fail "korvane links the toolkit"
for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
  [ -s "$root/usr/share/icons/hicolor/$size/apps/korvane.png" ] || fail "no $size icon"
done

# Every file and link of the build's program folder, at the same place under /usr/lib/korvane.
(cd "$build/KORVANE" && find . \( -type f -o -type l \) | sort) >"$scratch/built"
(cd "$root/usr/lib/korvane" && find . \( -type f -o -type l \) | sort) >"$scratch/packaged"
absent=$(comm -23 "$scratch/built" "$scratch/packaged")
[ -z "$absent" ] || fail "missing from the package: $absent"
exit $failed
