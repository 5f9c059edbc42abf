#!/usr/bin/env bash
# Configures and builds under build/: native (the catalogue, the pure arithmetic, their tests and
# benchmark) and i686 (the shipped Tavrix.exe and TavrixHelp.exe). The Windows tests are built
# for the build that this machine can run under Wine: i686 itself where the machine runs 32-bit
# programs, else an x86_64 build of the same sources. Then clang-i686, a check that the shipped
# programs also build with a second compiler (not run, not shipped). Configuring again is cheap and
# picks up changed options.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
jobs=$(nproc)

build() {
  tavrix_configure "$1" >/dev/null
  cmake --build "$TAVRIX_BUILD/$1" -j "$jobs"
}

build native
build i686
if [ "$(tavrix_windows_tests_build)" = x86_64 ]; then build x86_64; fi

# The shipped programs by Clang for the same target, with the project's warnings. Clang's objects
# carry their own copy of each standard exception's type name, which GCC's library pads to another
# size: the linker keeps one and says so for each. The names compare by their text, so the copy
# kept does not matter, and those notes alone are left out.
tavrix_configure clang-i686 >/dev/null
cmake --build "$TAVRIX_BUILD/clang-i686" -j "$jobs" --target Tavrix TavrixHelp 2>&1 |
  { grep -v "duplicate section \`\.rdata\$_ZTS[^']*' has different size" || true; }
