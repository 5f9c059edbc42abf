# Shared settings of the project's scripts: sourced, never run.
# Everything lands under build/: the three builds, the Wine prefixes, the private display's lock.
TAVRIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TAVRIX_BUILD=${TAVRIX_BUILD:-$TAVRIX_ROOT/build}

# Loaders, server, Wine's settings and the display size: one definition for bash and Python.
while IFS= read -r tavrix_line; do
  if [[ $tavrix_line =~ ^[A-Z_0-9]+= ]]; then export "$tavrix_line"; fi
done < "$TAVRIX_ROOT/scripts/wine.env"
unset tavrix_line

# The i686 programs need a kernel that runs 32-bit Linux programs, which some virtual machines
# lack, and the 32-bit Wine (wine32), which a setup may not have been able to install.
TAVRIX_LD32=${TAVRIX_LD32:-/lib/ld-linux.so.2}
tavrix_can_run_32bit() { [ -x "$TAVRIX_LD32" ] && "$TAVRIX_LD32" --version >/dev/null 2>&1; }
tavrix_has_wine32() { [ -x "$TAVRIX_WINE32" ]; }

# The Wine loader for a Windows program, by its PE machine type.
tavrix_wine_loader() { /usr/bin/python3 "$TAVRIX_ROOT/scripts/wine.py" loader "$1"; }

# Which build the Windows tests run against, and why, from what this machine runs once it is set
# up: the shipped i686 build under the 32-bit Wine, else the x86_64 build of the same sources.
tavrix_windows_tests_build() {
  if tavrix_can_run_32bit && tavrix_has_wine32; then echo i686; else echo x86_64; fi
}
tavrix_windows_tests_reason() {
  if ! tavrix_can_run_32bit; then
    echo "this machine cannot run 32-bit Linux programs, so not 32-bit Wine: the x86_64 build of the same sources under 64-bit Wine"
  elif ! tavrix_has_wine32; then
    echo "the 32-bit Wine is not installed ($TAVRIX_WINE32 is missing): the x86_64 build of the same sources under 64-bit Wine"
  else
    echo "this machine runs 32-bit programs: the shipped i686 build under 32-bit Wine"
  fi
}

# Configures one build under build/ (native, i686, x86_64, clang-i686, or release/NAME: the shipped
# programs alone), always with that build's own options: the test command, the run and a single
# test share each build and its cache, so none of them makes another rebuild. The i686 build
# carries the tests where they run against it.
tavrix_configure() {
  local dir=$1 options=(-DCMAKE_BUILD_TYPE=Release)
  case $dir in
    i686)
      options+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
                -DTAVRIX_TESTS="$([ "$(tavrix_windows_tests_build)" = i686 ] && echo ON || echo OFF)") ;;
    x86_64)
      options+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
                -DTAVRIX_SHIPPED_DIR="$TAVRIX_BUILD/i686/bin") ;;
    release/*)
      options+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DTAVRIX_TESTS=OFF -DTAVRIX_BENCHMARKS=OFF) ;;
    clang-i686)
      options+=(-DCMAKE_TOOLCHAIN_FILE=cmake/clang-mingw-i686.cmake -DTAVRIX_TESTS=OFF
                -DTAVRIX_BENCHMARKS=OFF) ;;
  esac
  (cd "$TAVRIX_ROOT" && cmake --no-warn-unused-cli -S . -B "$TAVRIX_BUILD/$dir" "${options[@]}")
}

# Builds only the given targets of one build (configured first if it never was), its output into
# a log; where the build fails, the log's end is shown.
tavrix_build_targets() {
  local dir=$1 log=$2
  shift 2
  mkdir -p "$TAVRIX_BUILD"
  if {
    [ -f "$TAVRIX_BUILD/$dir/CMakeCache.txt" ] || tavrix_configure "$dir"
    cmake --build "$TAVRIX_BUILD/$dir" -j "$(nproc)" --target "$@"
  } >"$log" 2>&1; then
    return 0
  fi
  echo "the build failed; the end of $log:" >&2
  tail -n 40 "$log" >&2
  return 1
}

# Creates (once) and configures a Wine prefix of the project's own: fonts that show Chinese, no
# crash dialog, the given DPI. Modes (words of the third argument): "record" makes the prefix's
# browser a recorder that appends each address the shell opens to <prefix>/opened-addresses.log
# instead of starting a real browser; "unmanaged" is for a display without a window manager (Wine
# would otherwise wait for one each time a window goes).
tavrix_wine_prefix() {
  local prefix=$1 dpi=$2 mode=${3:-}
  local stamp="$prefix/.tavrix-ready-4-$dpi-${mode// /-}$(tavrix_has_wine32 && echo -32)"
  [ -f "$stamp" ] && return 0
  mkdir -p "$prefix"
  (
    export WINEPREFIX=$prefix WINELOADER=$TAVRIX_WINE64
    if [ ! -f "$prefix/system.reg" ]; then
      "$TAVRIX_WINE64" wineboot.exe -i >/dev/null 2>&1 || true
      "$TAVRIX_WINESERVER" -w
    elif tavrix_has_wine32 && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
      # Made before the 32-bit Wine was installed: its 32-bit half is added now. Wine updates a
      # prefix only when its record of the last update is gone.
      rm -f "$prefix/.update-timestamp"
      "$TAVRIX_WINE64" wineboot.exe -u >/dev/null 2>&1 || true
      "$TAVRIX_WINESERVER" -w
    fi
    # One Unicode .reg file: Wine's command line would lose the Chinese face names.
    local file="$prefix/tavrix.reg"
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      # 宋体 is a Ming face with half-width Latin letters: AR PL UMing has the same advances, so
      # texts take the room they take on Windows. The other UI faces get a sans with Chinese.
      printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
      for face in "宋体" "SimSun" "新宋体" "NSimSun"; do
        printf '"%s"="AR PL UMing CN"\r\n' "$face"
      done
      for face in "Comic Sans MS" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS Sans Serif" \
                  "Microsoft Sans Serif" "Segoe UI"; do
        printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
      done
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
      printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$dpi"
      if [[ " $mode " == *" unmanaged "* ]]; then
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
      fi
      if [[ " $mode " == *" record "* ]]; then
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]\r\n"Browsers"="%s"\r\n' \
          "$prefix/record-browser"
      fi
    } > "$file.utf8"
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$file.utf8"; } > "$file"
    rm -f "$file.utf8"
    if [[ " $mode " == *" record "* ]]; then
      printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s/opened-addresses.log"\n' "$prefix" > "$prefix/record-browser"
      chmod +x "$prefix/record-browser"
    fi
    "$TAVRIX_WINE64" regedit.exe /S "Z:${file//\//\\}" >/dev/null 2>&1
    "$TAVRIX_WINESERVER" -k >/dev/null 2>&1 || true
    "$TAVRIX_WINESERVER" -w >/dev/null 2>&1 || true
  )
  touch "$stamp"
}

# Starts a private Xvfb display and exports DISPLAY; its process id goes to TAVRIX_XVFB_PID.
tavrix_start_display() {
  local started
  started=$(/usr/bin/python3 "$TAVRIX_ROOT/scripts/wine.py" display)
  export DISPLAY=${started% *}
  TAVRIX_XVFB_PID=${started#* }
}

tavrix_stop_display() {
  [ -n "${TAVRIX_XVFB_PID:-}" ] && kill "$TAVRIX_XVFB_PID" 2>/dev/null || true
}
