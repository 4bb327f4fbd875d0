# Sourced by the save benchmarks: make_card CARD WORK SECONDS REAR_SIZE START... writes, for each
# START (seconds of the day), a 1080p30 front clip of SECONDS with its telemetry track and a rear
# clip of REAR_SIZE, both with sound, named as the camera names them.
make_card() {
  local card=$1 work=$2 length=$3 rear=$4 here start stamp channel size
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  shift 4
  for start in "$@"; do
    stamp=$(printf '2026_05_18_%02d_%02d_%02d' $((start / 3600)) $((start / 60 % 60)) $((start % 60)))
    awk -v cues=$((length * 10)) -v srt="$work/$stamp.srt" -v txt=/dev/null -v lat0=22.5356 \
        -v lon0=113.9393 -v start_s="$start" -f "$here/samples/telemetry_track.awk"
    for channel in F R; do
      local extra=() maps=(-map 0:v -map 1:a)
      size=$rear
      if [ "$channel" = F ]; then
        size=1920x1080
        extra=(-i "$work/$stamp.srt"); maps+=(-map 2:s -c:s mov_text -metadata:s:s:0 "handler_name=Ambarella EXT")
      fi
      ffmpeg -nostdin -hide_banner -loglevel error -y \
        -f lavfi -i "testsrc2=size=$size:rate=30:duration=$length" \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$length" "${extra[@]}" "${maps[@]}" \
        -c:v libx264 -preset ultrafast -g 30 -b:v 8M -c:a aac "$card/REC_${stamp}_$channel.mp4"
    done
  done
}
