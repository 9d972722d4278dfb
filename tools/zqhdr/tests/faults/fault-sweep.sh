#!/usr/bin/env bash
# Fails each allocation of a zqhdr run in turn, one run a point, then each
# write, for every output format and for a batch of one file, and checks what
# each run left: exit 0 with the undisturbed run's output, or exit 1 saying
# memory (or the disk) ran out with the file that stood at the output path
# untouched and no temporary file; never a signal.
# usage: fault-sweep.sh ZQHDR FAILING_ALLOCATOR_LIBRARY
set -u

zqhdr=$1
allocator=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A 64 x 32 run-length image: literal runs for the colour planes, a repeat
# run for the exponents. Its header lines are carried into OpenEXR outputs.
make_image() {
    printf '#?RADIANCE\n# made for the sweep\nEXPOSURE=1\nFORMAT=32-bit_rle_rgbe\n'
    printf 'PRIMARIES=0.64 0.33 0.3 0.6 0.15 0.06 0.3127 0.329\nEXPOSURE=2\n\n-Y 32 +X 64\n'
    local row plane column escapes byte
    for ((row = 0; row < 32; ++row)); do
        escapes='\x02\x02\x00\x40'
        for ((plane = 0; plane < 3; ++plane)); do
            escapes+='\x40'
            for ((column = 0; column < 64; ++column)); do
                printf -v byte '\\x%02x' $(((row * 7 + column * 3 + plane * 50) % 256))
                escapes+=$byte
            done
        done
        printf -v byte '\\xc0\\x%02x' $((126 + row % 4))
        escapes+=$byte
        printf "$escapes"
    done
}

# The command and the output file of a sweep, run in a folder of its own.
# Standard output ("stdout-KIND") goes to the folder's stdout file; "sized-KIND"
# makes a smaller image. One thread, so that the order of allocations is fixed.
command_for() {
    case $1 in
    batch) echo "batch ../../small.hdr --to raw --out . --jobs 1 --threads 1" ;;
    stdout-*) echo "convert ../../small.hdr - --to ${1#stdout-} --threads 1" ;;
    sized-*) echo "convert ../../small.hdr out.${1#sized-} --max-size 20 --threads 1" ;;
    *) echo "convert ../../small.hdr out.$1 --threads 1" ;;
    esac
}
output_for() {
    case $1 in
    batch) echo small.raw ;;
    stdout-*) echo stdout ;;
    sized-*) echo "out.${1#sized-}" ;;
    *) echo "out.$1" ;;
    esac
}

# Runs one point of a fault, allocation or write (0: none failed), in
# FOLDER; prints "STATUS".
run_point() {
    local kind=$1 fault=$2 point=$3 folder=$4 allocation=0 write=0
    [[ $fault == allocation ]] && allocation=$point
    [[ $fault == write ]] && write=$point
    mkdir -p "$folder"
    cp "$work/sentinel" "$folder/$(output_for "$kind")"
    # shellcheck disable=SC2046
    # Spool files for standard output go to the folder too, where a leftover shows.
    (cd "$folder" && TMPDIR=. ZQ_FAIL_ALLOCATION=$allocation ZQ_FAIL_WRITE=$write \
        ZQ_FAULT_COUNT_FILE=count LD_PRELOAD=$allocator \
        "$zqhdr" $(command_for "$kind") >stdout 2>stderr) 2>/dev/null
    echo $?
}

