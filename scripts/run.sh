#!/usr/bin/env bash
# Sets up the machine, builds Tavrix, and runs it under Wine: on your display if there is one.
# Without a display it runs on a private virtual one, types "jpg" into the input box as a user
# would, saves a screenshot and prints its path. It says in a few lines what it does; the
# compiler's output goes to a log, shown only where the build fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TAVRIX_ROOT/scripts/setup.sh" --quiet

# The shipped i686 program where this machine runs 32-bit programs, else the same sources' x86_64
# build: the build that the Windows tests use, with their options, so that neither rebuilds the
# other's work; only the program itself is built here, and without a display the inspector that
# the screenshots' driver reads it with.
windows=$(tavrix_windows_tests_build)
exe="$TAVRIX_BUILD/$windows/bin/Tavrix.exe"
log="$TAVRIX_BUILD/run-build.log"
echo "run: building Tavrix.exe in $TAVRIX_BUILD/$windows (its output: $log)"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  tavrix_build_targets "$windows" "$log" Tavrix
  prefix="$TAVRIX_BUILD/wine/run"
  [ -f "$prefix/system.reg" ] || echo "run: making a Wine prefix for Tavrix in $prefix (once)"
  tavrix_wine_prefix "$prefix" 96
  echo "run: starting $exe on $DISPLAY"
  WINEPREFIX=$prefix exec "$(tavrix_wine_loader "$exe")" "$exe"
fi

# No display: the screenshots' driver runs Tavrix on a private virtual one, in the tests' prefix.
tavrix_build_targets "$windows" "$log" Tavrix inspector
shot="$TAVRIX_BUILD/tavrix-screenshot.png"
echo "run: no display; starting $exe on a private virtual display, typing \"jpg\" as a user would"
/usr/bin/python3 "$TAVRIX_ROOT/scripts/screenshots.py" --bin "$TAVRIX_BUILD/$windows/bin" --demo "$shot" >/dev/null
echo "run: Tavrix looked up \"jpg\"; screenshot: $shot"
