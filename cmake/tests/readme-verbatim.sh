#!/bin/bash
# readme-verbatim.sh SOURCE_DIR
# README.md shows some of the repository's files whole: a line
#   <!-- verbatim: PATH -->
# is followed by a fenced code block that must hold PATH's text exactly.
set -euo pipefail
source=$1
readme=$source/README.md
count=0
while read -r path; do
  # The fenced block after the marker, without its fence lines.
  shown=$(awk -v marker="<!-- verbatim: $path -->" '
    $0 == marker { found = 1; next }
    found == 1 && /^```/ { found = 2; next }
    found == 2 && /^```$/ { exit }
    found == 2 { print }' "$readme")
  [ -f "$source/$path" ] || { echo "README.md shows $path, which does not exist"; exit 1; }
  if ! diff -u --label "$path" --label "README.md" "$source/$path" - <<<"$shown"; then
    echo "README.md does not show $path as it is"
    exit 1
  fi
  count=$((count + 1))
done < <(sed -n 's/^<!-- verbatim: \(.*\) -->$/\1/p' "$readme")
[ "$count" -gt 0 ] || { echo "README.md shows no file verbatim"; exit 1; }
echo "README.md shows $count files as they are"
