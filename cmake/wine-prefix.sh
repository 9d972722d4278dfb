#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in, when it is missing or cut
# short. With `32`, the prefix must also have its 32-bit half: a prefix made
# before 32-bit Wine was installed never gets one (an update does not add it),
# so such a prefix is made again. Only ever give this script a prefix of the
# project's own: it may delete it. Wine's own errors come through, and when
# the prefix cannot be made the first of them is shown again: it says why.
#   wine-prefix.sh PREFIX [32]
set -euo pipefail

prefix=$1
need32=${2:-}
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
# The 32-bit half runs under qemu-i386, with the project's settings for it.
set -a
. "$(dirname "$0")/qemu-i386.env"
set +a
log=$(mktemp)
trap 'rm -f "$log"' EXIT

complete() {
  [ -e "$prefix/drive_c/windows/system32/kernel32.dll" ] || return 1
  [ "$need32" != 32 ] || [ -e "$prefix/drive_c/windows/syswow64/kernel32.dll" ]
}

for attempt in 1 2; do
  complete && exit 0
  if [ -e "$prefix" ]; then
    echo "Wine prefix $prefix is incomplete: making it again"
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
    rm -rf "$prefix"
  fi
  echo "Making Wine prefix $prefix$([ "$need32" != 32 ] || echo ' with its 32-bit half (minutes)')"
  # Errors only: the rest of Wine's channels would bury them.
  { WINEPREFIX=$prefix WINEDEBUG=-all,err+all "$wine64" wineboot 2>&1 >&3 |
    tee -a "$log" >&2; } 3>&1 || true
  WINEPREFIX=$prefix "$wineserver" -w
done
complete || {
  echo "Wine prefix $prefix is still incomplete: is wine32:i386 installed and qemu-i386 registered?" >&2
  # Without a display every prefix is made with errors of the window and COM
  # channels; the first other error of Wine's, or of qemu's, says why.
  first=$(grep -E 'err:|^qemu-i386:' "$log" | grep -vE ':err:(winediag|systray|ole):' | head -n 1 || true)
  [ -z "$first" ] || echo "The first error: $first" >&2
  exit 1
}
