#!/usr/bin/env bash
# zqhost.exe under Wine, 64-bit or 32-bit as built: the plug-in listing, an
# options dialog, and one script over the demo scene that removes the hidden
# objects, shows the texture report (with the .hdr texture read through
# RadiantLoad.dll), runs withdrawn plug-ins and views the scene as KFM through
# a real Windows program named in the Wine registry. A 32-bit Windows process
# costs about a minute under emulation, so the checks share processes and the
# independent ones run side by side.
#   integration.sh BUILD_DIR SOURCE_DIR [WINE_LOADER]
set -euo pipefail
build="$1"
source="$2"
wine="${3:-/usr/lib/wine/wine64}"
# reg.exe runs as a 64-bit program: fast, and HKEY_CLASSES_ROOT is shared.
wine64=/usr/lib/wine/wine64
here="$(cd "$(dirname "$0")" && pwd)"
export WINEDEBUG=-all
work="$(mktemp -d)"
key='HKEY_CLASSES_ROOT\KFM.Document\shell\open\command'
trap '"$wine64" reg delete "${key%%\\shell*}" /f >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
host="$build/bin/zqhost.exe"
failures=0
if [ "$wine" = "$wine64" ]; then address_digits=16; else address_digits=8; fi

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# start NAME ARGS...: zqhost.exe in the background, output in $work/NAME.out
# and .err, exit status in $work/NAME.status.
start() {
  local name="$1"
  shift
  (
    status=0
    "$wine" "$host" "$@" >"$work/$name.out" 2>"$work/$name.err" || status=$?
    echo "$status" >"$work/$name.status"
  ) &
}
# check NAME EXPECTED-STATUS: after `wait`.
check() {
  local status
  status=$(cat "$work/$1.status")
  [ "$status" -eq "$2" ] || fail "$1: exit $status, expected $2: $(cat "$work/$1.err")"
}
unix() { tr -d '\r' <"$1"; }

# The viewer step: plug-ins in a tool layout, the viewer in the Wine registry.
app="$work/app"
mkdir -p "$app/tools/plugins" "$app/Data" "$app/viewer"
cp "$build"/plugins/*.dll "$app/tools/plugins/"
cp "$build/bin/RecordingViewer.exe" "$app/viewer/"
viewer="Z:$(tr '/' '\\' <<<"$app/viewer/RecordingViewer.exe")"
"$wine64" reg add "$key" /ve /d "$viewer %1" /f >/dev/null

start plugins plugins
start options options "ps2 viewer"
start script run "$here/end-to-end.json" --scene "$source/examples/scene.json" \
  --plugins "$app/tools/plugins" --save-scene "$work/after.json" --save-dialogs "$work/dialogs"
if [ "$wine" = "$wine64" ]; then
  # A script that is not JSON: where a process is cheap.
  printf '{"steps": [' >"$work/broken.json"
  start broken run "$work/broken.json"
fi
wait

check plugins 0
printf '%s\n' \
  $'CullSweep.dll\tRemove Hidden Objects Plug-in\t1.0\tCullSweepPlugin\tPROCESS' \
  $'ImageTally.dll\tTexture Analyzer\t1.0\tZqImageTallyPlugin\tPROCESS' \
  $'MotionLens.dll\tKFM Viewer\t1.0\tMotionLensPlugin\tViewer' \
  $'RetiredStubs.dll\tTexture Swizzle\t0.0\tDeprecatedProcessPlugin\t-' \
  $'RetiredStubs.dll\tPS2 Viewer\t0.0\tDeprecatedViewerPlugin\t-' \
  $'RetiredStubs.dll\tXbox Viewer\t0.0\tDeprecatedViewerPlugin\t-' \
  $'ZqExporters.dll\tController Extractor\t1.1\tZqControllerExtractorPlugin\tEXPORT' \
  $'ZqExporters.dll\tZQF Exporter\t1.0\tZqfExportPlugin\tEXPORT' >"$work/plugins.expected"
diff <(unix "$work/plugins.out") "$work/plugins.expected" || fail "plugins listing differs"

check options 0
grep -q "\[PS2 Viewer\] This class has been deprecated by Quorvel." "$work/options.err" ||
  fail "options: $(cat "$work/options.err")"

check script 0
placeholder=' (a placeholder: This class has been deprecated by Quorvel. Please remove this plug-in from your script.)'
printf '%s\n' \
  'step 1: Remove Hidden Objects Plug-in (CullSweepPlugin): SUCCESS' \
  'step 2: Texture Analyzer (ZqImageTallyPlugin): SUCCESS' \
  "step 3: Texture Swizzle (TextureSwizzlePlugin): SUCCESS$placeholder" \
  "step 4: PS2 Viewer (PS2ViewerPlugin): SUCCESS$placeholder" \
  "step 5: xbox viewer (XboxViewerPlugin): SUCCESS$placeholder" \
  'step 6: KFM Viewer (MotionLensPlugin)' \
  '  step 1: Controller Extractor (ZqControllerExtractorPlugin): SUCCESS' \
  '  step 2: ZQF Exporter (ZqfExportPlugin): SUCCESS' \
  'step 6: KFM Viewer (MotionLensPlugin): SUCCESS' >"$work/script.expected"
diff <(unix "$work/script.err") "$work/script.expected" || fail "script steps differ"
# The report byte for byte, every line ending in CR CR LF; only the address
# of the texture without a file name may differ.
sed -E "s/<Ptr to [0-9A-F]{1,$address_digits}>/<Ptr to ADDRESS>/" "$work/dialogs/dialog-1.txt" |
  cmp - <(sed 's/$/\r\r/' "$here/texture-report.txt") || fail "texture report differs"
names=$(grep -c '"name"' "$work/after.json" || true)
[ "$names" -eq 9 ] || fail "the saved scene holds $names objects, not 9"
! grep -qE 'EditorGrid|Proxy|Helper|Marker' "$work/after.json" || fail "hidden objects were kept"

if [ "$wine" = "$wine64" ]; then
  check broken 2
  grep -q "broken.json: not valid JSON" "$work/broken.err" || fail "broken: $(cat "$work/broken.err")"
fi

# The viewer runs on its own; under emulation it takes a while to start.
for _ in $(seq 600); do [ -s "$app/viewer/viewer-args.txt" ] && break; sleep 1; done
grep -q 'tools.plugins.\.\.\\\.\.\\Data\\MOTIONLENSTEMP\.KFM$' <(unix "$app/viewer/viewer-args.txt" 2>/dev/null) ||
  fail "viewer: started with '$(cat "$app/viewer/viewer-args.txt" 2>/dev/null)'"
[ -f "$app/Data/MOTIONLENSTEMP.KFM" ] || fail "no KFM file was exported"

[ "$failures" -eq 0 ] || exit 1
echo "viewer started with: $(unix "$app/viewer/viewer-args.txt")"
echo "zqhost.exe under Wine: all checks passed"
