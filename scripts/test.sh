#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the native tests, then the Windows
# tests under Wine on a private Xvfb display (once at 96 and, where a test asks, at 120 DPI).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TAVRIX_ROOT/scripts/setup.sh"
"$TAVRIX_ROOT/scripts/build.sh"

tavrix_wine_prefix "$TAVRIX_BUILD/wine/96" 96 "record unmanaged"
tavrix_wine_prefix "$TAVRIX_BUILD/wine/120" 120 "record unmanaged"

tavrix_start_display
cleanup() {
  for dpi in 96 120; do WINEPREFIX="$TAVRIX_BUILD/wine/$dpi" /usr/lib/wine/wineserver64 -k 2>/dev/null || true; done
  tavrix_stop_display
}
trap cleanup EXIT
# Keep each prefix's server and services alive between test programs: each then starts in a
# fraction of a second. The services start here, away from CTest's output pipes, which they would
# otherwise hold open after the first test program ends.
for dpi in 96 120; do
  WINEPREFIX="$TAVRIX_BUILD/wine/$dpi" /usr/lib/wine/wineserver64 -p
  WINEPREFIX="$TAVRIX_BUILD/wine/$dpi" "$TAVRIX_WINE64" wineboot.exe </dev/null >/dev/null 2>&1
done

status=0
ctest --test-dir "$TAVRIX_BUILD/native" --output-on-failure -j "$(nproc)" || status=1
# Windows tests one at a time: they share one display, its focus and its foreground window.
ctest --test-dir "$TAVRIX_BUILD/x86_64" --output-on-failure || status=1
exit $status
