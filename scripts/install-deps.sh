#!/usr/bin/env bash
# Installs the Debian packages Veltrane needs to build, test and run. Idempotent: when every
# package is present it only checks and returns. Runs as root, or through sudo.
set -euo pipefail

packages=(
    # toolchain (clang with its libFuzzer and sanitizer runtimes for the fuzz and TSan builds)
    g++ cmake ninja-build ccache pkg-config clang libclang-rt-14-dev
    # the Debian package: dpkg-shlibdeps, lintian and the validators; bash completion
    dpkg-dev fakeroot lintian appstream desktop-file-utils bash-completion
    # Qt 6: core, gui (QImage), xml, sql with SQLite, widgets, translations
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-tools-dev qt6-translations-l10n libqt6sql6-sqlite libgl-dev
    # the scalable icon, rendered by the tests beside the drawn one
    qt6-svg-dev
    # desktop notifications: the tests run a private session bus
    dbus-daemon
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    # external programs: log compression, media conversion
    p7zip-full ffmpeg
    # real file systems on loop devices for the drive tests and benchmarks
    e2fsprogs mount util-linux rsync bc time
    # tags and embedded album art of local audio files
    libtag1-dev
    # iPhone backups: binary property lists, gzip-compressed note bodies
    libplist-dev zlib1g-dev
    # phones over MTP, and the software phone of the tests (USB ioctls answered by umockdev)
    libmtp-dev libusb-1.0-0-dev libumockdev-dev umockdev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
run apt-get update -qq
run apt-get install -y -qq --no-install-recommends "${missing[@]}"
