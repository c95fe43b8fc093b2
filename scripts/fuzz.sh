#!/usr/bin/env bash
# Runs every fuzz target of a CINDER_FUZZ build for a bounded time each, starting from its seed
# corpus under tests/fuzz/corpus and the inputs earlier runs kept, and prints the executions
# reached. Stops at the first target that finds a failing input (saved under BUILD/fuzz-crashes).
#   scripts/fuzz.sh BUILD SECONDS [TARGET...]
set -u
build=$(cd "$1" && pwd)
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(settings replay stage bmp wav controls keyscript expectations)
src=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build/fuzz-corpus" "$build/fuzz-crashes"
status=0
summary=""
for t in "${targets[@]}"; do
    corpus="$build/fuzz-corpus/$t"
    mkdir -p "$corpus"
    log="$build/fuzz-crashes/$t.log"
    # Leaks would only be the game's start-up, kept to the end on purpose; the address and
    # behaviour checks stay on.
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
        -timeout=30 -artifact_prefix="$build/fuzz-crashes/$t-" "$corpus" "$src/tests/fuzz/corpus/$t" \
        > "$log" 2>&1
    code=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")
    line=$(printf '%-9s %10s executions in %s s, peak %s MB' "$t" "${runs:-?}" "$seconds" "${rss:-?}")
    if [ "$code" -ne 0 ]; then
        line="$line: FAILED (exit $code), see $log"
        grep -E 'property failed|ERROR|runtime error|Test unit written' "$log" | head -5
        status=1
    fi
    echo "$line"
    summary="$summary$line"$'\n'
done
echo "---"
printf '%s' "$summary"
exit $status
