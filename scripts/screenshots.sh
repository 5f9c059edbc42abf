#!/usr/bin/env bash
# Builds, then takes the pictures under docs/ from the programs as they run (Wine on a private
# virtual display, real X input): the splash, the lookup view, the two panels, the topmost state
# and the help window with an answer.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$TAVRIX_ROOT/scripts/setup.sh"
"$TAVRIX_ROOT/scripts/build.sh"
exec /usr/bin/python3 "$TAVRIX_ROOT/scripts/screenshots.py" --bin "$TAVRIX_BUILD/$(tavrix_windows_tests_build)/bin" \
  --out "$TAVRIX_ROOT/docs" "$@"
