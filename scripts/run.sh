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
# other's work; only the program itself is built here.
windows=$(tavrix_windows_tests_build)
exe="$TAVRIX_BUILD/$windows/bin/Tavrix.exe"
log="$TAVRIX_BUILD/run-build.log"
echo "run: building Tavrix.exe in $TAVRIX_BUILD/$windows (its output: $log)"
tavrix_build_targets "$windows" "$log" Tavrix
loader=$(tavrix_wine_loader "$exe")

# The first run makes a Wine prefix of its own, which takes a while.
prepare_prefix() {
  [ -f "$1/system.reg" ] || echo "run: making a Wine prefix for Tavrix in $1 (once)"
  tavrix_wine_prefix "$@"
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prepare_prefix "$TAVRIX_BUILD/wine/run" 96
  echo "run: starting $exe on $DISPLAY"
  WINEPREFIX="$TAVRIX_BUILD/wine/run" exec "$loader" "$exe"
fi

prefix="$TAVRIX_BUILD/wine/run-virtual"
prepare_prefix "$prefix" 96 unmanaged
tavrix_start_display
export WINEPREFIX=$prefix
cleanup() {
  "$TAVRIX_WINESERVER" -k 2>/dev/null || true
  tavrix_stop_display
}
trap cleanup EXIT
echo "run: no display; starting $exe on a private virtual display $DISPLAY"
"$loader" "$exe" >/dev/null 2>&1 &

# The main window follows the splash after about a second: wait for a shown window of its size.
geometry=""
for _ in $(seq 1 100); do
  for id in $(xdotool search --onlyvisible --class tavrix.exe 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ "$WIDTH" -ge 400 ]; then geometry="$WIDTH $HEIGHT $X $Y"; break; fi
  done
  [ -n "$geometry" ] && break
  sleep 0.1
done
[ -n "$geometry" ] || { echo "run: the main window did not appear" >&2; exit 1; }
read -r width height left top <<<"$geometry"

# Into the input box (lower part of the window), empty it, and type an extension.
x=$((left + width / 3)) y=$((top + height * 5450 / 6390))
xdotool mousemove "$x" "$y"
sleep 0.3
eval "$(xdotool getmouselocation --shell)"
xdotool windowfocus "$WINDOW"
for _ in 1 2; do xdotool click 1; sleep 0.3; done
xdotool key ctrl+End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 120 jpg
xdotool mousemove 0 0
sleep 0.8

shot="$TAVRIX_BUILD/tavrix-screenshot.png"
import -window root "$shot"
convert "$shot" -crop "${width}x${height}+${left}+${top}" +repage "$shot"
echo "run: Tavrix looked up \"jpg\"; screenshot: $shot"
