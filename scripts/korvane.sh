#!/usr/bin/env bash
# One entry for a fresh Debian 12 machine (as root, or with sudo available):
#   bash scripts/korvane.sh run    install what is missing, build, start KORVANE on the sample clip
#   bash scripts/korvane.sh test   install what is missing, build, build the package, run every test
#   bash scripts/korvane.sh package  build the Debian package build/package/korvane_<version>_amd64.deb
#   bash scripts/korvane.sh bench  build and run the benchmarks
#   bash scripts/korvane.sh sanitize  the whole suite built and run under ASan and UBSan
#   bash scripts/korvane.sh sanitize e2e   the same for the program and whole-program tests only
#   bash scripts/korvane.sh tsan   the threaded parts and whole-program playback under ThreadSanitizer
# A second run installs nothing and builds incrementally.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${KORVANE_BUILD_DIR:-$root/build}

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-webengine-dev qt6-webchannel-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  libmpv-dev ffmpeg mplayer
  libexiv2-dev exiv2 libimage-exiftool-perl
  libavformat-dev libavcodec-dev libavutil-dev libsqlite3-dev libpugixml-dev gpsbabel
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick libgl1-mesa-dri procps
  clang libclang-rt-14-dev  # the "fuzz" preset's compiler and its libFuzzer
  fonts-noto-cjk fonts-dejavu-core
  tesseract-ocr  # reads the stamped copy's burned-in lines back in its test
  nodejs npm
  lintian appstream desktop-file-utils man-db  # the package checks
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  # nodejs from another source may bring its own npm; either satisfies the build.
  if command -v npm >/dev/null 2>&1; then
    local keep=()
    for p in "${missing[@]}"; do [ "$p" = npm ] || [ "$p" = nodejs ] || keep+=("$p"); done
    missing=("${keep[@]}")
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

install_web_libraries() {
  # The map pages' libraries come from npm at build time, never from a CDN at run time.
  local dir="$root/resources/Map"
  if [ -f "$dir/package.json" ]; then
    if [ ! -d "$dir/node_modules" ] || [ "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]; then
      (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
    fi
  fi
}

# A compiler cache, where one is installed, serves every clone of the tree and every build
# alike: paths are hashed relative to the clone and the build folder's own path is left out.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

build() {
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
  fi
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  cmake --build "$build" -j "$(nproc)"
}

# The Debian package from the build (CPack's DEB generator, cmake/KorvanePackage.cmake); the
# package checks among the tests read it.
package() {
  (cd "$build" && cpack -G DEB)
}

cmd=${1:-run}
install_missing
install_web_libraries
build

case "$cmd" in
  run)
    shift || true
    clip=${1:-$build/samples/sample_drive.mp4}
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "No display found: starting KORVANE inside a virtual X server (xvfb-run)."
      exec xvfb-run -a -s "-screen 0 1600x900x24" "$build/KORVANE/korvane" "$clip"
    fi
    exec "$build/KORVANE/korvane" "$clip"
    ;;
  package)
    package
    ;;
  test)
    package >/dev/null
    cd "$build"
    ctest --output-on-failure --timeout 600 -j "$(nproc)"
    ;;
  sanitize)
    # The "asan" preset: `sanitize` runs the whole suite under ASan and UBSan (what CI runs after
    # the tests); `sanitize e2e` builds only the program, its helpers and the whole-program tests
    # and runs those: every start, playback, second start and close of the real window, in a
    # fraction of the time.
    if [ ! -f "$root/build-asan/CMakeCache.txt" ]; then
      cmake --preset asan "${launcher[@]}" >/dev/null
    fi
    if [ "${2:-}" = e2e ]; then
      cmake --build --preset asan --target korvane mplayer korvane-indexer korvane_e2e_tests \
        -j "$(nproc)"
      ctest --preset asan -L e2e --timeout 600 -j "$(nproc)"
    else
      # Everything runs several times slower under the sanitizers, so a whole-program test that
      # lost a race with its own time limit gets a second attempt; a sanitizer's report fails
      # every attempt it shows in.
      cmake --build --preset asan -j "$(nproc)"
      ctest --preset asan --timeout 600 -j "$(nproc)" --repeat until-pass:2
    fi
    ;;
  tsan)
    # The "tsan" preset: the program, its player and indexer, the tests of background indexing,
    # extraction, the live parser, player control, the controller and the framework's
    # cross-thread calls, and the whole-program playback and seek tests, under ThreadSanitizer.
    # A report from any of their processes fails the run (the last test prints them); a
    # timing-bound test gets a second attempt, as above.
    if [ ! -f "$root/build-tsan/CMakeCache.txt" ]; then
      cmake --preset tsan "${launcher[@]}" >/dev/null
    fi
    cmake --build --preset tsan -j "$(nproc)"
    # The sanitizer's fixed shadow memory collides with mappings placed by more than 28 bits of
    # address randomisation ("unexpected memory mapping"); the tests then run without it, which
    # every process they start inherits.
    norandom=()
    if [ "$(cat /proc/sys/vm/mmap_rnd_bits 2>/dev/null || echo 0)" -gt 28 ]; then
      norandom=(setarch "$(uname -m)" -R)
    fi
    "${norandom[@]}" ctest --preset tsan --timeout 600 -j "$(nproc)" --repeat until-pass:2
    ;;
  bench)
    for b in "$build"/bench/korvane_bench_*; do
      [ -x "$b" ] && "$b"
    done
    ;;
  *)
    echo "usage: $0 run|test|package|sanitize [e2e]|tsan|bench" >&2
    exit 2
    ;;
esac
