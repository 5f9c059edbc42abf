#!/usr/bin/env bash
# The setup against stand-ins for apt-get, dpkg and dpkg-query (first on the PATH; the machine's
# packages are never touched), and the choice of the build that the Windows tests run.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The stand-ins keep the installed packages in $work/installed. UNAVAILABLE lists packages that
# cannot be had; BAD_MIRROR makes the index update fail as a mirror in the middle of a sync does.
mkdir "$work/bin"
cat > "$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
eval "package=\${$#}"
grep -qx "$package" "$STATE/installed" 2>/dev/null && echo "install ok installed"
STUB
cat > "$work/bin/dpkg" <<'STUB'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
STUB
cat > "$work/bin/apt-get" <<'STUB'
#!/bin/sh
if [ "$1" = update ]; then
  [ -z "$BAD_MIRROR" ] && exit 0
  echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size" >&2
  exit 100
fi
shift
packages=$(printf '%s\n' "$@" | grep -v '^-')
for p in $packages; do
  case " $UNAVAILABLE " in *" $p "*) echo "E: Unable to locate package $p" >&2; exit 100;; esac
done
printf '%s\n' $packages >> "$STATE/installed"
STUB
chmod +x "$work/bin/"*

# setup CASE EXPECTED-STATUS: runs the setup; its output goes to $work/CASE.out.
setup() {
  : > "$work/installed"
  STATE=$work PATH="$work/bin:$PATH" "$root/scripts/setup.sh" > "$work/$1.out" 2>&1
  local status=$?
  [ "$status" -eq "$2" ] || fail "$1: the setup ended with $status, expected $2: $(cat "$work/$1.out")"
}
installed() { grep -qx "$1" "$work/installed"; }

BAD_MIRROR= UNAVAILABLE= setup everything 0
installed wine32:i386 && installed cmake && installed gir1.2-gtk-3.0 || fail "everything: not all installed"
grep -q "all packages present$" "$work/everything.out" || fail "everything: $(cat "$work/everything.out")"

# Again on the machine it set up, as the run calls it: quiet, with nothing to install.
STATE=$work PATH="$work/bin:$PATH" "$root/scripts/setup.sh" --quiet > "$work/again.out" 2>&1 ||
  fail "again: $(cat "$work/again.out")"
[ ! -s "$work/again.out" ] || fail "again, quiet: $(cat "$work/again.out")"

BAD_MIRROR=1 UNAVAILABLE=wine32:i386 setup bad-mirror 0
installed cmake && installed wine64 && ! installed wine32:i386 || fail "bad mirror: $(cat "$work/installed")"
grep -q "warning: some package indexes could not be read" "$work/bad-mirror.out" || fail "bad mirror: no warning"
[ "$(grep -c "32-bit Wine" "$work/bad-mirror.out")" -eq 1 ] || fail "bad mirror: not one clear line about wine32"

BAD_MIRROR=1 UNAVAILABLE="wine32:i386 xdotool" setup missing-tool 1
grep -q "could not install xdotool" "$work/missing-tool.out" || fail "missing tool: $(cat "$work/missing-tool.out")"

# The choice: the i686 build only where 32-bit programs run and the 32-bit Wine is there.
printf '#!/bin/sh\nexit 0\n' > "$work/runs32" && printf '#!/bin/sh\nexit 126\n' > "$work/runs32-not"
printf '#!/bin/sh\n' > "$work/wine32" && chmod +x "$work/runs32" "$work/runs32-not" "$work/wine32"
choice() {
  (TAVRIX_LD32=$work/$1 && source "$root/scripts/env.sh" && TAVRIX_WINE32=$2 &&
   echo "$(tavrix_windows_tests_build): $(tavrix_windows_tests_reason)")
}
[[ $(choice runs32 "$work/wine32") == "i686: "* ]] || fail "choice: $(choice runs32 "$work/wine32")"
[[ $(choice runs32 "$work/none") == "x86_64: the 32-bit Wine is not installed"* ]] || fail "choice without wine32"
[[ $(choice runs32-not "$work/wine32") == "x86_64: this machine cannot run 32-bit"* ]] || fail "choice without 32-bit"

[ "$failures" -eq 0 ] && echo "setup: every case held"
exit $((failures > 0))
