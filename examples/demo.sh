#!/usr/bin/env bash
# The demo: a scene with hidden objects at several depths, before and after a
# script that removes them.
set -euo pipefail
build="${1:-build}"
here="$(cd "$(dirname "$0")" && pwd)"
host="$build/bin/zqhost"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "== Plug-ins"
"$host" plugins

echo
echo "== Scene before"
"$host" scene "$here/scene.json" | tee "$work/before.txt"

echo
echo "== Running remove-hidden.json (removal, then the texture report)"
"$host" run "$here/remove-hidden.json" --scene "$here/scene.json" --save-scene "$work/after.json"

echo
echo "== Scene after"
"$host" scene "$work/after.json" | tee "$work/after.txt"

echo
echo "== Running old-pipeline.json (names withdrawn plug-ins)"
"$host" run "$here/old-pipeline.json" --scene "$here/scene.json"

echo
echo "== Options dialog of a withdrawn plug-in"
"$host" options "PS2 Viewer"

echo
echo "== Viewing the scene as KFM (view-kfm.json)"
# A tool layout like an artist's: the modules alone in tools/plugins, data in Data/.
app="$work/app"
mkdir -p "$app/tools/plugins" "$app/Data"
cp "$build"/plugins/*.so "$app/tools/plugins/"
PATH="$here:$PATH" ZQ_VIEWER_LOG="$work/viewer.log" "$host" run "$here/view-kfm.json" \
  --scene "$here/scene.json" --plugins "$app/tools/plugins" --registry "$here/registry.reg"
# The viewer runs on its own; its report appears whole, once it is complete.
for _ in $(seq 300); do [ -e "$work/viewer.log" ] && break; sleep 0.1; done
cat "$work/viewer.log"

count() { grep -E '^[0-9]+ objects?$' "$1" | cut -d' ' -f1; }
before=$(count "$work/before.txt")
after=$(count "$work/after.txt")
echo
echo "Removed $((before - after)) of $before objects."
