#!/usr/bin/env bash
# Checks that dependencies point down and that portable code stays portable:
#   base  <-  history, menu, shellext  <-  app
# A portable file (directly in a subsystem folder) includes no Windows header and nothing
# from a win/ folder; a lower subsystem never includes a higher one. Prints each breach and
# exits nonzero when there is one.
set -uo pipefail
cd "$(dirname "$0")/.."

breaches=0
breach() { echo "layout: $*"; breaches=$((breaches + 1)); }

# Files of a subsystem: its portable core (depth 1) or everything below it.
core_files() { find "$1" -maxdepth 1 -name '*.cpp' -o -maxdepth 1 -name '*.h' 2>/dev/null; }
all_files() { find "$1" -name '*.cpp' -o -name '*.h' 2>/dev/null; }

# includes FILE... : lines "file:line:#include ..." of project includes.
project_includes() { [ $# -gt 0 ] && grep -HnE '^#include[[:space:]]+"' "$@"; }

windows_headers='windows|windowsx|shlobj|shellapi|commctrl|ole2|objbase|shlwapi|prsht|olectl'
for subsystem in base history menu shellext app; do
    [ -d "$subsystem" ] || continue
    mapfile -t core < <(core_files "$subsystem")
    [ ${#core[@]} -gt 0 ] || continue
    while IFS= read -r line; do breach "portable code includes a Windows header: $line"
    done < <(grep -HnE "^#include[[:space:]]+<($windows_headers)\.h>" "${core[@]}")
    while IFS= read -r line; do breach "portable code includes Win32 code: $line"
    done < <(project_includes "${core[@]}" | grep -E '"[a-z]+/win/')
done

# below SUBSYSTEM HIGHER... : SUBSYSTEM must not include any of the higher ones.
below() {
    local low=$1; shift
    [ -d "$low" ] || return 0
    mapfile -t files < <(all_files "$low")
    for high in "$@"; do
        while IFS= read -r line; do breach "$low/ reaches up into $high/: $line"
        done < <(project_includes "${files[@]}" | grep -E "\"$high/")
    done
}
below base history menu shellext app
below history menu shellext app
below menu history shellext app
below shellext history menu app
below hook base history menu shellext app

if [ "$breaches" -gt 0 ]; then
    echo "layout: $breaches breaches"
    exit 1
fi
echo "layout: dependencies point down, portable code is portable"
