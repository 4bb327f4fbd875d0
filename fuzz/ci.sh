#!/usr/bin/env bash
# Every fuzz target, briefly, as CI runs them: builds only the targets (the "fuzz" preset, not the
# whole tree), replays each one's seeds (fuzz/corpus/NAME) and every input a run ever found
# (fuzz/regressions/NAME), then fuzzes each for SECONDS (default 5), two targets at once. Exits
# non-zero when any target crashes, leaks or fails to build.
#   fuzz/ci.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$root/build-fuzz
seconds=${1:-5}
cd "$root"

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
[ -f "$build/CMakeCache.txt" ] || cmake --preset fuzz "${launcher[@]}" >/dev/null
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1

mapfile -t targets < <(bash "$here/run.sh" --list)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets found" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

run_target() {
  local name=$1 seconds=$2 here=$3 build=$4
  local bin="$build/fuzz/fuzz_$name" work
  work=$(mktemp -d)
  local inputs=()
  for folder in "$here/corpus/$name" "$here/regressions/$name"; do
    [ -d "$folder" ] && inputs+=("$folder")
  done
  local dict=()
  [ -f "$here/$name.dict" ] && dict=(-dict="$here/$name.dict")
  local status=0
  # The seeds and the kept findings, each once; then fuzzing, whose finds go to the scratch
  # folder named first, never into the tree.
  if [ ${#inputs[@]} -gt 0 ]; then
    (cd "$work" && "$bin" -runs=0 "${inputs[@]}" >"$work/replay.log" 2>&1) || status=$?
  fi
  if [ "$status" -eq 0 ]; then
    mkdir -p "$work/found"
    (cd "$work" && "$bin" "${dict[@]}" -max_total_time="$seconds" -max_len=1024 \
      "$work/found" "${inputs[@]}" >"$work/fuzz.log" 2>&1) || status=$?
  fi
  if [ "$status" -eq 0 ]; then
    echo "fuzz_$name: passed ($(grep -ho 'Done [0-9]* runs' "$work/fuzz.log" | tail -n 1))"
    rm -rf "$work"
  else
    echo "fuzz_$name: FAILED (exit $status); inputs and logs in $work"
    tail -n 30 "$work"/*.log
  fi
  return "$status"
}
export -f run_target

printf '%s\n' "${targets[@]}" |
  xargs -P 2 -I{} bash -c 'run_target "$@"' _ {} "$seconds" "$here" "$build"
