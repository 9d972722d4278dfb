#!/bin/bash
# install-test.sh BUILD_DIR SOURCE_DIR [CXX_FLAGS]
# Installs the build into a scratch prefix, moves the prefix (the install must
# not lean on the build tree), checks the layout (headers in include/zq, the
# versioned libraries and their links, the pkg-config file), builds a small
# outside project against the installed CMake package and the README's
# example (examples/read-hdr) both through the CMake package and with a plain
# g++ command from pkg-config, and checks that they, zqhdr and zqhost work
# from there.
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
libraries="RadiantLoad ZqMain ZqSystem ZqPlatform ZqPluginToolkit ZqStandardSharedData ZqAnimation
           ZqOptimization"
for file in bin/zqhost $tool lib/zq/plugins/CullSweep.so lib/zq/plugins/ImageTally.so \
            lib/zq/plugins/MotionLens.so lib/zq/plugins/RetiredStubs.so include/zq/ZqHDRReader.h \
            lib/cmake/RadiantLoad/RadiantLoadConfig.cmake lib/pkgconfig/radiantload.pc; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
# Nothing but the project's own folder straight in include/.
others=$(ls -A "$prefix/include" | grep -vx zq || true)
[ -z "$others" ] || { echo "installed in include/ beside zq/: $others"; exit 1; }

# Each library as lib/libNAME.so.1.0 with SONAME libNAME.so.1, and the links
# libNAME.so.1 (what programs load) and libNAME.so (what the linker takes).
version=$(sed -n 's/^Version: //p' "$prefix/lib/pkgconfig/radiantload.pc")
major=${version%%.*}
for library in $libraries; do
  file=lib/lib$library.so.$version
  [ -f "$prefix/$file" ] && [ ! -L "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
  soname=$(readelf -d "$prefix/$file" | sed -n 's/.*(SONAME).*\[\(.*\)\]$/\1/p')
  [ "$soname" = "lib$library.so.$major" ] || { echo "$file has SONAME '$soname'"; exit 1; }
  for link in "lib$library.so.$major" "lib$library.so"; do
    [ "$(readlink -f "$prefix/lib/$link")" = "$(readlink -f "$prefix/$file")" ] ||
      { echo "lib/$link does not lead to $file"; exit 1; }
  done
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

# The README's example, on the sky: its first scanline is RGBE (32, 57, 153,
# 129) throughout, (m + 0.5) / 128 each, exact in half floats.
expected="64 x 32
top-left pixel: 3410 3730 3ccc 3c00"
example=$source/examples/read-hdr
cmake -S "$example" -B "$scratch/read-hdr" -G Ninja \
      -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$scratch/read-hdr" >/dev/null
said=$("$scratch/read-hdr/read-hdr" "$source/examples/sky.hdr")
[ "$said" = "$expected" ] || { echo "read-hdr (CMake package) says: $said"; exit 1; }

# The same with a plain g++ command from the pkg-config file alone (no other
# .pc file looked at), run as it is: the rpath it carries finds the libraries.
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
unset PKG_CONFIG_PATH LD_LIBRARY_PATH
[ "$(pkg-config --modversion radiantload)" = "$version" ] || { echo "pkg-config version"; exit 1; }
# shellcheck disable=SC2046,SC2086 # the flags are words
g++ $flags "$example/main.cpp" -o "$scratch/read-hdr-pc" $(pkg-config --cflags --libs radiantload)
said=$("$scratch/read-hdr-pc" "$source/examples/sky.hdr")
[ "$said" = "$expected" ] || { echo "read-hdr (pkg-config) says: $said"; exit 1; }
unset PKG_CONFIG_LIBDIR

plugins=$("$prefix/bin/zqhost" plugins)
for line in "CullSweep.so	Remove Hidden Objects Plug-in" "ImageTally.so	Texture Analyzer" \
            "MotionLens.so	KFM Viewer" "RetiredStubs.so	Texture Swizzle" \
            "ZqExporters.so	ZQF Exporter"; do
  grep -qF "$line" <<<"$plugins" || { echo "zqhost plugins lacks: $line"; echo "$plugins"; exit 1; }
done
echo "installed, consumer and read-hdr (CMake, pkg-config) built and run," \
     "zqhost found $(wc -l <<<"$plugins") plug-ins"
