#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the test configuration
# (AddressSanitizer and UndefinedBehaviorSanitizer, warnings on) and in a release configuration
# (-O2, no sanitizers), so that nothing passes only because of how it was compiled.
#
#   scripts/test.sh              both configurations
#   scripts/test.sh sanitize     only the sanitizer build (build-test)
#   scripts/test.sh release      only the release build (build-release-test)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
which=${1:-all}

run_suite() {
    local build=$1
    shift
    cmake -S . -B "$build" -G Ninja -DVELTRANE_BUILD_TESTS=ON -DVELTRANE_BUILD_BENCH=ON "$@"
    cmake --build "$build" -j2
    # No test may wait more than a minute (each has its own limit; this is the default).
    ctest --test-dir "$build" -j2 --output-on-failure --timeout 60
}

if [ "$which" = all ] || [ "$which" = sanitize ]; then
    echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    run_suite "${VELTRANE_TEST_BUILD:-build-test}" -DCMAKE_BUILD_TYPE=Debug -DVELTRANE_SANITIZE=ON
fi
if [ "$which" = all ] || [ "$which" = release ]; then
    echo "== Tests in the release build"
    run_suite "${VELTRANE_RELEASE_TEST_BUILD:-build-release-test}" -DCMAKE_BUILD_TYPE=Release -DVELTRANE_SANITIZE=OFF
fi
