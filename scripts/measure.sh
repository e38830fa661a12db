#!/usr/bin/env bash
# Measures zurimo.exe under Wine from outside, as a user feels it, against a trivial Win32
# program with one window: the time from start until the main window exists, the private
# memory after two idle seconds (with a saved history of 100 texts of 1 KB loaded), the
# start-up until a saved history of 1,000 texts of 10 KB is listed against an empty one, and
# the exit-time save of a 10 MB history against one plain write and flush of the same bytes.
# The trivial program carries the program's own manifest (as trivial_window.exe.manifest
# beside it, which Windows and Wine read for an exe without one), so that both load the same
# common controls and the difference is the program's own.
# Prints the median of ROUNDS runs (default 9). Not part of `make test`.
#   scripts/measure.sh [ROUNDS]
# MEASURE_BUILD (default build/win64) and MEASURE_PREFIX (default measure, under build/wine)
# choose the build folder and the Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
rounds=${1:-9}
build=${MEASURE_BUILD:-$root/build/win64}

scripts/setup.sh wine
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
ninja -C "$build" zurimo Zurimo measure trivial_window > /dev/null

. scripts/wine-env.sh
zw_env
zw_prefix "${MEASURE_PREFIX:-measure}" fresh
zw_display
trap zw_stop EXIT

# The program runs from its own folder in the prefix, with its saved history beside it.
dir=$WINEPREFIX/drive_c/measure
mkdir -p "$dir"
cp "$build/bin/zurimo.exe" "$build/bin/Zurimo.dll" "$build/tools/measure.exe" \
    "$build/tools/trivial_window.exe" "$dir/"
cp resources/zurimo.manifest "$dir/trivial_window.exe.manifest"
wine reg add 'HKCU\Software\Kestro!\Zurimo!\Settings' /v File /t REG_DWORD /d 1 /f > /dev/null 2>&1
run() { wine 'C:\measure\measure.exe' "$@" 2> /dev/null | tr -d '\r'; }

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Field $2 is the start time, $4 the private memory.
for ((i = 0; i < rounds; ++i)); do
    run fill 'C:\measure\zurimo.zhd' 100 1024
    run start 'C:\measure\trivial_window.exe' TrivialClass | sed 's/^/trivial /'
    run start 'C:\measure\zurimo.exe' KestroZurimoClass | sed 's/^/zurimo /'
    wineserver -w 2> /dev/null || true
done > "$dir/start.txt"
for who in trivial zurimo; do
    ms=$(awk -v w=$who '$1 == w { print $3 }' "$dir/start.txt" | median)
    mib=$(awk -v w=$who '$1 == w { print $6 }' "$dir/start.txt" | median)
    printf '%-8s start %7.1f ms   private %5.2f MiB\n' "$who" "$ms" "$mib"
done

# Start-up with a saved history of 1,000 texts of 10 KB until all are listed, against an
# empty saved history.
for ((i = 0; i < rounds; ++i)); do
    run fill 'C:\measure\zurimo.zhd' 0 0
    run listed 'C:\measure\zurimo.exe' 0 | sed 's/^/empty /'
    run fill 'C:\measure\zurimo.zhd' 1000 10240
    run listed 'C:\measure\zurimo.exe' 1000 | sed 's/^/large /'
    wineserver -w 2> /dev/null || true
done > "$dir/listed.txt"
empty=$(awk '$1 == "empty" { print $5 }' "$dir/listed.txt" | median)
large=$(awk '$1 == "large" { print $5 }' "$dir/listed.txt" | median)
awk -v e="$empty" -v l="$large" \
    'BEGIN { printf "start until listed: 1000 x 10 KB %.1f ms, empty %.1f ms: %.2fx\n", l, e, l / e }'

for ((i = 0; i < rounds; ++i)); do run save 'C:\measure' 1000 10240; done > "$dir/save.txt"
save=$(awk '{ print $2 }' "$dir/save.txt" | median)
plain=$(awk '{ print $5 }' "$dir/save.txt" | median)
awk -v s="$save" -v p="$plain" \
    'BEGIN { printf "save of 10 MB %.2f ms, write+flush %.2f ms: %.2fx\n", s, p, s / p }'
