#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the test configuration
# (AddressSanitizer and UndefinedBehaviorSanitizer, warnings on) and in a release configuration
# (-O2, no sanitizers), so that nothing passes only because of how it was compiled; the Debian
# package made from that release build and checked by lintian; then a short run of every fuzz
# target (scripts/fuzz.sh, 15 s each) and the threaded tests under ThreadSanitizer (clang,
# build-tsan). With VELTRANE_INSTALL_CHECK=1 (CI) the package is also installed, run from
# /usr/bin and removed again.
#
#   scripts/test.sh              all of it
#   scripts/test.sh sanitize     only the sanitizer build (build-test)
#   scripts/test.sh release      only the release build (build-release-test) and its package
#   scripts/test.sh fuzz         only the fuzz smoke run
#   scripts/test.sh tsan         only the ThreadSanitizer run
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
if [ "$which" = all ] || [ "$which" = release ]; then
    echo "== The Debian package"
    package=$(bash scripts/package.sh "${VELTRANE_RELEASE_TEST_BUILD:-build-release-test}" | tail -1)
    if [ "${VELTRANE_INSTALL_CHECK:-0}" = 1 ]; then
        if dpkg-query -W -f='${Status}' veltrane 2>/dev/null | grep -q 'install ok installed'; then
            echo "veltrane is installed on this machine already: the package is not tried here"
        else
            apt-get install -y -qq "./$package" >/dev/null
            home=$(mktemp -d)
            HOME=$home /usr/bin/veltrane-sync --version
            HOME=$home /usr/bin/veltrane-sync devices
            rm -rf "$home"
            apt-get purge -y -qq veltrane >/dev/null
            ! test -e /usr/bin/veltrane-sync
            echo "installed, ran and removed: $package"
        fi
    fi
fi
if [ "$which" = all ] || [ "$which" = fuzz ]; then
    echo "== Fuzz targets, a short run each"
    bash scripts/fuzz.sh "${VELTRANE_FUZZ_SECONDS:-15}"
fi
if [ "$which" = all ] || [ "$which" = tsan ]; then
    echo "== The threaded tests under ThreadSanitizer"
    CC=clang CXX=clang++ cmake -S . -B "${VELTRANE_TSAN_BUILD:-build-tsan}" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVELTRANE_TSAN=ON -DVELTRANE_BUILD_TESTS=ON -DVELTRANE_BUILD_BENCH=OFF
    cmake --build "${VELTRANE_TSAN_BUILD:-build-tsan}" -j2
    # The engine and its run, the device list and phone refresher, the library's threads, the
    # window's start-up and runs, and whole runs of veltrane-sync (the library read beside the
    # run, lending it its texts). Qt's own libraries are not instrumented: tests/tsan.supp names
    # what only they do.
    TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp" \
        ctest --test-dir "${VELTRANE_TSAN_BUILD:-build-tsan}" -j2 --output-on-failure --timeout 60 \
        -R "${VELTRANE_TSAN_TESTS:-MusicSync|SyncRun|DataTransfer|DeviceList|MtpMacDeviceRefresher|LocalMusicLibrary|Podcasts|OwnedThread|BlockingQuestion|AutoRefresher|SyncUiTest|DeviceWizard|VeltraneSync}"
fi
