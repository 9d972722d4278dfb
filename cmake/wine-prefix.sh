#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in, when it is missing or cut
# short. With `32`, the prefix must also have its 32-bit half: a prefix made
# before 32-bit Wine was installed never gets one (an update does not add it),
# so such a prefix is made again. Only ever give this script a prefix of the
# project's own: it may delete it.
#   wine-prefix.sh PREFIX [32]
set -euo pipefail

prefix=$1
need32=${2:-}
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

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
  WINEPREFIX=$prefix WINEDEBUG=-all "$wine64" wineboot
  WINEPREFIX=$prefix "$wineserver" -w
done
complete || {
  echo "Wine prefix $prefix is still incomplete: is wine32:i386 installed and qemu-i386 registered?" >&2
  exit 1
}
