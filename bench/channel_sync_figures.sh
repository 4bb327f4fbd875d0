#!/usr/bin/env bash
# Figures of two channels played together by the real program under a private Xvfb, printed as
# "name: value (target)". The pair is generated here: a 1080p30 H.264 front (with a telemetry
# track, so it leads) and rear, 3 minutes, whose every frame carries its number as a row of 13
# black/white blocks (bit 12 on the left) across the middle of the picture, large enough to read
# in the small picture. The numbers of both pictures are read back from one screenshot of the
# screen, at the rectangles the window's test probe gives:
#   - 300 ms after each of 20 seeks (alternately playing and paused) and 10 frame steps: p95 and
#     max of the difference in frames;
#   - while playing, 20 screenshots over the pair: p95 and max;
#   - the program's own CPU playing the pair against the front alone (probe off, players and web
#     engine excluded, as bench/program_figures.sh measures) and their ratio;
#   - each player's own dropped-frame count, leader and follower, after the playing stretch.
# Usage: bench/channel_sync_figures.sh [build folder]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
program="$build/KORVANE/korvane"
[ -x "$program" ] || { echo "build korvane first" >&2; exit 1; }
for tool in ffmpeg import convert python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

work_name=channel-sync
source "$here/figures_run.sh"
source "$here/program_run.sh"

# --- the pair: kept in the build folder, since two 3-minute 1080p clips take a while ------------
seconds=180
bits=13
pair="$build/bench/channel_pair"
front="$pair/2026_0518_083000_0001F.mp4"
rear="$pair/2026_0518_083000_0002R.mp4"
# drawbox's timeline expression sees the frame number n: block k is white when bit k of n is set.
counter() {
  local w=$((1920 / bits)) chain="drawbox=x=0:y=440:w=1920:h=200:color=black:t=fill"
  for k in $(seq 0 $((bits - 1))); do
    chain+=",drawbox=x=$(((bits - 1 - k) * w + 8)):y=448:w=$((w - 16)):h=184:color=white:t=fill"
    chain+=":enable='mod(floor(n/$((1 << k))),2)'"
  done
  echo "$chain"
}
make_channel() {  # path, test source, extra inputs and maps for the telemetry track
  local path=$1 source=$2
  shift 2
  ffmpeg -nostdin -v error -y -f lavfi -i "$source=size=1920x1080:rate=30:duration=$seconds" "$@" \
    -vf "$(counter)" -c:v libx264 -preset ultrafast -g 30 -pix_fmt yuv420p "$path.tmp.mp4"
  mv "$path.tmp.mp4" "$path"
}
if [ ! -f "$front" ] || [ ! -f "$rear" ]; then
  mkdir -p "$pair"
  awk -v cues=$((seconds * 10)) -v srt="$work/front.srt" -v txt=/dev/null -v lat0=22.5356 \
    -v lon0=113.9393 -v start_s=30600 -f "$here/../samples/telemetry_track.awk"
  make_channel "$front" testsrc2 -i "$work/front.srt" -map 0:v -map 1:s -c:s mov_text \
    -metadata:s:s:0 "handler_name=Ambarella EXT"
  make_channel "$rear" smptehdbars
fi
mkdir -p "$work/alone"
ln "$front" "$work/alone/" 2>/dev/null || cp "$front" "$work/alone/"

# --- reading the pictures ---------------------------------------------------------------------
# The probe's pictures as lines "channel left top right bottom shown pid state".
pictures() {
  { grep -o '"pictures":\[[0-9,-]*\]' "$run_dir/probe.json" 2>/dev/null || true; } | tr -dc '0-9,-' |
    tr ',' '\n' | paste -d' ' - - - - - - - -
}
# One screenshot; prints the frame number of each picture (main first), "?" for one not readable.
read_numbers() {
  local rects
  rects=$(pictures | awk '{printf "%s,%s,%s,%s ", $2, $3, $4, $5}')
  import -display "$display" -window root "$work/shot.png"
  convert "$work/shot.png" -colorspace Gray -depth 8 "$work/shot.pgm"
  python3 - "$work/shot.pgm" "$bits" $rects <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
fields, at = [], 0
while len(fields) < 4:  # P5, width, height, maximum, each after whitespace
    while data[at:at + 1].isspace(): at += 1
    end = at
    while not data[end:end + 1].isspace(): end += 1
    fields.append(data[at:end]); at = end
width, height = int(fields[1]), int(fields[2])
pixels = data[at + 1:]
bits = int(sys.argv[2])
def grey(x, y):  # the mean of a 3x3 patch
    x = min(max(int(x), 1), width - 2); y = min(max(int(y), 1), height - 2)
    return sum(pixels[(y + j) * width + x + i] for i in (-1, 0, 1) for j in (-1, 0, 1)) / 9
out = []
for rect in sys.argv[3:]:
    left, top, right, bottom = map(int, rect.split(","))
    # The player keeps the 16:9 picture whole inside its window, bars where the shapes differ.
    w, h = right - left, bottom - top
    if w <= 0 or h <= 0: out.append("?"); continue
    if w * 9 > h * 16: left += (w - h * 16 / 9) / 2; w = h * 16 / 9
    else: top += (h - w * 9 / 16) / 2; h = w * 9 / 16
    y = top + h * 540 / 1080
    # Every block must be clearly black or white; a mixed one is a frame torn while drawn.
    values = [grey(left + w * (k + 0.5) / bits, y) for k in range(bits)]
    if any(60 < v < 195 for v in values): out.append("?"); continue
    out.append(str(int("".join("1" if v >= 128 else "0" for v in values), 2)))
print(" ".join(out))
PY
}
# Appends |main - small| of one screenshot to the array named $1; unreadable ones count as misses.
differences_misses=0
measure() {
  local -n into=$1
  local main small
  read -r main small _ <<<"$(read_numbers)"
  if [[ "$main" =~ ^[0-9]+$ && "$small" =~ ^[0-9]+$ ]]; then
    into+=($(( main > small ? main - small : small - main )))
  else
    differences_misses=$((differences_misses + 1))
  fi
}
# "p95 / max" of the numbers given.
p95_max() {
  printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {i = int(NR * 0.95 + 0.999); if (i < 1) i = 1;
    printf "%s / %s", v[i], v[NR]}'
}
state_of() { pictures | awk -v c="$1" '$1 == c {print $8}'; }
wait_state() {  # channel state: waits up to 10 s
  for _ in $(seq 200); do [ "$(state_of "$1")" = "$2" ] && return 0; sleep 0.05; done
  return 1
}

