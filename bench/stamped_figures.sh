#!/usr/bin/env bash
# Figures of the stamped copy: 20 s across the seam of two 30 s clips, a 1080p30 front camera
# with its telemetry track and a 720p rear one as the small picture. Times `korvane --save
# --stamped` (the lossless file, then the stamped encode) and prints the stretch's length over
# that time: the speed as a ratio to real time (target: at least 1). The load average before the
# run is printed too, as the machine may be shared.
# Usage: bench/stamped_figures.sh [build folder]   (default: build)
set -euo pipefail
# shellcheck source=bench/save_setup.sh
source "$(dirname "$0")/save_setup.sh" "${1:-build}"

make_card "$card" "$work" 30 1280x720 30600 30630

save() { korvane_save --from 2026-05-18T08:30:20 --to 2026-05-18T08:30:40 "$@"; }

save  # warm: the clips indexed and in the page cache
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
plain=$(seconds save)
stamped=$(seconds save --stamped)
[ -f "$work/out/saved stamped.mp4" ] || { echo "no stamped copy was written" >&2; exit 1; }
printf 'korvane --save, 20 s, 2 channels:           %.2f s\n' "$plain"
printf 'korvane --save --stamped, the same stretch: %.2f s\n' "$stamped"
printf 'stamped save speed: %.2fx real time (target >= 1)\n' "$(echo "20 / $stamped" | bc -l)"
