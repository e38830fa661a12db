#!/usr/bin/env bash
# Fuzzes every harness of fuzz/ with libFuzzer (clang, with ASan and UBSan), one after
# another, each starting from its committed corpus, and prints per harness the executions
# and the coverage of libFuzzer's final stats.
#   FUZZ_SECONDS   time per harness in seconds (default 60)
#   FUZZ_RUNS      also stop a harness after this many executions (default: time only)
#   FUZZ_TARGETS   the harnesses to run, separated by spaces (default: all of fuzz/*_fuzz.cpp)
# New inputs go to build/fuzz/corpus/<harness>/ and findings to build/fuzz/artifacts/<harness>/;
# the committed corpus in fuzz/corpus/ is only read. Exits non-zero when a harness found
# a crash, a leak, a sanitizer report, a timeout or an allocation over the limit.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/fuzz
seconds=${FUZZ_SECONDS:-60}
runs=${FUZZ_RUNS:-}
jobs=$(nproc 2>/dev/null || echo 2)
mkdir -p "$out/logs"

echo "== building the libFuzzer harnesses (clang) in $out/build"
if ! { cmake -S "$root" -B "$out/build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
           -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZURIMO_SANITIZE=ON -DZURIMO_FUZZ=ON \
           > "$out/logs/configure.log" 2>&1 &&
       ninja -C "$out/build" -j "$jobs" fuzz_all > "$out/logs/build.log" 2>&1; }; then
    echo "fuzz build failed:"; tail -30 "$out/logs/configure.log" "$out/logs/build.log"
    exit 1
fi

if [ -n "${FUZZ_TARGETS:-}" ]; then
    targets=$FUZZ_TARGETS
else
    targets=$(for f in fuzz/*_fuzz.cpp; do f=${f#fuzz/}; echo "${f%_fuzz.cpp}"; done)
fi

# A smaller quarantine than the default 256 MB: allocation-heavy harnesses run twice as fast.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=32:max_malloc_fill_size=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
summary=()
found=0
for t in $targets; do
    program=$out/build/${t}_fuzz
    if [ ! -x "$program" ] || [ ! -d "fuzz/corpus/$t" ]; then
        echo "no harness or corpus named $t"; found=1; continue
    fi
    # The saved-history file's long length form needs 64 KiB and more; the rest read small
    # records. The limits stop an allocation that no input of this size should need.
    case $t in
        history_file) max_len=131072 ;;
        *) max_len=4096 ;;
    esac
    mkdir -p "$out/corpus/$t" "$out/artifacts/$t"
    log=$out/logs/$t.log
    echo "== $t (${seconds}s${runs:+ or $runs runs})"
    "$program" "$out/corpus/$t" "fuzz/corpus/$t" \
        -max_total_time="$seconds" ${runs:+-runs="$runs"} -max_len="$max_len" \
        -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$t/" > "$log" 2>&1
    status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
    ft=$(grep -E '^#[0-9]+.*ft: ' "$log" | tail -1 | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
    result=ok
    if [ "$status" != 0 ]; then
        result="FOUND (exit $status; see $log)"
        found=1
        grep -E '^(==[0-9]+==ERROR|SUMMARY|.*check failed|.*runtime error)' "$log" | head -6
        grep -o 'Test unit written to .*' "$log" | head -2
    fi
    summary+=("$(printf '%-16s %12s %8s %6s %7s  %s' "$t" "${executions:-?}" "${speed:-?}" \
        "${cov:-?}" "${ft:-?}" "$result")")
done

echo
printf '%-16s %12s %8s %6s %7s  %s\n' harness executions exec/s cov ft result
printf '%s\n' "${summary[@]}"
if [ "$found" != 0 ]; then
    echo "Findings are in $out/artifacts/; put each in fuzz/corpus/<harness>/ under a name that"
    echo "says what it shows, so that make test replays it."
fi
exit "$found"
