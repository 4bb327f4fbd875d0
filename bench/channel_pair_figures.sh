#!/usr/bin/env bash
# Figures of two channels of one moment played at once: two 1080p30 H.264 clips (generated here)
# each in its own slave-mode player under a private Xvfb, as the program starts them (x11 video,
# one with sound, one muted), then each player's own dropped-frame count after `seconds` of play,
# printed as "name: dropped / shown (percent) (target)". One player alone first, for comparison.
# Usage: bench/channel_pair_figures.sh [build folder] [seconds]   (defaults: build, 20)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-20}
player="$build/KORVANE/MPlayer/mplayer"
[ -x "$player" ] || { echo "build the player program (target mplayer) first" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "ffmpeg is missing" >&2; exit 1; }

work_name=channels
source "$(dirname "$0")/figures_run.sh"

clip() {  # name, test source: a moving picture of a dash camera's size and rate
  ffmpeg -v error -y -f lavfi -i "$2=size=1920x1080:rate=30" \
    -t "$((seconds + 5))" -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$work/$1.mp4"
}
clip front testsrc2
clip rear smptehdbars

# Plays `names` at once for `seconds`, then prints each player's count.
play() {
  local label=$1
  shift
  local started=()
  for name in "$@"; do
    mkfifo "$work/$name.in"
    local mute=1
    [ "$name" = "$1" ] && mute=0
    DISPLAY="$display" "$player" "$work/$name.mp4" -vo x11 -ao null -slave -quiet -identify \
      -volume 40 -muteset "$mute" -sid 0 <"$work/$name.in" >"$work/$name.out" 2>&1 &
    pids+=($!)
    started+=($!)
    exec {fd}>"$work/$name.in"
    eval "fd_$name=$fd"
  done
  sleep "$seconds"
  for name in "$@"; do
    local fd_var="fd_$name"
    echo "get_dropped_frames" >&"${!fd_var}"
    echo "get_time_pos" >&"${!fd_var}"
  done
  sleep 1
  for name in "$@"; do
    local fd_var="fd_$name"
    echo "quit" >&"${!fd_var}"
    eval "exec ${!fd_var}>&-"
    local dropped shown
    dropped=$(grep -o 'ANS_DROPPED_FRAMES=[0-9]*' "$work/$name.out" | tail -1 | cut -d= -f2)
    shown=$(grep -o 'ANS_TIME_POSITION=[0-9.]*' "$work/$name.out" | tail -1 | cut -d= -f2)
    shown=$(awk -v t="${shown:-0}" 'BEGIN { printf "%d", t * 30 }')
    awk -v l="$label $name" -v d="${dropped:-?}" -v s="$shown" \
      'BEGIN { share = s ? 100 * d / s : 0; printf "%s: %s / %d (%.2f %%) (<= 1 %%)\n", l, d, s, share }'
  done
  for p in "${started[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -f "$work"/*.in "$work"/*.out
}

play "one channel" front
play "two channels" front rear