# --- sync ---------------------------------------------------------------------------------------
PROBE=1
start_program sync "$front"
for _ in $(seq 600); do
  [ "$(pictures | wc -l)" = 2 ] && [ "$(state_of 0)" = 3 ] && [ "$(state_of 1)" = 3 ] && break
  sleep 0.05
done
[ "$(pictures | wc -l)" = 2 ] || { echo "the pair never showed two pictures" >&2; exit 1; }
sleep 3

playing=()
for i in $(seq 20); do
  measure playing
  sleep 8
done
probe_command "ask dropped"
sleep 1
dropped=$({ grep -o '"droppedFrames":\[[0-9,-]*\]' "$run_dir/probe.json" || true; } | tr -dc '0-9,')
# The frames the leader has played: its time, from its start (no seek so far).
frames_played=$({ grep -o '"timePosition":[0-9.]*' "$run_dir/probe.json" || true; } | head -1 |
  awk -F: '{printf "%d", $2 * 30}')

seeks=()
targets=(20 150 60 110 5 170 80 40 130 95 15 160 50 120 30 140 70 100 10 90)
for i in "${!targets[@]}"; do
  if (( i % 2 )); then
    [ "$(state_of 0)" = 3 ] && probe_command "click btnPause" && wait_state 0 4
  else
    [ "$(state_of 0)" = 4 ] && probe_command "click btnPlay" && wait_state 0 3
  fi
  sleep 0.5
  probe_command "seek ${targets[$i]}"
  sleep 0.3
  measure seeks
done

steps=()
[ "$(state_of 0)" = 3 ] && probe_command "click btnPause" && wait_state 0 4
sleep 0.5
for i in $(seq 10); do
  probe_command "key 190"  # the frame-step key ('.')
  sleep 0.3
  measure steps
done
stop_program

echo "after a seek, 300 ms later: p95 / max $(p95_max "${seeks[@]}") frames apart (target p95 <= 1; ${#seeks[@]} read)"
echo "after a frame step, 300 ms later: p95 / max $(p95_max "${steps[@]}") frames apart (target p95 <= 1; ${#steps[@]} read)"
echo "while playing: p95 / max $(p95_max "${playing[@]}") frames apart (target max <= 2; ${#playing[@]} read)"
echo "  screenshots with a picture not readable: $differences_misses"
IFS=, read -r dropped_main dropped_small _ <<<"${dropped:-?,?}"
for pair_entry in "leader:$dropped_main" "follower:$dropped_small"; do
  name=${pair_entry%%:*} count=${pair_entry#*:}
  awk -v n="$name" -v d="$count" -v s="$frames_played" 'BEGIN {
    printf "dropped frames, two channels, %s: %s / %d (%.2f %%) (<= 1 %%)\n", n, d, s, d == d + 0 ? 100 * d / s : 0 }'
done

# --- CPU: the pair against the front alone, probe off -------------------------------------------
PROBE=""
cpu_of() {
  start_program "cpu-$1" "$2"
  sleep 8
  measure_cpu 20
  stop_program
}
cpu_of alone "$work/alone/$(basename "$front")"
one=$own_cpu
cpu_of pair "$front"
two=$own_cpu
echo "program CPU playing one channel: $one % of a core"
echo "program CPU playing two channels: $two % of a core"
echo "CPU ratio two / one channel: $(awk -v a="$two" -v b="$one" 'BEGIN{printf "%.2f", (b > 0 ? a / b : 0)}') (target <= 1.5)"
