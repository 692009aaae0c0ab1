#!/usr/bin/env bash
# Installs what is missing, builds Veltrane (release) and shows it at work on a small sample iTunes
# library (real audio made with ffmpeg, tags, cover art, playlists, a podcast) in a sample home
# folder, with a folder standing for a USB player. With a display, the window opens on them
# (click Synchronize); without one, veltrane-sync configures and synchronizes the player and lists
# what landed. Everything stays in build-release/sample; your own home folder is not touched.
#
#   scripts/run.sh                 the sample, in the window when there is a display
#   scripts/run.sh --headless      the sample with veltrane-sync, even with a display
#   scripts/run.sh -- ARGS...      run veltrane-sync with your own arguments instead
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANE_BUILD_TESTS=OFF -DVELTRANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-release -j2 --target veltrane veltrane-sync veltrane-extract veltrane-make-sample
sync_tool=build-release/src/veltrane-sync

if [ "${1:-}" = "--" ]; then
    shift
    exec "$sync_tool" "$@"
fi

sample=$PWD/build-release/sample
rm -rf "$sample"
build-release/tools/veltrane-make-sample "$sample"
export HOME=$sample XDG_CONFIG_HOME=$sample/.config

if [ "${1:-}" != "--headless" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$sync_tool" configure --device "$sample/drive" --music "Road Trip,Chill" --podcasts all --episodes 2
    echo "== The window, on the sample library and the sample player ($sample/drive)"
    VELTRANE_PLAYER_FOLDERS=$sample/drive exec build-release/src/veltrane
fi

echo
echo "== The library's playlists and podcasts"
"$sync_tool" playlists
"$sync_tool" podcasts
echo
echo "== Configuring the sample player"
"$sync_tool" configure --device "$sample/drive" --music "Road Trip,Chill" --podcasts all --episodes 2
echo
echo "== Synchronizing"
"$sync_tool" --device "$sample/drive" --yes
echo
echo "== What landed on the player"
(cd "$sample/drive" && find . -type f | sort)
echo
echo "== A second run has nothing to copy"
"$sync_tool" --device "$sample/drive" --yes
