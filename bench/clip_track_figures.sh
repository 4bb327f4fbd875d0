#!/usr/bin/env bash
# `korvane --info` against `exiftool -ee -n` on three-minute clips with a camera's own track
# (SigmaStar's `ssmd`, Vueroid's `mp4s`, GoPro's `gpmd`, made by the ClipTrackBytes test, which
# also prints the bytes read against the track's samples plus the `moov`; Thinkware's cues, made
# by the dashcam track benchmark): the median wall time of five runs of
# each and their ratio (target: --info at least five times faster), and the benchmark of the
# read itself. --info runs on an empty cache, so it starts the indexer program and writes the
# index each time, as a first look at a clip does.
# Usage: bench/clip_track_figures.sh [build folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
program="$build/KORVANE/korvane"
bench="$build/bench/korvane_bench_clip_track_read"
tests="$build/tests/korvane_telemetry_tests"
[ -x "$program" ] && [ -x "$bench" ] && [ -x "$tests" ] ||
  { echo "build korvane, the telemetry tests and the benchmarks first" >&2; exit 1; }
command -v exiftool >/dev/null || { echo "exiftool is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

KORVANE_TRACK_CLIPS="$work" "$tests" --gtest_filter='*ClipTrackBytes*' | grep -E 'read |OK|FAIL'
KORVANE_BENCH_CLIPS="$work" "$bench" --benchmark_counters_tabular=true
thinkware="${TMPDIR:-/tmp}/korvane-bench-thinkware/REC_2026_06_02_04_16_00_F.MP4"
"$build/bench/korvane_bench_dashcam_tracks" --benchmark_filter=Thinkware | grep -E 'Thinkware'

now_ms() { date +%s%3N; }
# The median ms of five runs of the command.
median_ms() {
  local times=() start
  for _ in 1 2 3 4 5; do
    start=$(now_ms)
    "$@" >/dev/null 2>&1
    times+=($(( $(now_ms) - start )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

# --info on a clip the index does not know yet: an empty cache each run, so the clip is read.
fresh_info() {
  rm -rf "$work/home"
  env HOME="$work/home" XDG_CACHE_HOME="$work/home/cache" "$program" --info "$1"
}

for clip in "$work"/2026_0518_113000_F.mp4 "$work"/INF_20260518_083000_F.mp4 "$work"/GX010001.MP4 \
  "$thinkware"; do
  info=$(median_ms fresh_info "$clip")
  exif=$(median_ms exiftool -ee -n "$clip")
  echo "$(basename "$clip"): $(stat -c %s "$clip") bytes; --info ${info} ms, exiftool -ee ${exif} ms," \
    "ratio $(awk -v a="$exif" -v b="$info" 'BEGIN { printf "%.1f", a / (b > 0 ? b : 1) }')"
  fresh_info "$clip" | head -5
done
