#!/usr/bin/env bash
# Whole-program figures under a private Xvfb, printed as "name: value (target)":
#   start to main window mapped against a bare Qt window of the same size (five pairs, run
#   alternately, and their ratio), start to map page loaded, the program's own CPU while playing
#   (player and extractor excluded), and a soak of 50 playlist switches through next/prev with
#   the resident memory growth and what is left running afterwards.
# Usage: bench/program_figures.sh [build folder] [startup]   (default: build; "startup" measures
#        the start-up pairs only)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
program="$build/KORVANE/korvane"
sample="$build/samples/sample_drive.mp4"
[ -x "$program" ] && [ -f "$sample" ] || { echo "build korvane and the samples first" >&2; exit 1; }

work_name=figures
source "$(dirname "$0")/figures_run.sh"
source "$(dirname "$0")/program_run.sh"
children_of() { { pgrep -P "$1" -f "$2" || true; } | wc -l; }

# --- start-up: five pairs, a bare Qt window and KORVANE alternately, medians and their ratio --
bare="$build/bench/korvane_bare_window"
[ -x "$bare" ] || { echo "build korvane_bare_window (the benchmarks) first" >&2; exit 1; }
# Waits until a top-level window whose name starts with $1 is mapped; prints ms since $2.
wait_mapped() {
  for _ in $(seq 4000); do
    xwininfo -display "$display" -root -tree 2>/dev/null | grep -q "\"$1" && break
    sleep 0.005
  done
  echo $(( $(now_ms) - $2 ))
}
shown=(); bare_shown=(); page=()
for i in 1 2 3 4 5; do
  t0=$(now_ms)
  env DISPLAY="$display" "$bare" >/dev/null 2>&1 &
  bare_pid=$!; pids+=("$bare_pid")
  bare_shown+=($(wait_mapped bare-window "$t0"))
  kill "$bare_pid"; wait "$bare_pid" 2>/dev/null || true

  PROBE=1
  t0=$(now_ms)
  start_program "start$i"
  shown+=($(wait_mapped KORVANE "$t0"))
  for _ in $(seq 400); do
    ready=$(probe_value "$run_dir/probe.json" pageReadyMs); [ -n "$ready" ] && [ "$ready" != 0 ] && break
    sleep 0.025
  done
  page+=($(( ready - t0 )))
  stop_program
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
m_shown=$(median "${shown[@]}"); m_bare=$(median "${bare_shown[@]}")
echo "start to main window mapped: $m_shown ms (runs ${shown[*]})"
echo "start to bare Qt window mapped: $m_bare ms (runs ${bare_shown[*]})"
echo "start-up ratio KORVANE / bare window: $(awk -v a="$m_shown" -v b="$m_bare" 'BEGIN{printf "%.2f", a/b}') (target <= 1.5)"
echo "start to map page loaded: $(median "${page[@]}") ms (target <= 1500; runs ${page[*]})"

[ "${2:-}" = startup ] && exit 0

# --- CPU while playing, probe off -------------------------------------------------------------
PROBE=""
start_program cpu "$sample"
sleep 6
measure_cpu 20
echo "program CPU while playing: $own_cpu % of a core (target <= 2; player and ffmpeg excluded)"
echo "  with its web-engine helper processes: $web_cpu % of a core"
stop_program

# --- soak: 50 switches through next/prev ------------------------------------------------------
PROBE=1
mkdir -p "$work/clips"
cp "$sample" "$work/clips/a.mp4"; cp "$sample" "$work/clips/b.mp4"
start_program soak "$work/clips/a.mp4"
sleep 6
rss() { awk '/VmRSS/{print $2}' "/proc/$run_pid/status"; }
rss0=$(rss)
for i in $(seq 50); do
  if (( i % 2 )); then echo "click btnNext" > "$run_dir/probe.json.cmd"; else echo "click btnPrev" > "$run_dir/probe.json.cmd"; fi
  sleep 2.1  # the switch guard is 2 s
done
sleep 3
rss1=$(rss)
players=$(children_of "$run_pid" MPlayer/mplayer); extractors=$(children_of "$run_pid" FFMpeg/ffmpeg)
state=$(probe_value "$run_dir/probe.json" state)
echo "soak 50 switches: RSS ${rss0} kB -> ${rss1} kB, growth $(( (rss1 - rss0) / 1024 )) MB (target <= 5); playing state $state; players running $players, extractors running $extractors"
stop_program
left_players=$({ pgrep -f "$work/clips" || true; } | wc -l)
left_socket=$(ls "$run_dir/runtime" | grep -c DVRFFMpegPipe || true)
echo "after closing: processes on the clips $left_players, extraction socket files $left_socket (target 0 and 0)"
