#!/usr/bin/env bash
# Builds the release configuration and runs the benchmarks. Numbers are for notes and
# comparisons; nothing here fails on a slow machine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANE_BUILD_TESTS=OFF -DVELTRANE_BUILD_BENCH=ON
cmake --build build-release -j2
for bench in build-release/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" "$@"
done
