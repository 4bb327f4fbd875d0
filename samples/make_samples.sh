#!/usr/bin/env bash
# Makes the sample dash-cam clips into the folder $1 with ffmpeg:
#   sample_drive.mp4     60 s, 640x360 25 fps, sine audio, telemetry track ("Ambarella EXT"), 600 cues
#   no_subtitles.mp4     video and audio only
#   plain_subtitles.mp4  an ordinary text subtitle track (handler "SubtitleHandler")
#   cues_5/640/641.mp4   small clips with exactly that many telemetry cues
#   long_cue.mp4         3 cues, the first one 300 bytes long
#   events_drive.mp4     60 s, 320x180, a quiet drive with hard braking (0.8 G) at 20 s, cornering
#                        (0.7 G) at 35 s and an impact (2.5 G) at 50 s
#   trip/                a card folder named as cameras name clips: 20260518_083000_F, _083020_F and
#                        _083040_F (20 s each, one trip, each a little further north), _090000_F
#                        (a trip of its own, to the east) and _091000_F (no telemetry)
#   two_tracks.mp4       two telemetry tracks of different drives (Shenzhen first, Paris second);
#                        the second's lines are in two_tracks.second.telemetry.txt
#   mixed/               a folder as a camera without a telemetry track leaves it, beside clips that
#                        have one: own_track.mp4 (10 s, its own track), sidecar_only.mp4 (20 s, no
#                        track, its GPS log sidecar_only.nmea from nmea_log.awk, faults included)
#                        and no_gps.mp4 (4 s, neither)
#   phone_log.gpx        a GPX track from another device (gpx_log.awk): a morning stretch over
#                        own_track.mp4's camera times, and a night stretch across midnight with a
#                        20 s gap
#   channels/            front/rear files of one moment under each camera family's naming, the
#                        front (test pattern) with telemetry, the rear (another pattern) without:
#                        viofo/, viofo14/, blackvue/, 70mai/Normal/{Front,Back}/, thinkware/,
#                        words/; tesla/ a four-camera moment; shorter/ a rear of 4 s beside its
#                        front of 10 s; broken/ a rear cut off after its first bytes
#   dualcard/            a two-camera card: REC_…_F (telemetry) and REC_…_R (none) of four moments,
#                        three in a row (one trip) and one 20 min later (a trip of its own)
# Beside each clip with subtitles, NAME.telemetry.txt lists its cue texts in order.
set -euo pipefail
out=${1:?output folder}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out/mixed"
work=$(mktemp -d)
mkdir -p "$work/mixed"
trap 'rm -rf "$work"' EXIT

