#!/usr/bin/env bash
# zqhdr on the 8192 x 4096 synthetic panorama: whole-process time of
# `convert` to .raw and to .png against the stb_image yardstick (one
# stbi_loadf of the same file, its floats written out), run in turns, then
# the peak memory of every conversion, also on images larger than a band.
#
#   bench/zqhdr-bench.sh [BUILD_DIR]      ZQHDR_BENCH_ROUNDS=N (default 7)
set -euo pipefail
build="${1:-build}"
rounds="${ZQHDR_BENCH_ROUNDS:-7}"
zqhdr="$build/bin/zqhdr"
work="$(mktemp -d)"
# Outputs go to memory where there is a tmpfs, so that the disk's writeback,
# shared with whatever else runs, does not decide the timings.
outs="$(mktemp -d -p "$([ -d /dev/shm ] && echo /dev/shm || echo "$work")")"
trap 'rm -rf "$work" "$outs"' EXIT

"$build/bin/readfile_memory" make-images "$work"
image="$work/big-rle.hdr"
echo "== image: 8192 x 4096 synthetic panorama, run-length form written by stb_image_write"
echo "   $("$zqhdr" info "$image" | tr '\n' ' ')"

# Milliseconds of one run of a command; its output file removed first, so
# that no run pays for deleting the one before.
run_ms() {
  local output=$1
  shift
  rm -f "$output"
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

declare -A commands=(
  [stb]="$build/bin/stb_loadf_baseline $image $outs/out.f32"
  [raw]="$zqhdr convert $image $outs/out.raw"
  [png]="$zqhdr convert $image $outs/out.png"
)
declare -A outputs=([stb]="$outs/out.f32" [raw]="$outs/out.raw" [png]="$outs/out.png")
order=(stb raw png)

echo "== speed: $rounds rounds, each running stb, raw and png in turn (one warm-up round);"
echo "   outputs in $outs"
for round in $(seq 0 "$rounds"); do
  for name in "${order[@]}"; do
    # shellcheck disable=SC2086 # the command's words
    ms=$(run_ms "${outputs[$name]}" ${commands[$name]})
    [ "$round" -gt 0 ] && echo "$ms" >>"$work/$name.ms"
  done
  rm -f "$outs"/out.*
done
for name in "${order[@]}"; do
  printf '   %-4s median %6s ms   (runs: %s)\n' "$name" "$(median <"$work/$name.ms")" \
    "$(tr '\n' ' ' <"$work/$name.ms")"
done
stb=$(median <"$work/stb.ms")
for name in raw png; do
  goal=$([ "$name" = raw ] && echo 0.12 || echo 0.5)
  awk -v t="$(median <"$work/$name.ms")" -v s="$stb" -v n="$name" -v g="$goal" \
    'BEGIN { r = t / s; printf "   ratio %s / stb = %.3f (goal at most %s)%s\n", n, r, g, r <= g ? "" : "  OVER" }'
done

# Peak resident memory of one conversion, against its bound in MiB.
peak() {
  local bound=$1 label=$2 input=$3 output=$4
  rm -f "$output"
  /usr/bin/time -o "$work/peak" -f "%M" "$zqhdr" convert "$input" "$output" >/dev/null
  local kib
  kib=$(tail -1 "$work/peak")
  awk -v k="$kib" -v b="$bound" -v l="$label" \
    'BEGIN { m = k / 1024; printf "   %-44s peak %7.1f MiB (bound %s MiB)%s\n", l, m, b, m <= b ? "" : "  OVER" }'
  rm -f "$output"
}

# The same panorama bottom to top: only its resolution line differs.
flipped="$work/flipped.hdr"
cp "$image" "$flipped"
offset=$(grep -abo -- '-Y 4096 +X 8192' "$flipped" | head -1 | cut -d: -f1)
printf '+' | dd of="$flipped" bs=1 seek="$offset" conv=notrunc status=none
# Flat images of random pixels: one of 16384 x 8192 (2 GiB as a whole
# decode), and one whose rows are wider than a band (32 MiB a row).
flat() {
  { printf '#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y %s +X %s\n' "$2" "$3"
    printf '\x80\x80\x80\x80'
    head -c $(($2 * $3 * 4 - 4)) /dev/urandom; } >"$1"
}
flat "$work/large.hdr" 8192 16384
flat "$work/wide.hdr" 4 4194304

echo "== peak memory (bounds: .raw 32 MiB, .exr 48 MiB, .png 48 MiB from top-to-bottom files;"
echo "   rows wider than a band: one row's output + 12 MiB; bottom-to-top .png: + its 8-bit preview)"
peak 32 "8192 x 4096 top to bottom -> .raw" "$image" "$outs/o.raw"
peak 48 "8192 x 4096 top to bottom -> .exr" "$image" "$outs/o.exr"
peak 48 "8192 x 4096 top to bottom -> .png" "$image" "$outs/o.png"
peak 32 "8192 x 4096 bottom to top -> .raw" "$flipped" "$outs/o.raw"
peak 48 "8192 x 4096 bottom to top -> .exr" "$flipped" "$outs/o.exr"
peak 144 "8192 x 4096 bottom to top -> .png" "$flipped" "$outs/o.png"
peak 32 "16384 x 8192 flat -> .raw" "$work/large.hdr" "$outs/o.raw"
peak 48 "16384 x 8192 flat -> .png" "$work/large.hdr" "$outs/o.png"
peak 48 "4194304 x 4 flat -> .raw (one row a band)" "$work/wide.hdr" "$outs/o.raw"

echo "== ReadFile of the whole image, for comparison"
"$build/bin/readfile_memory" "$image"
