#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer, warnings on) and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${VELTRANE_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELTRANE_SANITIZE=ON \
      -DVELTRANE_BUILD_TESTS=ON -DVELTRANE_BUILD_BENCH=ON
cmake --build "$build" -j2
ctest --test-dir "$build" -j2 --output-on-failure --timeout 900