# make_clip NAME SECONDS SIZE FPS CUES HANDLER [awk options...]
make_clip() {
  local name=$1 secs=$2 size=$3 fps=$4 cues=$5 handler=$6
  shift 6
  local srt="$work/$name.srt"
  # The picture: testsrc, or the caller's `pattern` (a rear camera looks different).
  local inputs=(-f lavfi -i "${pattern:-testsrc}=size=$size:rate=$fps:duration=$secs"
                -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$secs")
  local maps=(-map 0:v -map 1:a)
  if [ "$cues" -gt 0 ]; then
    awk -v cues="$cues" -v srt="$srt" -v txt="$out/$name.telemetry.txt" \
        -v lat0=22.5356 -v lon0=113.9393 "$@" -f "$here/telemetry_track.awk"
    inputs+=(-i "$srt")
    maps+=(-map 2:s -c:s mov_text -metadata:s:s:0 "handler_name=$handler")
  fi
  ffmpeg -nostdin -hide_banner -loglevel error -y "${inputs[@]}" "${maps[@]}" \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g "$fps" -c:a aac -b:a 64k \
    "$work/$name.mp4"
  mv "$work/$name.mp4" "$out/$name.mp4"
}

make_clip sample_drive 60 640x360 25 600 "Ambarella EXT"
make_clip no_subtitles 6 320x180 25 0 ""
make_clip plain_subtitles 6 320x180 25 60 "SubtitleHandler" -v plain=1
make_clip cues_5 0.5 160x90 10 5 "Ambarella EXT"
make_clip cues_640 64 160x90 10 640 "Ambarella EXT"
make_clip cues_641 64.1 160x90 10 641 "Ambarella EXT"
make_clip long_cue 0.3 160x90 10 3 "Ambarella EXT" -v long_first=1
make_clip events_drive 60 320x180 25 600 "Ambarella EXT" -v events=1
make_clip mixed/own_track 10 320x180 25 100 "Ambarella EXT"
make_clip mixed/sidecar_only 20 320x180 25 0 ""
awk -v seconds=20 -v out="$work/sidecar_only.nmea" -f "$here/nmea_log.awk"
mv "$work/sidecar_only.nmea" "$out/mixed/sidecar_only.nmea"
make_clip mixed/no_gps 4 320x180 25 0 ""
awk -v out="$work/phone_log.gpx" -f "$here/gpx_log.awk"
mv "$work/phone_log.gpx" "$out/phone_log.gpx"

mkdir -p "$out/trip" "$work/trip"
make_clip trip/20260518_083000_F 20 160x90 10 200 "Ambarella EXT" -v start_s=30600
make_clip trip/20260518_083020_F 20 160x90 10 200 "Ambarella EXT" -v start_s=30620 -v lat0=22.5386
make_clip trip/20260518_083040_F 20 160x90 10 200 "Ambarella EXT" -v start_s=30640 -v lat0=22.5416
make_clip trip/20260518_090000_F 20 160x90 10 200 "Ambarella EXT" -v start_s=32400 -v lon0=113.9473
make_clip trip/20260518_091000_F 3 160x90 10 0 ""

# make_pair FRONT REAR SECONDS START_S [REAR_SECONDS]: a front with telemetry, a rear without.
make_pair() {
  mkdir -p "$(dirname "$out/$1")" "$(dirname "$work/$1")" "$(dirname "$out/$2")" \
    "$(dirname "$work/$2")"
  make_clip "$1" "$3" 160x90 10 $(($3 * 10)) "Ambarella EXT" -v start_s="$4"
  pattern=smptebars make_clip "$2" "${5:-$3}" 160x90 10 0 ""
}
make_pair channels/viofo/2026_0518_083000_0001F channels/viofo/2026_0518_083000_0002R 6 30600
make_pair channels/viofo14/20260518083100_000001F channels/viofo14/20260518083100_000001R 6 30660
make_pair channels/blackvue/20260518_083200_NF channels/blackvue/20260518_083200_NR 6 30720
make_pair channels/70mai/Normal/Front/NO20260518-083300-000001F \
  channels/70mai/Normal/Back/NO20260518-083300-000002B 6 30780
make_pair channels/thinkware/REC_2026_05_18_08_34_00_F channels/thinkware/REC_2026_05_18_08_34_00_R \
  6 30840
make_pair channels/words/drive_front channels/words/drive_rear 6 30900
make_pair channels/tesla/2026-05-18_08-35-00-front channels/tesla/2026-05-18_08-35-00-back 6 30960
pattern=rgbtestsrc make_clip channels/tesla/2026-05-18_08-35-00-left_repeater 6 160x90 10 0 ""
pattern=testsrc2 make_clip channels/tesla/2026-05-18_08-35-00-right_repeater 6 160x90 10 0 ""
make_pair channels/shorter/20260518_083600_NF channels/shorter/20260518_083600_NR 10 31020 4
make_pair channels/broken/20260518_083700_NF channels/broken/20260518_083700_NR 6 31080
head -c 2000 "$out/channels/broken/20260518_083700_NR.mp4" > "$work/broken.mp4"
mv "$work/broken.mp4" "$out/channels/broken/20260518_083700_NR.mp4"
for start in 30600 30620 30640 31800; do
  stamp=$(printf '2026_05_18_%02d_%02d_%02d' $((start / 3600)) $((start / 60 % 60)) $((start % 60)))
  make_pair "dualcard/REC_${stamp}_F" "dualcard/REC_${stamp}_R" 20 "$start"
done

# Two telemetry tracks: every reader must take the first one, even though only the second is
# flagged as the default track.
awk -v cues=60 -v srt="$work/first.srt" -v txt="$out/two_tracks.telemetry.txt" \
    -v lat0=22.5356 -v lon0=113.9393 -f "$here/telemetry_track.awk"
awk -v cues=60 -v srt="$work/second.srt" -v txt="$out/two_tracks.second.telemetry.txt" \
    -v lat0=48.8566 -v lon0=2.3522 -f "$here/telemetry_track.awk"
ffmpeg -nostdin -hide_banner -loglevel error -y \
  -f lavfi -i "testsrc=size=320x180:rate=25:duration=6" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=6" \
  -i "$work/first.srt" -i "$work/second.srt" \
  -map 0:v -map 1:a -map 2:s -map 3:s -c:s mov_text \
  -metadata:s:s:0 "handler_name=Ambarella EXT" -metadata:s:s:1 "handler_name=Ambarella EXT" \
  -disposition:s:0 0 -disposition:s:1 default \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 64k "$work/two_tracks.mp4"
mv "$work/two_tracks.mp4" "$out/two_tracks.mp4"
