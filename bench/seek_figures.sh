#!/usr/bin/env bash
# Figures of seeking from the map, on the real program under a private Xvfb: 20 clicks with the
# real pointer (xdotool) on points of the sample clip's route, alternately playing and paused,
# printed as "name: p50 / p95 / max (target)":
#   click -> seek command written to the player (the program's record of its write)
#   click -> GPS panel, car marker and chart cursor all showing the clicked moment
# The clock starts just before xdotool is run, so xdotool's own start counts against the program.
# Usage: bench/seek_figures.sh [build folder]   (default: build)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
program="$build/KORVANE/korvane"
sample="$build/samples/sample_drive.mp4"
[ -x "$program" ] && [ -f "$sample" ] || { echo "build korvane and the samples first" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing" >&2; exit 1; }

work_name=seek
source "$(dirname "$0")/figures_run.sh"
probe="$work/probe.json"
# A number of the probe (the first match; the map's fields sit in an escaped JSON text).
field() { { grep -o "$1[0-9-]*" "$probe" 2>/dev/null || true; } | head -1 | grep -o -- '-\?[0-9]*$' || true; }
command_program() { echo "$1" > "$probe.cmd.tmp"; mv "$probe.cmd.tmp" "$probe.cmd"; }
xdo() { DISPLAY="$display" xdotool "$@"; }

mkdir -p "$work/home" "$work/runtime"; chmod 700 "$work/runtime"
env DISPLAY="$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
    XDG_CONFIG_HOME="$work/home/.config" KORVANE_TEST_PROBE="$probe" QT_QPA_PLATFORM=xcb \
    "$program" "$sample" >"$work/log" 2>&1 &
pids+=($!)

# Playing, the track complete and the page connected.
for _ in $(seq 600); do
  grep -q '"nav":\[[0-9]*,1,' "$probe" 2>/dev/null && grep -q 'channel\\":1' "$probe" && break
  sleep 0.05
done
grep -q '"nav":\[[0-9]*,1,' "$probe" || { echo "the track never became complete" >&2; exit 1; }

seek=(); shown=(); last_target=""
fractions=(0.15 0.85 0.35 0.65 0.05 0.95 0.45 0.25 0.75 0.55 0.1 0.9 0.3 0.7 0.2 0.8 0.4 0.6 0.5 0.02)
for i in "${!fractions[@]}"; do
  # Every other click is made while paused; the sample is started again whenever it has ended.
  state=$(field '"state":')
  if [ "$state" = 0 ]; then command_program "click btnPlay"; sleep 1.5; fi
  state=$(field '"state":')
  if (( i % 2 )) && [ "$state" = 3 ]; then command_program "click btnPause"; fi
  if (( i % 2 == 0 )) && [ "$state" = 4 ]; then command_program "click btnPlay"; fi
  sleep 0.3
  rm -f "$work/target"
  command_program "maptarget ${fractions[$i]}"
  target=""
  for _ in $(seq 100); do
    target=$({ grep -o '"mapTarget":\[[0-9]*,[0-9]*,[0-9]*\]' "$probe" || true; } | tr -dc '0-9,')
    [ -n "$target" ] && [ "$target" != "$last_target" ] && break
    sleep 0.02
  done
  last_target="${target:-}"
  IFS=, read -r x y t <<< "$target"
  xdo mousemove "$x" "$y"
  sleep 0.3
  t0=$(now_ms)
  xdo click 1
  done_ms=""
  # The nearest point is the page's choice (the first seconds of the drive lie within a pixel).
  for _ in $(seq 300); do
    clicked=$(field '"clickMs":')
    [ "${clicked:-0}" -ge "$t0" ] || { sleep 0.01; continue; }
    t=$(field '"click":{"t":')
    sent=$(field '"seekSentMs":'); panel=$(field '"panelMs":'); cursor=$(field '"cursorMs":')
    marker=$(field 'at\\":[0-9]*,\\"markerMs\\":')  # the page's record of this click
    if [ "${panel:-0}" != 0 ] && [ "${cursor:-0}" != 0 ] && [ "${marker:-0}" != 0 ]; then
      done_ms=$(printf '%s\n' "$panel" "$cursor" "$marker" | sort -n | tail -1)
      break
    fi
    sleep 0.01
  done
  if [ -z "$done_ms" ]; then
    echo "click $((i + 1)) at ${t} ms (${x},${y}): not shown within 3 s" >&2
    [ -n "${KORVANE_BENCH_VERBOSE:-}" ] && cat "$probe" >&2
    continue
  fi
  seek+=($((sent - t0))); shown+=($((done_ms - t0)))
  echo "click $((i + 1)) $([ $((i % 2)) = 1 ] && echo paused || echo playing) at ${t} ms: seek written $((sent - t0)) ms, shown $((done_ms - t0)) ms (panel $((panel - t0)), cursor $((cursor - t0)), marker $((marker - t0)))"
done

stats() {  # p50 / p95 / max of the arguments (nearest rank)
  printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {
    p50=v[int((NR*50+99)/100)]; p95=v[int((NR*95+99)/100)]; printf "%d / %d / %d ms (%d clicks)", p50, p95, v[NR], NR }'
}
echo "click on the route -> seek written to the player: $(stats "${seek[@]}") p50/p95/max (target p95 <= 100)"
echo "click -> panel, marker and cursor at the moment: $(stats "${shown[@]}") p50/p95/max (target p95 <= 300)"
