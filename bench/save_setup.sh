# shellcheck shell=bash
# Sourced by the save figure scripts with the build folder as its argument: `program` (the built
# korvane, or the script ends), a work folder `work` with `card`, a private home and `out`, all
# removed when the script exits, make_card (two_camera_card.sh), korvane_save and seconds.
build=$(cd "${1:-build}" && pwd)
program="$build/KORVANE/korvane"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ -x "$program" ] || { echo "build korvane first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
card="$work/card"
mkdir -p "$card" "$work/home" "$work/out"
# shellcheck source=bench/two_camera_card.sh
source "$here/bench/two_camera_card.sh"

# korvane --save of the card with these options into an emptied out/saved.mp4, with the private
# home, so the user's settings and index stay out of the figures.
korvane_save() {
  rm -f "$work/out/"*
  env HOME="$work/home" XDG_CACHE_HOME="$work/home/.cache" XDG_CONFIG_HOME="$work/home/.config" \
      "$program" --save "$card" "$@" "$work/out/saved.mp4" 2>/dev/null
}
seconds() { local t0 t1; t0=$(date +%s.%N); "$@"; t1=$(date +%s.%N); echo "$t1 - $t0" | bc -l; }
