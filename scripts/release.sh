#!/usr/bin/env bash
# Builds the release: the shipped programs (i686) twice, each in a fresh folder, checks that the
# two builds are byte for byte the same (nothing of the time or the place of a build gets into a
# program file) and that each program keeps within its size, and packs the release ZIP from one
# of them. Prints the ZIP's path.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TAVRIX_ROOT/scripts/setup.sh" >/dev/null

build() {
  rm -rf "${TAVRIX_BUILD:?}/$1"
  tavrix_configure "$1" >/dev/null
  cmake --build "$TAVRIX_BUILD/$1" -j "$(nproc)" >/dev/null
}

build release/first
build release/second
first="$TAVRIX_BUILD/release/first" second="$TAVRIX_BUILD/release/second"
declare -A most=([Tavrix.exe]=$((300 * 1024)) [TavrixHelp.exe]=$((200 * 1024)))
for program in Tavrix.exe TavrixHelp.exe; do
  if ! cmp -s "$first/bin/$program" "$second/bin/$program"; then
    echo "release: two builds of $program differ" >&2
    exit 1
  fi
  size=$(stat -c %s "$first/bin/$program")
  echo "release: $program, $size bytes (at most ${most[$program]}), the same in two clean builds" >&2
  if [ "$size" -gt "${most[$program]}" ]; then
    echo "release: $program is larger than ${most[$program]} bytes" >&2
    exit 1
  fi
done
(cd "$first" && cpack -G ZIP >/dev/null)
zip=$(ls "$first"/Tavrix-*-win32.zip)
cp "$zip" "$TAVRIX_BUILD/"
echo "$TAVRIX_BUILD/$(basename "$zip")"
