#!/usr/bin/env bash
# `zqhdr convert big.hdr out.raw` against one stbi_loadf of the same file plus
# writing its floats, alternating runs, and the peak memory of each.
set -euo pipefail
build="${1:-build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bin/readfile_memory" make-images "$work"
for image in big-rle big-flat; do
  hyperfine --warmup 2 --runs 10 \
    -n "zqhdr $image" "$build/bin/zqhdr convert $work/$image.hdr $work/out.raw" \
    -n "stbi_loadf $image" "$build/bin/stb_loadf_baseline $work/$image.hdr $work/out.f32"
  "$build/bin/readfile_memory" "$work/$image.hdr"
  /usr/bin/time -f "zqhdr convert $image: peak %M KiB" \
    "$build/bin/zqhdr" convert "$work/$image.hdr" "$work/out.raw"
done
