#!/usr/bin/env bash
# Figures of saving a stretch: 30 s across the seam of two one-minute 1080p clips with a front and
# a rear camera, `korvane --save` against one bare ffmpeg per channel (concat demuxer, -ss/-t,
# -c copy) run one after the other, both on a warm cache (the clips indexed and read once first).
# Prints the median of 5 runs of each and their ratio (target: at most 1.5).
# Usage: bench/save_figures.sh [build folder]   (default: build)
set -euo pipefail
# shellcheck source=bench/save_setup.sh
source "$(dirname "$0")/save_setup.sh" "${1:-build}"

# Two moments of a two-camera card, one minute each, the front with its telemetry track.
make_card "$card" "$work" 60 1920x1080 30600 30660

run_korvane() { korvane_save --from 2026-05-18T08:30:45 --to 2026-05-18T08:31:15; }
run_bare() {
  for channel in F R; do
    printf "file '%s'\nfile '%s'\n" "$card/REC_2026_05_18_08_30_00_$channel.mp4" \
      "$card/REC_2026_05_18_08_31_00_$channel.mp4" > "$work/$channel.txt"
    ffmpeg -nostdin -hide_banner -loglevel error -y -f concat -safe 0 -ss 45 -i "$work/$channel.txt" \
      -t 30 -map 0 -c copy "$work/out/bare_$channel.mp4"
  done
}
median() { sort -g | sed -n 3p; }

run_korvane; run_bare  # warm: the clips indexed and in the page cache
k=$(for _ in 1 2 3 4 5; do seconds run_korvane; done | median)
b=$(for _ in 1 2 3 4 5; do seconds run_bare; done | median)
printf 'korvane --save, 30 s, 2 channels: %.3f s\n' "$k"
printf 'bare ffmpeg, one per channel:     %.3f s\n' "$b"
printf 'ratio: %.2f (target <= 1.5)\n' "$(echo "$k / $b" | bc -l)"
