#!/usr/bin/env bash
# veltrane-sync's bash completion, as bash-completion loads it: commands, options, switches, and
# the playlist names the program itself lists (quoted, after a comma too).
# Usage: completion.sh PROGRAM_DIR COMPLETION_FILE LIBRARY
set -uo pipefail
if [ ! -f /usr/share/bash-completion/bash_completion ]; then
    echo "SKIPPED: bash-completion is not installed"
    exit 0
fi
source /usr/share/bash-completion/bash_completion
source "$2"
PATH=$1:$PATH
HOME=$(mktemp -d)
trap 'rm -rf "$HOME"' EXIT
library=$3
failures=0

expect() {
    local line=$1 expected=$2
    eval "COMP_WORDS=($line)"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line} COMPREPLY=()
    _veltrane_sync veltrane-sync "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got="" reply
    for reply in "${COMPREPLY[@]}"; do got+="$reply|"; done
    if [[ $got != "$expected" ]]; then
        echo "'$line': expected '$expected', got '$got'"
        failures=$((failures + 1))
    fi
}

expect "veltrane-sync con" "configure|"
expect "veltrane-sync --album-art o" "on|off|"
expect "veltrane-sync --conv" "--convert-mp3|"
expect "veltrane-sync configure --copy messages,c" "messages,contacts|messages,calendar|"
expect "veltrane-sync --library '$library' configure --playlist Cl" 'Classical\ Music|'
expect "veltrane-sync --library '$library' configure --music all,Top" 'all,Top\ 25\ Most\ Played|'
expect "veltrane-sync --library '$library' configure --playlist Rec" 'Recently\ Added|Recently\ Played|'
expect "veltrane-sync --library '$library' configure sy" ""
[ $failures -eq 0 ] && echo "completion: as expected"
exit $failures
