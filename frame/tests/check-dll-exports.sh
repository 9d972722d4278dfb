#!/usr/bin/env bash
# The export tables of the Windows builds, as the host expects them:
# GetPlugins unmangled in every plug-in module, GetCompilerVersion in all but
# RetiredStubs, and the class ZqHDRReader (nothing else) from RadiantLoad.dll.
#   check-dll-exports.sh BUILD_DIR OBJDUMP
set -euo pipefail
build="$1"
objdump="$2"
failures=0

exports() {
  "$objdump" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | tail -n +2 | sed -n 's/^.*\] //p'
}
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for module in CullSweep ImageTally MotionLens RetiredStubs; do
  dll="$build/plugins/$module.dll"
  [ -f "$dll" ] || { fail "$dll is missing"; continue; }
  names=$(exports "$dll")
  grep -qx GetPlugins <<<"$names" || fail "$module.dll does not export GetPlugins"
  if [ "$module" = RetiredStubs ]; then
    ! grep -qx GetCompilerVersion <<<"$names" || fail "RetiredStubs.dll exports GetCompilerVersion"
  else
    grep -qx GetCompilerVersion <<<"$names" || fail "$module.dll does not export GetCompilerVersion"
  fi
  echo "$module.dll: $(tr '\n' ' ' <<<"$names")"
done

reader="$build/bin/RadiantLoad.dll"
names=$(exports "$reader")
others=$(grep -v 'ZqHDRReader' <<<"$names" || true)
[ -z "$others" ] || fail "RadiantLoad.dll exports more than ZqHDRReader: $others"
for member in ReadFile ReadHeader CanReadFile ReadHeaderInternal ReadRLEFile ReadRawFile \
              ConvertRGBEToHalf ConvertRGBEToFloat 'C1Ev' 'C1ERKS_' 'D1Ev' 'aSERKS_' '_ZTV'; do
  grep -q -- "$member" <<<"$names" || fail "RadiantLoad.dll does not export $member"
done
echo "RadiantLoad.dll: $(wc -l <<<"$names") ZqHDRReader exports"

[ "$failures" -eq 0 ] || exit 1
echo "exports as expected"
