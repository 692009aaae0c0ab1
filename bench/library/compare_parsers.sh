#!/usr/bin/env bash
# The library benchmark beside two other readers of the same file: Python's plistlib.load and
# xmllint --stream. Wall time and peak memory of each whole process, from /usr/bin/time; the
# library benchmark both as after a change of the file (parsed, in a home with no snapshot) and
# as on a run with the file unchanged (read from the snapshot the first made), each beside xmllint.
set -euo pipefail
bench=${1:-build-release/bench/bench_library_parse}
file=${2:-/tmp/veltrane-bench-library.xml}
command -v xmllint >/dev/null || apt-get install -y -qq libxml2-utils >/dev/null
command -v /usr/bin/time >/dev/null || apt-get install -y -qq time >/dev/null
[ -f "$file" ] || "$bench" "$file" >/dev/null
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# Best of three: wall seconds and peak KB.
measure() {
    local best=
    for _ in 1 2 3; do
        /usr/bin/time -f "%e %M" -o /tmp/veltrane-time.txt "$@" >/dev/null
        best=$(printf '%s\n%s\n' "$best" "$(cat /tmp/veltrane-time.txt)" | awk 'NF' | sort -n | head -1)
    done
    echo "$best"
}
report() {
    printf '%-34s %s s, %d MB peak%s\n' "$1" "$(echo "$2" | cut -d' ' -f1)" $(($(echo "$2" | cut -d' ' -f2) / 1024)) "$3"
}
ratio() { awk -v a="$(echo "$1" | cut -d' ' -f1)" -v b="$(echo "$2" | cut -d' ' -f1)" 'BEGIN { printf ": %.2f x xmllint", a / b }'; }

xmllint=$(measure xmllint --stream --noout "$file")
changed=$(measure env HOME="$home" sh -c 'rm -rf "$HOME/KORDA"; exec "$0" "$1"' "$bench" "$file")
unchanged=$(measure env HOME="$home" "$bench" "$file")
python=$(measure python3 -c "import plistlib,sys; plistlib.load(open(sys.argv[1],'rb'))" "$file")
report "veltrane, changed file (parse+scan)" "$changed" "$(ratio "$changed" "$xmllint")"
report "veltrane, unchanged (snapshot+scan)" "$unchanged" "$(ratio "$unchanged" "$xmllint")"
report "python plistlib.load" "$python" ""
report "xmllint --stream" "$xmllint" ""
