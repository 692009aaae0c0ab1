#!/usr/bin/env bash
# Whole-process sync benchmarks, each beside the plain tool doing the same copying, best of three
# runs with the source files in the page cache:
#   1. first sync of 2,000 tracks of 1 MB to a folder drive, beside cp -r of the same files
#      (target: within 1.15 x of cp);
#   2. a sync with nothing to do on 20,000 small tracks, beside rsync -a with nothing to do
#      (target: under 1 s), and the peak memory of that sync (target: under 150 MB).
set -euo pipefail
bin=${1:-build-release}
work=${2:-/tmp/veltrane-sync-bench}
for tool in rsync bc; do command -v $tool >/dev/null || apt-get install -y -qq $tool >/dev/null; done
[ -x /usr/bin/time ] || apt-get install -y -qq time >/dev/null
sync_tool=$PWD/$bin/src/veltrane-sync
make_library=$PWD/$bin/bench/bench_make_library

# best_of COMMAND...: the shortest wall time of three runs, that run's peak memory in KB, and
# the shortest CPU time (user + system; steadier than wall time on a shared disk). The function
# named in $prepare runs before each.
best_of() {
    local best="" memory=0 cpu=""
    for _ in 1 2 3; do
        $prepare
        /usr/bin/time -f "%e %M %U %S" -o "$work/time.txt" "$@" >/dev/null 2>&1
        read -r t m u s < "$work/time.txt"
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

    empty_copy() { rm -rf "$home/copy/Music"; sync; }
    empty_drive() { rm -rf "$home/drive/Music" "$home/drive/Playlists_VLT" "$home/drive/KORDA/metadata"* "$home/KORDA/mcache"*; sync; }
    prepare=empty_copy; read -r cp_time _ cp_cpu < <(best_of cp -r "$source" "$home/copy/")
    prepare=empty_drive
    read -r first_time _ first_cpu < <(best_of env HOME="$home" "$sync_tool" --device "$home/drive" --yes)
    prepare=:
    read -r rsync_time _ _ < <(best_of rsync -a "$source/" "$home/copy/Music/")
    read -r again_time again_memory _ < <(best_of env HOME="$home" "$sync_tool" --device "$home/drive" --yes)
    printf '%-24s first sync %6.2f s, cp -r %6.2f s: %.2f x (CPU %.2f s against %.2f s: %.2f x)\n' "$label" \
        "$first_time" "$cp_time" "$(echo "$first_time / $cp_time" | bc -l)" "$first_cpu" "$cp_cpu" \
        "$(echo "$first_cpu / $cp_cpu" | bc -l)"
    printf '%-24s nothing to do %6.2f s, rsync -a %6.2f s: %.2f x, peak %d MB\n' "$label" "$again_time" \
        "$rsync_time" "$(echo "$again_time / $rsync_time" | bc -l)" "$((again_memory / 1024))"
}

mkdir -p "$work"
run_case "2,000 tracks of 1 MB" large 2000 1048576
[ -n "${LARGE_ONLY:-}" ] || run_case "20,000 small tracks" small 20000 4096
