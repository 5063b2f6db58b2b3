#!/usr/bin/env bash
# Cross-builds the host, the stand-in library and the Windows tests with
# MinGW-w64: i686 (the product) into build-windows/i686 and x86_64 (for the
# tests under wine64) into build-windows/x86_64. jsoncpp is fetched once into
# build-windows/jsoncpp-source and kept there.
# TAVMO_WINDOWS_BUILD_DIR chooses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TAVMO_WINDOWS_BUILD_DIR:-build-windows}
scripts/install-deps.sh windows

for arch in i686 x86_64; do
  # The product is checked by building it; the tests run on the x86_64 build.
  tests=OFF
  [ "$arch" = x86_64 ] && tests=ON
  cmake -S . -B "$build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVMO_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/mingw-$arch.cmake" -DTAVMO_BUILD_TESTS=$tests \
    -DTAVMO_JSONCPP_SOURCE_CACHE="$PWD/$build/jsoncpp-source" >/dev/null
  cmake --build "$build/$arch"
done
# The product's installer and its zip, named after the version (facts.env):
# $build/i686/TavmoClientForWeb-<version>-win32.msi and .zip.
(cd "$build/i686" && cpack >/dev/null)
