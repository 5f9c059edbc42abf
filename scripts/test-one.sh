#!/usr/bin/env bash
# Builds and runs one Windows test on a private display, in seconds once the machine is set up
# and built (by either of the README's two commands): only that test's programs are built, in the
# build the Windows tests run against, and only its Wine prefix is made.
#
#   scripts/test-one.sh main_window_tests --gtest_filter='MainWindowLookup.*'
#   scripts/test-one.sh --dpi 144 startup_tests
#   scripts/test-one.sh e2e --scenario tips
#
# NAME is a Windows test program or e2e (tests/e2e/e2e.py); ARGS go to it. --dpi: in the tests'
# prefix of that DPI (96 unless given).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

dpi=96
if [ "${1:-}" = --dpi ]; then dpi=${2:?}; shift 2; fi
if [ $# -eq 0 ]; then
  echo "usage: scripts/test-one.sh [--dpi N] NAME [ARGS...]; NAME: a Windows test program or e2e" >&2
  exit 2
fi
name=$1
shift

windows=$(tavrix_windows_tests_build)
build=$TAVRIX_BUILD/$windows
compiler=$windows-w64-mingw32-g++-posix
if ! command -v cmake >/dev/null || ! command -v "$compiler" >/dev/null; then
  echo "test-one: $compiler or cmake is missing: run scripts/setup.sh once" >&2
  exit 2
fi
if [ "$name" = e2e ]; then
  # The programs as shipped, the inspector that reads them, and the window they are stacked on.
  targets=(Tavrix TavrixHelp inspector minimal_window)
  command=(python3 "$TAVRIX_ROOT/tests/e2e/e2e.py" --bin "$build/bin" --dpi "$dpi")
else
  targets=("$name")
  command=("$TAVRIX_ROOT/scripts/wine-run" "$build/bin/$name.exe")
fi
tavrix_build_targets "$windows" "$TAVRIX_BUILD/test-one.log" "${targets[@]}"

export WINEPREFIX=$TAVRIX_BUILD/wine/$dpi
tavrix_wine_prefix "$WINEPREFIX" "$dpi" "record unmanaged"
tavrix_start_display
cleanup() {
  "$TAVRIX_WINESERVER" -k 2>/dev/null || true
  tavrix_stop_display
}
trap cleanup EXIT
# The server and services start away from the test's output, which they would otherwise hold open.
"$TAVRIX_WINESERVER" -p
"$TAVRIX_WINE64" wineboot.exe </dev/null >/dev/null 2>&1
"${command[@]}" "$@"
