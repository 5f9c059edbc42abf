#!/usr/bin/env bash
# Sets up the machine, builds, and runs Tavrix under Wine: on your display if there is one.
# Without a display it runs on a private virtual one, types "jpg" into the input box as a user
# would, saves a screenshot and prints its path.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TAVRIX_ROOT/scripts/setup.sh"
"$TAVRIX_ROOT/scripts/build.sh"

# The shipped i686 program where this machine runs 32-bit programs, else the same sources' x86_64 build.
exe="$TAVRIX_BUILD/$(tavrix_windows_tests_build)/bin/Tavrix.exe"
loader=$(tavrix_wine_loader "$exe")

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  tavrix_wine_prefix "$TAVRIX_BUILD/wine/run" 96
  echo "run: starting $exe on $DISPLAY"
  WINEPREFIX="$TAVRIX_BUILD/wine/run" exec "$loader" "$exe"
fi

prefix="$TAVRIX_BUILD/wine/run-virtual"
tavrix_wine_prefix "$prefix" 96 unmanaged
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
