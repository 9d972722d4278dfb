#!/usr/bin/env bash
# zqhdr on the 8192 x 4096 synthetic panorama: whole-process time of
# `convert` to .raw and to .png against the stb_image yardstick (one
# stbi_loadf of the same file, its floats written out), and .png with one
# compressing thread against two, run in turns, then the peak memory of every
# conversion, also on images larger than a band.
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
  [png-t1]="$zqhdr convert $image $outs/out-t1.png --threads 1"
  [png-t2]="$zqhdr convert $image $outs/out-t2.png --threads 2"
  [exr-t1]="$zqhdr convert $image $outs/out-t1.exr --threads 1"
  [exr-t2]="$zqhdr convert $image $outs/out-t2.exr --threads 2"
)
declare -A outputs=([stb]="$outs/out.f32" [raw]="$outs/out.raw" [png]="$outs/out.png"
                    [png-t1]="$outs/out-t1.png" [png-t2]="$outs/out-t2.png"
                    [exr-t1]="$outs/out-t1.exr" [exr-t2]="$outs/out-t2.exr")
order=(stb raw png png-t1 png-t2 exr-t1 exr-t2)

echo "== speed: $rounds rounds, each running ${order[*]} in turn (one warm-up round);"
echo "   outputs in $outs"
for round in $(seq 0 "$rounds"); do
  for name in "${order[@]}"; do
    # shellcheck disable=SC2086 # the command's words
    ms=$(run_ms "${outputs[$name]}" ${commands[$name]})
    [ "$round" -gt 0 ] && echo "$ms" >>"$work/$name.ms"
  done
  # The last round's previews stay for the pixel check below.
  [ "$round" -lt "$rounds" ] && rm -f "$outs"/out*
done
for name in "${order[@]}"; do
  printf '   %-6s median %6s ms   (runs: %s)\n' "$name" "$(median <"$work/$name.ms")" \
    "$(tr '\n' ' ' <"$work/$name.ms")"
done
stb=$(median <"$work/stb.ms")
for name in raw png; do
  goal=$([ "$name" = raw ] && echo 0.12 || echo 0.5)
  awk -v t="$(median <"$work/$name.ms")" -v s="$stb" -v n="$name" -v g="$goal" \
    'BEGIN { r = t / s; printf "   ratio %s / stb = %.3f (goal at most %s)%s\n", n, r, g, r <= g ? "" : "  OVER" }'
done

awk -v one="$(median <"$work/png-t1.ms")" -v two="$(median <"$work/png-t2.ms")" \
  'BEGIN { r = one / two; printf "   speed-up png --threads 2 / --threads 1 = %.2f (goal at least 1.6)%s\n", r, (r >= 1.6 ? "" : "  UNDER") }'
awk -v one="$(median <"$work/exr-t1.ms")" -v two="$(median <"$work/exr-t2.ms")" \
  'BEGIN { printf "   speed-up exr --threads 2 / --threads 1 = %.2f\n", one / two }'
echo "== pixels of the previews, decoded by libpng, against the tone-mapped ReadFile"
"$build/bin/png_preview_check" "$image" "$outs/out.png" "$outs/out-t1.png" "$outs/out-t2.png"
rm -f "$outs"/out*

# Peak resident memory of one conversion, against its bound in MiB; more
# words after the output go to zqhdr.
peak() {
  local bound=$1 label=$2 input=$3 output=$4
  shift 4
  rm -f "$output"
  /usr/bin/time -o "$work/peak" -f "%M" "$zqhdr" convert "$input" "$output" "$@" >/dev/null
  local kib
  kib=$(tail -1 "$work/peak")
  awk -v k="$kib" -v b="$bound" -v l="$label" \
    'BEGIN { m = k / 1024; printf "   %-52s peak %7.1f MiB (bound %s MiB)%s\n", l, m, b, m <= b ? "" : "  OVER" }'
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

echo "== peak memory, one compressing thread unless said (bounds: .raw 21 MiB, .exr 24 MiB,"
echo "   .png 28 MiB; with two threads 48 MiB; rows wider than a band: one row's output + 12 MiB;"
echo "   bottom-to-top .png: + its 8-bit preview)"
peak 21 "8192 x 4096 top to bottom -> .raw" "$image" "$outs/o.raw" --threads 1
peak 24 "8192 x 4096 top to bottom -> .exr" "$image" "$outs/o.exr" --threads 1
peak 28 "8192 x 4096 top to bottom -> .png" "$image" "$outs/o.png" --threads 1
peak 48 "8192 x 4096 top to bottom -> .exr --threads 2" "$image" "$outs/o.exr" --threads 2
peak 48 "8192 x 4096 top to bottom -> .png --threads 2" "$image" "$outs/o.png" --threads 2
peak 24 "8192 x 4096 top to bottom -> .exr --max-size 1024" "$image" "$outs/o.exr" --threads 1 --max-size 1024
peak 21 "8192 x 4096 bottom to top -> .raw" "$flipped" "$outs/o.raw" --threads 1
peak 24 "8192 x 4096 bottom to top -> .exr" "$flipped" "$outs/o.exr" --threads 1
peak 124 "8192 x 4096 bottom to top -> .png" "$flipped" "$outs/o.png" --threads 1
peak 144 "8192 x 4096 bottom to top -> .png --threads 2" "$flipped" "$outs/o.png" --threads 2
peak 21 "16384 x 8192 flat -> .raw" "$work/large.hdr" "$outs/o.raw" --threads 1
peak 28 "16384 x 8192 flat -> .png" "$work/large.hdr" "$outs/o.png" --threads 1
peak 48 "4194304 x 4 flat -> .raw (one row a band)" "$work/wide.hdr" "$outs/o.raw" --threads 1
peak 56 "4194304 x 4 flat -> .png (one row a band)" "$work/wide.hdr" "$outs/o.png" --threads 1

# Standard input and output: the same bounds as files.
stdio_peak() {
  local bound=$1 kind=$2 input=$3 order=$4
  /usr/bin/time -o "$work/peak" -f "%M" "$zqhdr" convert - - --to "$kind" --threads 1 \
    <"$input" >"$outs/o.$kind"
  awk -v k="$(tail -1 "$work/peak")" -v b="$bound" -v l="8192 x 4096 $order stdin -> stdout .$kind" \
    'BEGIN { m = k / 1024; printf "   %-52s peak %7.1f MiB (bound %s MiB)%s\n", l, m, b, m <= b ? "" : "  OVER" }'
  rm -f "$outs/o.$kind"
}
stdio_peak 21 raw "$image" "top to bottom"
stdio_peak 24 exr "$image" "top to bottom"
stdio_peak 28 png "$image" "top to bottom"
stdio_peak 21 raw "$flipped" "bottom to top (spooled)"

echo "== ReadFile of the whole image, for comparison"
"$build/bin/readfile_memory" "$image"
