#!/usr/bin/env bash
# Whole-process sync benchmarks, each beside the plain tool doing the same copying, best of three
# runs with the source files in the page cache. As root, the drive is a fresh ext4 file system
# on a loop device for every run (as a real drive would be, and with no inodes of the previous
# run to skip), for veltrane-sync and cp alike; otherwise a folder.
#   1. first syncs of 2,000 tracks of 1 MB and of 20,000 tracks of 4 KB, beside cp -r of the same
#      files, and beside cp -r followed by a flush of the drive (a sync puts its copies on the
#      drive before it names them; target for the small tracks: under 2 x cp);
#   2. syncs with nothing to do, beside rsync -a with nothing to do, wall and CPU time (target: at
#      or below rsync), and their peak memory (target: under 120 MB at 100,000 tracks); then the
#      same with the library written on another computer (Windows paths, mapped to this one's),
#      as a Linux user's library is.
# HUGE=1 adds 100,000 small tracks; SMALL_ONLY=1 leaves out the large tracks.
set -euo pipefail
bin=${1:-build-release}
work=${2:-/tmp/veltrane-sync-bench}
for tool in rsync bc; do command -v $tool >/dev/null || apt-get install -y -qq $tool >/dev/null; done
[ -x /usr/bin/time ] || apt-get install -y -qq time >/dev/null
sync_tool=$PWD/$bin/src/veltrane-sync
make_library=$PWD/$bin/bench/bench_make_library

# best_of COMMAND...: the shortest wall time of three runs, that run's peak memory in KB, and
# the shortest CPU time (user + system; steadier than wall time on a shared disk), in
# milliseconds (/usr/bin/time gives hundredths: a 20,000-track run takes nine of them). The
# function named in $prepare runs before each.
best_of() {
    local best="" memory=0 cpu="" TIMEFORMAT='%3R %3U %3S'
    for _ in 1 2 3; do
        $prepare
        { time /usr/bin/time -f "%M" -o "$work/memory.txt" "$@" >/dev/null 2>&1; } 2> "$work/time.txt"
        read -r t u s < "$work/time.txt"
        read -r m < "$work/memory.txt"
        local c; c=$(echo "$u + $s" | bc)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; memory=$m; fi
        if [ -z "$cpu" ] || [ "$(echo "$c < $cpu" | bc)" = 1 ]; then cpu=$c; fi
    done
    echo "$best $memory $cpu"
}

run_case() { # label directory tracks bytes
    local label=$1 home=$work/$2
    rm -rf "$home"; mkdir -p "$home/drive" "$home/copy"
    "$make_library" "$home" "$3" "$4"
    local source="$home/Music/iTunes/iTunes Media/Music"
    find "$source" -type f -exec cat {} + > /dev/null
    HOME=$home "$sync_tool" configure --device "$home/drive" --music Everything >/dev/null

    fresh() { # folder: an empty file system mounted there (a loop device, as root)
        if [ "$(id -u)" = 0 ]; then
            mountpoint -q "$1" && umount "$1"
            rm -f "$1.img"; truncate -s $(( $3 * $4 * 3 / 2 + 512 * 1024 * 1024 )) "$1.img"
            # An inode for every track and folder (the default ratio runs out at 100,000 small files).
            mkfs.ext4 -q -F -N $(( $3 * 2 + 16384 )) "$1.img" && mount -o loop "$1.img" "$1"
        fi
        rm -rf "${1:?}"/*; sync
    }
    empty_copy() { fresh "$home/copy" x "$3" "$4"; }
    empty_drive() {
        local uniqueid; uniqueid=$(cat "$home/drive/KORDA/uniqueid")
        fresh "$home/drive" x "$3" "$4"; mkdir -p "$home/drive/KORDA"; printf %s "$uniqueid" > "$home/drive/KORDA/uniqueid"
        rm -f "$home/KORDA/mcache"*; sync
    }
    prepare="empty_copy x x $3 $4"; read -r cp_time _ cp_cpu < <(best_of cp -r "$source" "$home/copy/")
    # veltrane-sync puts every copy on the drive before it names it; cp leaves its data in memory.
    read -r cps_time _ _ < <(best_of sh -c 'cp -r "$0" "$1" && sync -f "$1"' "$source" "$home/copy/")
    prepare="empty_drive x x $3 $4"
    read -r first_time _ first_cpu < <(best_of env HOME="$home" "$sync_tool" --device "$home/drive" --yes)
    prepare=:
    read -r rsync_time _ rsync_cpu < <(best_of rsync -a "$source/" "$home/copy/Music/")
    read -r again_time again_memory again_cpu < <(best_of env HOME="$home" "$sync_tool" --device "$home/drive" --yes)
    printf '%-24s first sync %6.2f s, cp -r %6.2f s: %.2f x (CPU %.2f s against %.2f s: %.2f x); cp -r then sync %6.2f s: %.2f x\n' "$label" \
        "$first_time" "$cp_time" "$(echo "$first_time / $cp_time" | bc -l)" "$first_cpu" "$cp_cpu" \
        "$(echo "$first_cpu / $cp_cpu" | bc -l)" "$cps_time" "$(echo "$first_time / $cps_time" | bc -l)"
    printf '%-24s nothing to do %6.3f s, rsync -a %6.3f s: %.2f x (CPU %.3f s against %.3f s: %.2f x), peak %d MB\n' \
        "$label" "$again_time" "$rsync_time" "$(echo "$again_time / $rsync_time" | bc -l)" "$again_cpu" "$rsync_cpu" \
        "$(echo "$again_cpu / $rsync_cpu" | bc -l)" "$((again_memory / 1024))"
    # The same library as a Windows computer wrote it, its paths mapped to this computer's.
    local xml="$home/Music/iTunes/iTunes Music Library.xml"
    sed -i "s#file://$home/Music/#file://localhost/C:/Users/user/Music/#" "$xml"
    touch -d "1 hour ago" "$xml" # written long before, as a user's library is: its snapshot is kept
    HOME=$home "$sync_tool" configure --device "$home/drive" --map-path "C:/Users/user/Music/=$home/Music/" >/dev/null
    HOME=$home "$sync_tool" --device "$home/drive" --yes >/dev/null 2>&1 # reads the changed file once
    read -r mapped_time mapped_memory mapped_cpu < <(best_of env HOME="$home" "$sync_tool" --device "$home/drive" --yes)
    printf '%-24s nothing to do, mapped library %6.3f s: %.2f x rsync -a (CPU %.3f s: %.2f x), peak %d MB\n' \
        "$label" "$mapped_time" "$(echo "$mapped_time / $rsync_time" | bc -l)" "$mapped_cpu" \
        "$(echo "$mapped_cpu / $rsync_cpu" | bc -l)" "$((mapped_memory / 1024))"
    if [ "$(id -u)" = 0 ]; then umount "$home/drive" "$home/copy" 2>/dev/null || true; rm -f "$home"/*.img; fi
}

mkdir -p "$work"
[ -n "${SMALL_ONLY:-}" ] || run_case "2,000 tracks of 1 MB" large 2000 1048576
[ -n "${LARGE_ONLY:-}" ] || run_case "20,000 small tracks" small 20000 4096
[ -z "${HUGE:-}" ] || run_case "100,000 small tracks" huge 100000 4096
