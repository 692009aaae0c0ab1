#!/usr/bin/env bash
# The library benchmark beside two other readers of the same file: Python's plistlib.load and
# xmllint --stream. Wall time and peak memory of each, from /usr/bin/time.
set -euo pipefail
bench=${1:-build-release/bench/bench_library_parse}
file=${2:-/tmp/veltrane-bench-library.xml}
command -v xmllint >/dev/null || apt-get install -y -qq libxml2-utils >/dev/null
command -v /usr/bin/time >/dev/null || apt-get install -y -qq time >/dev/null
[ -f "$file" ] || "$bench" "$file" >/dev/null

measure() {
    local label=$1; shift
    /usr/bin/time -f "%e s %M KB" -o /tmp/veltrane-time.txt "$@" >/dev/null
    printf '%-28s %s\n' "$label" "$(awk '{printf "%s s, %d MB peak", $1, $3/1024}' /tmp/veltrane-time.txt)"
}
measure "veltrane (parse+scan)" "$bench" "$file"
measure "python plistlib.load" python3 -c "import plistlib,sys; plistlib.load(open(sys.argv[1],'rb'))" "$file"
measure "xmllint --stream" xmllint --stream --noout "$file"
