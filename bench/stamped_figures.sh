#!/usr/bin/env bash
# Figures of the stamped copy: 20 s across the seam of two 30 s clips, a 1080p30 front camera
# with its telemetry track and a 720p rear one as the small picture. Times `korvane --save
# --stamped` (the lossless file, then the stamped encode) and prints the stretch's length over
# that time: the speed as a ratio to real time (target: at least 1). The load average before the
# run is printed too, as the machine may be shared.
# Usage: bench/stamped_figures.sh [build folder]   (default: build)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
program="$build/KORVANE/korvane"
here=$(cd "$(dirname "$0")/.." && pwd)
[ -x "$program" ] || { echo "build korvane first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
card="$work/card"
mkdir -p "$card" "$work/home" "$work/out"
# shellcheck source=bench/two_camera_card.sh
source "$here/bench/two_camera_card.sh"

make_card "$card" "$work" 30 1280x720 30600 30630

save() {
  rm -f "$work/out/"*
  env HOME="$work/home" XDG_CACHE_HOME="$work/home/.cache" XDG_CONFIG_HOME="$work/home/.config" \
      "$program" --save "$card" --from 2026-05-18T08:30:20 --to 2026-05-18T08:30:40 "$@" \
      "$work/out/saved.mp4" 2>/dev/null
}
seconds() { local t0 t1; t0=$(date +%s.%N); "$@"; t1=$(date +%s.%N); echo "$t1 - $t0" | bc -l; }

save  # warm: the clips indexed and in the page cache
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
plain=$(seconds save)
stamped=$(seconds save --stamped)
[ -f "$work/out/saved stamped.mp4" ] || { echo "no stamped copy was written" >&2; exit 1; }
printf 'korvane --save, 20 s, 2 channels:           %.2f s\n' "$plain"
printf 'korvane --save --stamped, the same stretch: %.2f s\n' "$stamped"
printf 'stamped save speed: %.2fx real time (target >= 1)\n' "$(echo "20 / $stamped" | bc -l)"
