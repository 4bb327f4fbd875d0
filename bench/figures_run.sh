# Sourced by the whole-program figure scripts after they set `work_name`: a work folder `work`
# under /tmp and the `pids` array, both cleaned up when the script exits, a private Xvfb
# (`display`) and a millisecond clock.
work=$(mktemp -d "/tmp/korvane-$work_name-XXXXXX")
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/private_display.sh"

now_ms() { date +%s%3N; }
