#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the native tests, the Windows tests
# under Wine on a private Xvfb display (at 96 DPI and, where a test asks, at 120, 144 and 192, with
# the release ZIP unpacked and its programs started), and two clean builds of the shipped
# programs, which must be the same byte for byte.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TAVRIX_ROOT/scripts/setup.sh"
# Decided once the machine is set up, from what it actually runs.
windows=$(tavrix_windows_tests_build)
echo "test: the Windows tests run against the $windows build ($(tavrix_windows_tests_reason))"
"$TAVRIX_ROOT/scripts/build.sh"

dpis=(96 120 144 192)
for dpi in "${dpis[@]}"; do tavrix_wine_prefix "$TAVRIX_BUILD/wine/$dpi" "$dpi" "record unmanaged"; done

tavrix_start_display
cleanup() {
  for dpi in "${dpis[@]}"; do WINEPREFIX="$TAVRIX_BUILD/wine/$dpi" "$TAVRIX_WINESERVER" -k 2>/dev/null || true; done
  tavrix_stop_display
}
trap cleanup EXIT
# Keep each prefix's server and services alive between test programs: each then starts in a
# fraction of a second. The services start here, away from CTest's output pipes, which they would
# otherwise hold open after the first test program ends.
for dpi in "${dpis[@]}"; do
  WINEPREFIX="$TAVRIX_BUILD/wine/$dpi" "$TAVRIX_WINESERVER" -p
  WINEPREFIX="$TAVRIX_BUILD/wine/$dpi" "$TAVRIX_WINE64" wineboot.exe </dev/null >/dev/null 2>&1
done

status=0
ctest --test-dir "$TAVRIX_BUILD/native" --output-on-failure -j "$(nproc)" || status=1
# Windows tests one at a time: they share one display, its focus and its foreground window.
ctest --test-dir "$TAVRIX_BUILD/$windows" --output-on-failure || status=1
"$TAVRIX_ROOT/scripts/release.sh" >/dev/null || status=1
echo "test: the Windows tests ran against the $windows build ($(tavrix_windows_tests_reason))"
echo "test: $([ $status -eq 0 ] && echo "every test passed" || echo "SOME TESTS FAILED")"
exit $status
