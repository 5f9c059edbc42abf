#!/usr/bin/env bash
# Configures and builds under build/: native (the catalogue, the pure arithmetic, their tests and
# benchmark) and i686 (the shipped Tavrix.exe and TavrixHelp.exe). The Windows tests are built
# for the build that this machine can run under Wine: i686 itself where the machine runs 32-bit
# programs, else an x86_64 build of the same sources. Then clang-i686, a check that the shipped
# programs also build with a second compiler (not run, not shipped). Configuring again is cheap and
# picks up changed options.
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

# The shipped programs by Clang for the same target, with the project's warnings. Clang's objects
# carry their own copy of each standard exception's type name, which GCC's library pads to another
# size: the linker keeps one and says so for each. The names compare by their text, so the copy
# kept does not matter, and those notes alone are left out.
cmake -S . -B "$TAVRIX_BUILD/clang-i686" -DCMAKE_BUILD_TYPE=Release -DTAVRIX_TESTS=OFF \
  -DTAVRIX_BENCHMARKS=OFF -DCMAKE_TOOLCHAIN_FILE=cmake/clang-mingw-i686.cmake >/dev/null
cmake --build "$TAVRIX_BUILD/clang-i686" -j "$jobs" --target Tavrix TavrixHelp 2>&1 |
  { grep -v "duplicate section \`\.rdata\$_ZTS[^']*' has different size" || true; }
