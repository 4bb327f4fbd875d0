#!/usr/bin/env bash
# Runs one fuzz target for SECONDS (default 600) from the "fuzz" preset's build folder, or lists
# the names of every target (one a line, from fuzz/CMakeLists.txt):
#   fuzz/run.sh NAME [SECONDS]
#   fuzz/run.sh --list
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" = --list ]; then
  # The names after the library in every korvane_fuzz_targets(...) call.
  grep -v '^ *#' "$here/CMakeLists.txt" | tr '\n' ' ' | grep -o 'korvane_fuzz_targets([^)]*)' |
    sed 's/korvane_fuzz_targets(//; s/)//' | awk '{ for (i = 2; i <= NF; ++i) print $i }'
  exit 0
fi
name=${1:?target name, or --list}
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
