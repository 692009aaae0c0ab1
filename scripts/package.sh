#!/usr/bin/env bash
# Makes the Debian package veltrane_<version>_<arch>.deb (CPack's DEB generator) from a release
# build, checks it with lintian and says where it is. The build is the one scripts/test.sh
# compiles (build-release-test) when it exists, so that nothing is compiled twice; otherwise
# build-release.
#
#   scripts/package.sh [BUILD_DIR]
#   sudo apt install ./build-release-test/veltrane_0.1.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${1:-}
if [ -z "$build" ]; then
    build=build-release
    [ -f build-release-test/CMakeCache.txt ] && build=build-release-test
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANE_BUILD_TESTS=OFF -DVELTRANE_BUILD_BENCH=OFF
fi
if grep -q '^VELTRANE_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
    echo "package.sh: $build is a sanitizer build; a package is made from a release build" >&2
    exit 2
fi
cmake --build "$build" -j2
rm -f "$build"/veltrane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/veltrane_*.deb)
# Errors fail the package; warnings are shown.
lintian --fail-on error "$package"
echo "$package"
