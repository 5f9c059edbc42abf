#!/usr/bin/env bash
# Configures and builds under build/: native (the catalogue, the pure arithmetic, their tests and
# benchmark) and i686 (the shipped Tavrix.exe and TavrixHelp.exe). The Windows tests are built
# for the build that this machine can run under Wine: i686 itself where the machine runs 32-bit
# programs, else an x86_64 build of the same sources. Configuring again is cheap and picks up
# changed options.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$TAVRIX_ROOT"
jobs=$(nproc)

build() {
  local dir=$1; shift
  cmake -S . -B "$TAVRIX_BUILD/$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$TAVRIX_BUILD/$dir" -j "$jobs"
}

build native
if [ "$(tavrix_windows_tests_build)" = i686 ]; then
  build i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DTAVRIX_TESTS=ON
else
  build i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DTAVRIX_TESTS=OFF
  build x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DTAVRIX_SHIPPED_DIR="$TAVRIX_BUILD/i686/bin"
fi
