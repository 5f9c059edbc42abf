#!/usr/bin/env bash
# Installs what building, running and testing Tavrix need on a Debian 12 machine, from Debian's
# packages. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386
  xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-arphic-uming fonts-wine
  python3 python3-pil file zip lzma-dev
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" </dev/null >/dev/null
fi
echo "setup: all packages present"
