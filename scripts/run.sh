#!/usr/bin/env bash
# Installs what is missing, builds Veltrane (release) and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANE_BUILD_TESTS=OFF -DVELTRANE_BUILD_BENCH=OFF
cmake --build build-release -j2
echo "Veltrane's core is built; no front end exists yet. 'scripts/test.sh' runs everything there is."
