#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) in build-fuzz and runs
# each for SECONDS (default 20) with a fixed seed on its corpus: the hand-made seeds of
# fuzz/corpus/<target>, the real files of tests/data, and what earlier runs found (kept in
# build-fuzz/corpus). Fails on the first report; the crashing input is left in build-fuzz/crashes.
#
#   scripts/fuzz.sh                 every target, 20 s each (what CI runs)
#   scripts/fuzz.sh 600             every target, ten minutes each
#   scripts/fuzz.sh 600 plist ipd   only those targets
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRANE_FUZZ=ON \
    -DVELTRANE_BUILD_TESTS=OFF -DVELTRANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(itunes_xml settings track_cache device_files manifest_db manifest_mbdb plist message_body note_body
             backup_databases backup_file_list dates ipd bbb_listing mountinfo update_reply library_snapshot)
fi
seeds_from_tests() {
    case "$1" in
        itunes_xml) echo tests/data/itunes/*.xml ;;
        ipd) echo tests/data/blackberry/*.ipd ;;
        backup_databases|note_body) echo tests/data/ios/*.sqlite ;;
    esac
}
dictionary() {
    case "$1" in
        itunes_xml|settings|device_files|plist) echo "-dict=fuzz/dict/xml.dict" ;;
    esac
}
mkdir -p build-fuzz/crashes
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    [ -d "fuzz/corpus/$target" ] && cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
    for seed in $(seeds_from_tests "$target"); do cp -n "$seed" "$corpus"/ || true; done
    echo "== $target: ${seconds} s"
    # Every reader keeps its memory in proportion: inputs of at most 1 MB, no single allocation
    # over 64 MB and the whole process (libFuzzer and the sanitizer's own bookkeeping included)
    # under 2 GB, or it counts as a finding (a bomb).
    status=0
    ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1:quarantine_size_mb=64 \
        build-fuzz/fuzz/fuzz_"$target" "$corpus" $(dictionary "$target") -seed=1 -max_total_time="$seconds" \
        -rss_limit_mb="${VELTRANE_FUZZ_RSS_MB:-2048}" -malloc_limit_mb=64 -max_len=1048576 -timeout=20 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/crashes/"$target"- >build-fuzz/"$target".log 2>&1 || status=$?
    grep -E "^(#[0-9]+.*(DONE|INITED)|stat::number_of_executed_units|stat::peak_rss_mb)" build-fuzz/"$target".log || true
    if [ "$status" -ne 0 ]; then
        grep -E -A40 "==[0-9]+==ERROR|^SUMMARY|Test unit written|out-of-memory|timeout" build-fuzz/"$target".log | head -80
        echo "fuzz_$target found a problem: see build-fuzz/crashes and build-fuzz/$target.log"
        exit 1
    fi
done
echo "== fuzzing: no reports"