# Checks one point; prints "KIND-FAULT POINT STATUS VERDICT", the verdict
# "ok" or what went wrong.
check_point() {
    local kind=$1 fault=$2 point=$3
    local name=$kind-$fault-$(printf '%06d' "$point")
    local folder=$work/$kind/$name
    local status output verdict=ok cause='out of memory|Cannot allocate memory'
    [[ $fault == write ]] && cause='No space left on device|disk full'
    status=$(run_point "$kind" "$fault" "$point" "$folder")
    output=$folder/$(output_for "$kind")
    local leftover
    leftover=$(cd "$folder" && ls -A | grep -v -x -e stdout -e stderr -e count -e "$(output_for "$kind")")
    if ((status >= 128)); then
        verdict="signal $((status - 128))"
    elif ((status == 0)); then
        if ! cmp -s "$output" "$work/$kind/reference"; then
            if cmp -s "$output" "$work/sentinel"; then
                verdict="exit 0, output not written"
            else
                verdict="exit 0, output differs from the undisturbed run's"
            fi
        fi
    elif ((status == 1)); then
        if ! grep -q -i -E "$cause" "$folder/stderr"; then
            verdict="exit 1 without saying what ran out"
        elif [[ $kind == stdout-* ]]; then
            : # standard output cannot be whole or nothing: part of it may be there
        elif cmp -s "$output" "$work/$kind/reference"; then
            verdict="exit 1, yet the output was written"
        elif ! cmp -s "$output" "$work/sentinel"; then
            verdict="exit 1, file at the output path changed"
        fi
    else
        verdict="exit $status"
    fi
    if [[ $verdict == ok && -n $leftover ]]; then
        verdict="files left behind"
    fi
    if [[ $verdict != ok ]]; then
        mkdir -p "$work/failed"
        {
            echo "$kind, $fault N=$point, status $status: $verdict"
            [[ -n $leftover ]] && echo "  left in the folder: $(echo $leftover)"
            echo "  output: $(wc -c <"$output") bytes; the undisturbed run's: $(wc -c <"$work/$kind/reference")"
            sed 's/^/  stderr: /' "$folder/stderr" | head -n 5
        } >"$work/failed/$name"
    fi
    echo "$kind-$fault $point $status $verdict"
    rm -rf "$folder"
}
export -f run_point check_point command_for output_for
export zqhdr allocator work

make_image >"$work/small.hdr"
echo "a file that stood here before" >"$work/sentinel"
kinds="raw exr png batch stdout-raw stdout-exr stdout-png sized-raw sized-exr sized-png"
for kind in $kinds; do
    mkdir -p "$work/$kind"
    folder=$work/$kind/undisturbed
    status=$(run_point "$kind" allocation 0 "$folder")
    if ((status != 0)); then
        echo "undisturbed $kind run failed with status $status:" >&2
        cat "$folder/stderr" >&2
        exit 1
    fi
    cp "$folder/$(output_for "$kind")" "$work/$kind/reference"
    # No count means the allocator was not put in front: nothing would be swept.
    if ! { read -r allocations writes <"$folder/count"; } 2>/dev/null || ((allocations == 0)); then
        echo "the failing allocator counted nothing in the $kind run" >&2
        exit 1
    fi
    echo "$kind $allocations allocations, $writes writes;" >>"$work/points"
    seq 1 "$allocations" | sed "s/^/$kind allocation /" >>"$work/todo"
    seq 1 "$writes" | sed "s/^/$kind write /" >>"$work/todo"
done

start=$SECONDS
jobs=$(getconf _NPROCESSORS_ONLN 2>/dev/null || echo 2)
xargs -P "$jobs" -n 3 bash -c 'check_point "$0" "$1" "$2"' <"$work/todo" >"$work/results"

echo "points: $(tr '\n' ' ' <"$work/points")"
echo "runs: $(wc -l <"$work/results") in $((SECONDS - start)) s"
for kind in $(awk '{ print $1 }' "$work/results" | sort -u); do
    awk -v kind="$kind" '$1 == kind {
            total++
            if ($3 == 0) zero++; else if ($3 == 1) one++; else other++
            if ($4 != "ok") bad++
        }
        END { printf "%s: %d runs, exit 0: %d, exit 1: %d, other: %d, failing: %d\n",
                     kind, total, zero, one, other, bad }' "$work/results"
done
if ! awk '$4 != "ok" { exit 1 }' "$work/results"; then
    echo "failing points by kind and verdict:"
    awk '$4 != "ok" { $2 = ""; $3 = ""; print }' "$work/results" | sort | uniq -c | sort -rn
    echo
    cat "$work"/failed/*
    exit 1
fi
echo "every point ended as it should"
