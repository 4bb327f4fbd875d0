#!/usr/bin/env bash
# Runs one fuzz target for SECONDS (default 600) from the "fuzz" preset's build folder:
#   fuzz/run.sh telemetry_parser|coord_transform|nmea_sentence|gpx_track|camera_logs|reply_handler|slave_command [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
name=${1:?target name}
seconds=${2:-600}
bin="$here/../build-fuzz/fuzz/fuzz_$name"
work=$(mktemp -d)
corpus="$work/corpus"
mkdir -p "$corpus"
[ -d "$here/corpus/$name" ] && cp "$here/corpus/$name"/* "$corpus"/
dict=()
[ -f "$here/$name.dict" ] && dict=(-dict="$here/$name.dict")
cd "$work"
echo "work folder (corpus, crash artifacts, log): $work"
status=0
"$bin" "${dict[@]}" -max_total_time="$seconds" -max_len=1024 -jobs=1 -print_final_stats=1 \
  "$corpus" || status=$?
# With -jobs the fuzzer's own output goes to fuzz-0.log.
tail -n 40 fuzz-0.log
exit "$status"
