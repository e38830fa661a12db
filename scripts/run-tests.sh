#!/usr/bin/env bash
# Builds and runs every test: the layout check, the core's unit tests natively (also under
# ASan and UBSan), then the Win32 layer's tests and the end-to-end tests under Wine on a
# virtual display, and the dialogs' layout at 96, 144 and 192 DPI.
# Ends with one line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
logs=$root/build/test-logs
mkdir -p "$logs"
passed=0
failed=0
jobs=$(nproc 2>/dev/null || echo 2)

# Adds the counts of one GoogleTest run; a run that printed no summary counts as one failure.
count() {
    local name=$1 log=$2 status=$3 p f
    p=$(tr -d '\r' < "$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' | tail -1)
    f=$(tr -d '\r' < "$log" | sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:.*/\1/p' | tail -1)
    p=${p:-0}; f=${f:-0}
    if [ "$p" = 0 ] && [ "$f" = 0 ] || { [ "$status" != 0 ] && [ "$f" = 0 ]; }; then
        echo "$name: no test summary (exit $status); see $log"
        tr -d '\r' < "$log" | tail -20
        f=$((f + 1))
    fi
    if [ "$f" != 0 ]; then
        tr -d '\r' < "$log" | grep -E '^\[  FAILED  \]|Failure$|^.*: Failure' | head -40
    fi
    echo "$name: $p passed, $f failed"
    passed=$((passed + p)); failed=$((failed + f))
}

build() {  # build NAME CMAKE-ARGS...
    local dir=$root/build/$1; shift
    cmake -S "$root" -B "$dir" -G Ninja "$@" > "$logs/configure-$(basename "$dir").log" 2>&1 &&
        ninja -C "$dir" -j "$jobs" > "$logs/build-$(basename "$dir").log" 2>&1
}

scripts/setup.sh wine || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }

echo "== layout"
if scripts/check-layout.sh > "$logs/layout.log" 2>&1; then
    echo "layout: 1 passed, 0 failed"; passed=$((passed + 1))
else
    cat "$logs/layout.log"; echo "layout: 0 passed, 1 failed"; failed=$((failed + 1))
fi

echo "== native unit tests"
if build native -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
    build/native/unit_tests > "$logs/unit.log" 2>&1; count unit "$logs/unit.log" $?
else
    echo "native build failed:"; tail -30 "$logs/build-native.log"; failed=$((failed + 1))
fi

echo "== native unit tests under AddressSanitizer and UBSan"
if build native-asan -DCMAKE_BUILD_TYPE=Debug -DZURIMO_SANITIZE=ON; then
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        build/native-asan/unit_tests > "$logs/unit-asan.log" 2>&1
    count unit-asan "$logs/unit-asan.log" $?
else
    echo "sanitizer build failed:"; tail -30 "$logs/build-native-asan.log"; failed=$((failed + 1))
fi

echo "== fuzzing corpus replayed under AddressSanitizer and UBSan"
if [ -x build/native-asan/fuzz_replay ] &&
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        build/native-asan/fuzz_replay fuzz/corpus > "$logs/fuzz-replay.log" 2>&1; then
    echo "fuzz-replay: 1 passed, 0 failed"; passed=$((passed + 1))
else
    tail -40 "$logs/fuzz-replay.log"; echo "fuzz-replay: 0 passed, 1 failed"; failed=$((failed + 1))
fi

echo "== Windows build"
if build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
    . scripts/wine-env.sh
    zw_env
    zw_prefix test fresh
    if zw_display; then
        trap zw_stop EXIT
        for suite in win_tests shellext_tests e2e_tests; do
            echo "== $suite under Wine"
            timeout 900 wine "build/win64/tests/$suite.exe" > "$logs/$suite.log" 2>&1
            count "$suite" "$logs/$suite.log" $?
            wineserver -k 2>/dev/null
        done
        # The dialogs at 100, 150 and 200 %: the prefix's DPI is read when Wine starts.
        for dpi in 96 144 192; do
            echo "== dialog layout at $dpi DPI under Wine"
            wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f \
                > /dev/null 2>&1
            wineserver -k 2>/dev/null
            timeout 120 wine build/win64/tests/layout_tests.exe --dpi=$dpi \
                > "$logs/dialog-layout-$dpi.log" 2>&1
            count "dialog-layout-$dpi" "$logs/dialog-layout-$dpi.log" $?
            tr -d '\r' < "$logs/dialog-layout-$dpi.log" | grep '^does not fit:'
        done
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f > /dev/null 2>&1
        wineserver -k 2>/dev/null
    else
        echo "no virtual display"; failed=$((failed + 1))
    fi
else
    echo "Windows build failed:"; tail -30 "$logs/build-win64.log"; failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
