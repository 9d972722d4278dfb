#!/bin/bash
# install-test.sh BUILD_DIR SOURCE_DIR [CXX_FLAGS]
# Installs the build into a scratch prefix, moves the prefix (the install must
# not lean on the build tree), builds a small outside project against the
# installed package and checks that it, zqhdr and zqhost work from there.
set -euo pipefail
build=$1
source=$2
flags=${3:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/first" >/dev/null
mv "$scratch/first" "$scratch/prefix"
prefix=$scratch/prefix

# zqhdr where the build has it (not in 32-bit builds, for want of 32-bit OpenEXR).
tool=
[ -e "$build/bin/zqhdr" ] && tool=bin/zqhdr
for file in bin/zqhost $tool lib/libRadiantLoad.so lib/libZqMain.so lib/libZqSystem.so \
            lib/libZqPlatform.so lib/zq/plugins/CullSweep.so lib/zq/plugins/ImageTally.so \
            lib/zq/plugins/MotionLens.so lib/zq/plugins/RetiredStubs.so include/ZqHDRReader.h \
            lib/cmake/RadiantLoad/RadiantLoadConfig.cmake; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done

cmake -S "$source/cmake/tests/consumer" -B "$scratch/consumer" -G Ninja \
      -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$scratch/consumer" >/dev/null
size=$("$scratch/consumer/decode" "$source/examples/sky.hdr" "$scratch/consumer.raw")
[ "$size" = "64 x 32" ] || { echo "consumer says: $size"; exit 1; }
if [ -n "$tool" ]; then
  "$prefix/bin/zqhdr" convert "$source/examples/sky.hdr" "$scratch/zqhdr.raw"
  cmp "$scratch/consumer.raw" "$scratch/zqhdr.raw"
fi

plugins=$("$prefix/bin/zqhost" plugins)
for line in "CullSweep.so	Remove Hidden Objects Plug-in" "ImageTally.so	Texture Analyzer" \
            "MotionLens.so	KFM Viewer" "RetiredStubs.so	Texture Swizzle" \
            "ZqExporters.so	ZQF Exporter"; do
  grep -qF "$line" <<<"$plugins" || { echo "zqhost plugins lacks: $line"; echo "$plugins"; exit 1; }
done
echo "installed, consumer built and run, zqhost found $(wc -l <<<"$plugins") plug-ins"
