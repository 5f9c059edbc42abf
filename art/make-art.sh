#!/usr/bin/env bash
# Regenerates every picture of both programs from its generator, which lies beside the pictures it
# makes and draws with the kit here (artkit.py); the output is committed, the build never runs this.
# Needs python3-pil and fonts-wqy-microhei (scripts/setup.sh installs both).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# Debian's Python carries python3-pil; a python3 earlier on PATH may not.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
for gen in main-window/art/make_art.py controls/art/make_art.py help/art/make_art.py startup/art/make_art.py; do
  "$py" "$root/$gen"
done
echo "make-art: pictures written; check them with: python3 tests/art/check_art.py"
