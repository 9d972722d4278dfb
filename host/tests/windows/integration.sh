#!/usr/bin/env bash
# zqhost.exe under 64-bit Wine: listing, running scripts over a scene, the
# options dialog, a bad script, and a viewer step that reads the viewer from
# the Wine registry and starts a real Windows program.
#   integration.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
source="$2"
wine="${WINE64:-/usr/lib/wine/wine64}"
export WINEDEBUG=-all
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
host="$build/bin/zqhost.exe"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# run NAME EXPECTED-STATUS ARGS...: zqhost.exe's output in $work/NAME.out and .err.
run() {
  local name="$1" expected="$2"
  shift 2
  local status=0
  "$wine" "$host" "$@" >"$work/$name.out" 2>"$work/$name.err" || status=$?
  [ "$status" -eq "$expected" ] || fail "$name: exit $status, expected $expected: $(cat "$work/$name.err")"
}
unix() { tr -d '\r' <"$1"; }

run plugins 0 plugins
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

run demo 0 run "$source/examples/remove-hidden.json" --scene "$source/examples/scene.json" \
  --save-scene "$work/after.json" --save-dialogs "$work/dialogs"
grep -q "step 2: Texture Analyzer (ZqImageTallyPlugin): SUCCESS" "$work/demo.err" ||
  fail "demo: $(cat "$work/demo.err")"
grep -q "Total Known Texture Size:" "$work/dialogs/dialog-1.txt" || fail "no texture report saved"
run after 0 scene "$work/after.json"
grep -qx "9 objects" <(unix "$work/after.out") || fail "the hidden objects were not removed"

run old 0 run "$source/examples/old-pipeline.json" --scene "$source/examples/scene.json"
run options 0 options "ps2 viewer"
grep -q "\[PS2 Viewer\] This class has been deprecated by Quorvel." "$work/options.err" ||
  fail "options: $(cat "$work/options.err")"
printf '{"steps": [' >"$work/broken.json"
run broken 2 run "$work/broken.json"
grep -q "broken.json: not valid JSON" "$work/broken.err" || fail "broken: $(cat "$work/broken.err")"

# The viewer step: plug-ins in a tool layout, the viewer in the Wine registry.
app="$work/app"
mkdir -p "$app/tools/plugins" "$app/Data" "$app/viewer"
cp "$build"/plugins/*.dll "$app/tools/plugins/"
cp "$build/bin/RecordingViewer.exe" "$app/viewer/"
viewer="Z:$(tr '/' '\\' <<<"$app/viewer/RecordingViewer.exe")"
"$wine" reg add 'HKEY_CLASSES_ROOT\KFM.Document\shell\open\command' /ve /d "$viewer %1" /f >/dev/null
run viewer 0 run "$source/examples/view-kfm.json" --scene "$source/examples/scene.json" \
  --plugins "$app/tools/plugins"
"$wine" reg delete 'HKEY_CLASSES_ROOT\KFM.Document' /f >/dev/null 2>&1 || true
for _ in $(seq 100); do [ -s "$app/viewer/viewer-args.txt" ] && break; sleep 0.1; done
grep -q 'tools.plugins.\.\.\\\.\.\\Data\\MOTIONLENSTEMP\.KFM$' <(unix "$app/viewer/viewer-args.txt" 2>/dev/null) ||
  fail "viewer: started with '$(cat "$app/viewer/viewer-args.txt" 2>/dev/null)'; $(cat "$work/viewer.err")"
[ -f "$app/Data/MOTIONLENSTEMP.KFM" ] || fail "no KFM file was exported"

[ "$failures" -eq 0 ] || exit 1
echo "viewer started with: $(unix "$app/viewer/viewer-args.txt")"
echo "zqhost.exe under Wine: all checks passed"
