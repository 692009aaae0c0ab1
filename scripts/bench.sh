#!/usr/bin/env bash
# Builds the release configuration and runs the benchmarks. Numbers are for notes and
# comparisons; nothing here fails on a slow machine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANE_BUILD_TESTS=ON -DVELTRANE_BUILD_BENCH=ON
cmake --build build-release -j2 --target bench_track_cache bench_library_parse bench_refresh_devices bench_make_library \
    bench_mtp_operations bench_mtp_refresh_cpu bench_phone_run bench_window bench_backup veltrane-sync
echo "== track cache"
build-release/bench/bench_track_cache "$@"
echo "== device list refresh"
build-release/bench/bench_refresh_devices "$@"
echo "== the window: start to first state with 100,000 tracks, GUI stalls during a 2,000-track sync"
build-release/bench/bench_window
echo "== phones over MTP: operations per track, refresh CPU with no phone"
build-release/bench/bench_mtp_operations
build-release/bench/bench_mtp_refresh_cpu
echo "== whole veltrane-sync runs on the software phone, MTP operations counted on the wire"
build-release/bench/bench_phone_run 2000
echo "== iPhone backups: a large message database exported, bytes the extractor reads"
build-release/bench/bench_backup
echo "== iTunes library, beside plistlib and xmllint"
bash bench/library/compare_parsers.sh build-release/bench/bench_library_parse
build-release/bench/bench_library_parse
echo "== whole synchronizations, beside cp and rsync"
bash bench/sync/sync_bench.sh build-release
