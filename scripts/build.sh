#!/usr/bin/env bash
# Configures and builds the three builds under build/: native (catalogue, its tests and benchmark),
# i686 (the shipped Tavrix.exe and TavrixHelp.exe) and x86_64 (the same sources with their Windows
# tests, which run under 64-bit Wine on any machine).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$TAVRIX_ROOT"
jobs=$(nproc)

configure() {
  local dir=$1; shift
  [ -f "$TAVRIX_BUILD/$dir/CMakeCache.txt" ] || cmake -S . -B "$TAVRIX_BUILD/$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure native
cmake --build "$TAVRIX_BUILD/native" -j "$jobs"
configure i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DTAVRIX_TESTS=OFF
cmake --build "$TAVRIX_BUILD/i686" -j "$jobs"
configure x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DTAVRIX_SHIPPED_DIR="$TAVRIX_BUILD/i686/bin"
cmake --build "$TAVRIX_BUILD/x86_64" -j "$jobs"
