#!/usr/bin/env bash
# Builds the reader's fuzzer with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for SECONDS on the seed corpus.
#   fuzz/build.sh [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
out="$root/build-fuzz"
mkdir -p "$out/corpus"
cp -n "$root"/fuzz/corpus/* "$out/corpus/"

sources=("$root"/fuzz/ReadFileFuzzer.cpp "$root"/radiantload/*.cpp
         "$root"/interfaces/ZqSystem/*.cpp "$root"/interfaces/ZqMain/*.cpp
         "$root"/interfaces/platform/*Posix.cpp "$root"/interfaces/platform/ZqPlatformHooks.cpp
         "$root"/interfaces/platform/ZqCommandLine.cpp "$root"/interfaces/platform/ZqRegistryFile.cpp
         "$root"/interfaces/platform/ZqFloat16.cpp)
includes=()
for folder in interfaces interfaces/platform interfaces/ZqSystem interfaces/ZqMain radiantload; do
  includes+=(-I "$root/$folder")
done
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -DZQ_BUILD_PLATFORM -DZQ_BUILD_SYSTEM -DZQ_BUILD_MAIN -DZQ_BUILD_RADIANTLOAD \
  "${includes[@]}" "${sources[@]}" -ldl -lpthread -o "$out/readfile_fuzzer"

# Findings fail the run: libFuzzer exits non-zero on any crash, leak or report.
"$out/readfile_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
  -print_final_stats=1 "$out/corpus"
