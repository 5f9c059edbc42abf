# Shared settings of the project's scripts: sourced, never run.
# Everything lands under build/: the three builds, the Wine prefixes, the private display's lock.
TAVRIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TAVRIX_BUILD=${TAVRIX_BUILD:-$TAVRIX_ROOT/build}

# The 64-bit Wine loader runs the x86_64 build natively; the i686 programs need a kernel that runs
# 32-bit Linux programs (wine32), which some virtual machines lack.
TAVRIX_WINE64=/usr/lib/wine/wine64
TAVRIX_WINE32=/usr/lib/wine/wine
tavrix_can_run_32bit() { [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Creates (once) and configures a Wine prefix of the project's own: fonts that show Chinese, no
# crash dialog, the given DPI, and optionally a browser command that receives opened addresses.
tavrix_wine_prefix() {
  local prefix=$1 dpi=$2 browser=${3:-}
  local stamp="$prefix/.tavrix-$dpi-$(basename "${browser:-none}")"
  [ -f "$stamp" ] && return 0
  mkdir -p "$prefix"
  (
    export WINEPREFIX=$prefix WINELOADER=$TAVRIX_WINE64
    if [ ! -f "$prefix/system.reg" ]; then
      "$TAVRIX_WINE64" wineboot.exe -i >/dev/null 2>&1 || true
      /usr/lib/wine/wineserver64 -w
    fi
    reg() { "$TAVRIX_WINE64" reg.exe add "$@" /f >/dev/null 2>&1; }
    local font="WenQuanYi Micro Hei"
    for face in "宋体" "SimSun" "新宋体" "NSimSun" "Comic Sans MS" "MS Sans Serif" "MS Shell Dlg" \
                "MS Shell Dlg 2" "Tahoma" "Microsoft Sans Serif" "Segoe UI"; do
      reg 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "$font"
    done
    reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
    reg 'HKCU\Software\Wine\Fonts' /v LogPixels /t REG_DWORD /d "$dpi"
    if [ -n "$browser" ]; then
      reg 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$browser"
    fi
    /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver64 -w >/dev/null 2>&1 || true
  )
  touch "$stamp"
}

# Starts a private Xvfb display and exports DISPLAY; its process id goes to TAVRIX_XVFB_PID.
tavrix_start_display() {
  local fifo
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  TAVRIX_XVFB_PID=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
}

tavrix_stop_display() {
  [ -n "${TAVRIX_XVFB_PID:-}" ] && kill "$TAVRIX_XVFB_PID" 2>/dev/null || true
}
