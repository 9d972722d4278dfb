#!/usr/bin/env bash
# What the deliverables take from the stand-in libraries and what they give:
# every symbol imported from a stand-in must be on the allowlist, under that
# library (the engine's, the toolkit's and the platform's real interface), and
# each plug-in module exports exactly its entry points, RadiantLoad exactly
# its class.
#   check-module-symbols.sh linux BUILD_DIR NM ALLOWLIST
#   check-module-symbols.sh windows BUILD_DIR OBJDUMP ALLOWLIST
set -euo pipefail
platform="$1"
build="$2"
tool="$3"
allowlist="$4"
stand_ins="ZqMain ZqSystem ZqPluginToolkit ZqStandardSharedData ZqAnimation ZqOptimization ZqPlatform"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# "LIBRARY<TAB>symbol" for every allowed import.
allowed=$(awk '/^\[.*\]$/ { library = substr($0, 2, length($0) - 2); next }
               /^#/ || /^$/ { next }
               { print library "\t" $0 }' "$allowlist")

if [ "$platform" = linux ]; then
  modules=("plugins/CullSweep.so" "plugins/ImageTally.so" "plugins/MotionLens.so"
           "plugins/RetiredStubs.so" "lib/libRadiantLoad.so")
  # "LIBRARY<TAB>symbol" for every symbol a stand-in defines.
  defined=$(for library in $stand_ins; do
              "$tool" -DC --defined-only "$build/lib/lib$library.so" |
                sed -n "s/^[0-9a-f]* [A-Za-z] \(.*\)$/$library\t\1/p"
            done)
  # "LIBRARIES<TAB>symbol" for every import of a module that a stand-in
  # defines: the stand-ins that define it, space-separated.
  imports() {
    "$tool" -DC --undefined-only "$1" | sed -n 's/^ *[Uw] //p' | sed 's/@.*$//' | sort -u |
      awk -F'\t' 'NR == FNR { libraries[$2] = libraries[$2] " " $1; next }
                  ($0 in libraries) { print substr(libraries[$0], 2) "\t" $0 }' \
        <(printf '%s\n' "$defined") -
  }
  exports() { "$tool" -DC --defined-only "$1" | sed -n 's/^[0-9a-f]* [A-Za-z] //p' | sort -u; }
else
  modules=("plugins/CullSweep.dll" "plugins/ImageTally.dll" "plugins/MotionLens.dll"
           "plugins/RetiredStubs.dll" "bin/RadiantLoad.dll")
  imports() {
    "$tool" -p "$1" | awk -v stand_ins=" $stand_ins " '
      /DLL Name:/ { library = $3; sub(/\.dll$/, "", library); keep = index(stand_ins, " " library " ") > 0; next }
      /^$/ { keep = 0 }
      keep && NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print library "\t" $3 }' |
      sed 's/\t__Z/\t_Z/' | c++filt | sort -u
  }
  exports() {
    "$tool" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | tail -n +2 |
      sed -n 's/^.*\] //p' | sed 's/^__Z/_Z/' | c++filt | sort -u
  }
fi

for module in "${modules[@]}"; do
  file="$build/$module"
  [ -f "$file" ] || { fail "$file is missing"; continue; }
  name=$(basename "$module")
  while IFS=$'\t' read -r libraries symbol; do
    [ -n "$symbol" ] || continue
    ok=0
    for library in $libraries; do
      grep -qxF -- "$(printf '%s\t%s' "$library" "$symbol")" <<<"$allowed" && ok=1
    done
    [ "$ok" = 1 ] || fail "$name imports $symbol from $libraries"
  done < <(imports "$file")

  given=$(exports "$file")
  case "$name" in
    *RadiantLoad*)
      others=$(grep -v 'ZqHDRReader' <<<"$given" || true)
      [ -z "$others" ] || fail "$name exports more than ZqHDRReader: $others" ;;
    RetiredStubs.*)
      [ "$given" = GetPlugins ] || fail "$name exports $(tr '\n' ' ' <<<"$given")instead of GetPlugins" ;;
    *)
      [ "$given" = "$(printf 'GetCompilerVersion\nGetPlugins')" ] ||
        fail "$name exports $(tr '\n' ' ' <<<"$given")instead of GetCompilerVersion GetPlugins" ;;
  esac
done

[ "$failures" -eq 0 ] || exit 1
echo "imports and exports as allowed"
