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
echo "== Running remove-hidden.json"
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

before=$(tail -n 1 "$work/before.txt" | cut -d' ' -f1)
after=$(tail -n 1 "$work/after.txt" | cut -d' ' -f1)
echo
echo "Removed $((before - after)) of $before objects."
