#!/usr/bin/env bash
# Installs what building, running and testing Tavrix need on a Debian 12 machine, from Debian's
# packages. Safe to run again: it installs only what is missing.
#
# A mirror in the middle of a sync can leave some package indexes unread: the setup warns and
# installs what can be installed. Only the 32-bit Wine may be missing at the end (the Windows tests
# then run against the x86_64 build, see tavrix_windows_tests_build in env.sh); any other package
# that cannot be had ends the setup with an error.
#
# --quiet: nothing said where nothing was missing.
set -euo pipefail
quiet=${1:-}

packages=(
  cmake make g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix clang
  wine wine64
  xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-arphic-uming fonts-wine
  python3 python3-pil python3-gi gir1.2-gtk-3.0 file zip
)
wine32=wine32:i386

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
install() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" \
    </dev/null >/dev/null
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
installed "$wine32" || missing_wine32=1

if [ "${#missing[@]}" -gt 0 ] || [ -n "${missing_wine32:-}" ] || [ -n "${need_update:-}" ]; then
  echo "setup: installing ${missing[*]:+${missing[*]} }${missing_wine32:+$wine32}"
  # apt-get update fails, or only complains, when an index cannot be read; the others still count.
  if ! update=$(as_root apt-get update -qq 2>&1) || grep -q '^E:' <<<"$update"; then
    echo "setup: warning: some package indexes could not be read; installing what can be installed:" >&2
    grep '^E: Failed' <<<"$update" | sed 's/^/  /' >&2 || true
  fi
  if [ "${#missing[@]}" -gt 0 ] && ! install "${missing[@]}"; then
    # One at a time, to tell which cannot be had.
    failed=()
    for p in "${missing[@]}"; do install "$p" || failed+=("$p"); done
    if [ "${#failed[@]}" -gt 0 ]; then
      echo "setup: could not install ${failed[*]}" >&2
      exit 1
    fi
  fi
  if [ -n "${missing_wine32:-}" ] && ! install "$wine32" 2>/dev/null; then
    echo "setup: the 32-bit Wine ($wine32) could not be installed: the Windows tests will run against the x86_64 build"
  fi
fi
if ! installed "$wine32"; then
  echo "setup: all packages present but $wine32"
elif [ "$quiet" != --quiet ] || [ "${#missing[@]}" -gt 0 ] || [ -n "${missing_wine32:-}" ]; then
  echo "setup: all packages present"
fi
