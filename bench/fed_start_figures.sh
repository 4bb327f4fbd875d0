#!/usr/bin/env bash
# A clip that plays from a GPS log beside it and that the index does not know, beside the same
# video that carries its own telemetry track, started alternately (five pairs, each with an
# empty cache, so the index knows neither): from the start to the whole route on the map and the
# GPS panel following, medians of both and their difference (target: the fed clip at most
# 150 ms behind). The fed clip is the sample drive without its subtitle stream (ffmpeg, streams
# copied) with a 10 Hz log of the same length from samples/nmea_log.awk.
# Usage: bench/fed_start_figures.sh [build folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
program="$build/KORVANE/korvane"
own="$build/samples/sample_drive.mp4"
[ -x "$program" ] && [ -f "$own" ] || { echo "build korvane and the samples first" >&2; exit 1; }

work_name=fed-start
source "$(dirname "$0")/figures_run.sh"

seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$own" | cut -d. -f1)
fed="$work/fed drive.mp4"
ffmpeg -v error -i "$own" -map 0:v -map 0:a? -c copy -sn "$fed"
awk -v seconds="$seconds" -v out="$work/fed drive.nmea" -f "$(dirname "$0")/../samples/nmea_log.awk"
fed_points=$(( seconds * 10 - 12 ))  # the log's moments without a fix or an RMC (nmea_log.awk)

# The route's points the map page holds now, from the probe's copy of its state.
map_points() { { grep -o 'points\\":[0-9]*' "$1" 2>/dev/null || true; } | head -1 | grep -o '[0-9]*$'; }

# Starts the program on $2 in an empty home and prints the ms until the map holds $3 points and
# the panel has a fix ($3 empty: waits 20 s and prints the points the map then holds).
time_to_route() {
  local dir="$work/$1" start
  rm -rf "$dir"; mkdir -p "$dir/home" "$dir/runtime"; chmod 700 "$dir/runtime"
  start=$(now_ms)
  env DISPLAY="$display" HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" \
      KORVANE_TEST_PROBE="$dir/probe.json" "$program" "$2" >"$dir/log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  local shown=""
  if [ -z "$3" ]; then
    sleep 20
    shown=$(map_points "$dir/probe.json")
  else
    for _ in $(seq 3000); do
      if [ "$(map_points "$dir/probe.json")" = "$3" ] &&
         grep -q '"gpsValid":1' "$dir/probe.json" 2>/dev/null; then
        shown=$(( $(now_ms) - start )); break
      fi
      sleep 0.01
    done
  fi
  echo "close window" > "$dir/probe.json.cmd"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
  echo "${shown:-timeout}"
}

own_points=$(time_to_route calibrate "$own" "")
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
own_ms=(); fed_ms=()
for i in 1 2 3 4 5; do
  own_ms+=("$(time_to_route own "$own" "$own_points")")
  fed_ms+=("$(time_to_route fed "$fed" "$fed_points")")
done
own_median=$(printf '%s\n' "${own_ms[@]}" | median)
fed_median=$(printf '%s\n' "${fed_ms[@]}" | median)
echo "own track, start to whole route and panel: ${own_ms[*]} ms (median $own_median)"
echo "GPS log the index did not know:            ${fed_ms[*]} ms (median $fed_median)"
echo "fed minus own: $(( fed_median - own_median )) ms (target <= 150)"
