#!/usr/bin/env bash
# Measures what the tests catch: plants each fault of a list into the source, one at a time,
# rebuilds, runs the unit tests and, only when they pass, the golden replays, and puts the file
# back (always, also when interrupted). Prints per fault UNIT, GOLDEN, MISSED or NOT-FOUND (text
# absent or not unique: not counted) or NO-BUILD (the planted fault does not compile: not
# counted), then the totals.
#   tools/mutants/mutants.sh [-b BUILD_DIR] [-l FAULT_LIST] [-u] [PATTERN]
#   -b  a configured build folder, reused for every fault (default: build)
#   -l  the list (default: tools/mutants/faults.txt beside this script)
#   -u  unit tests only: skip the golden replays, count what they miss as MISSED
#   PATTERN  plant only the faults whose line contains it (grep -F)
set -u
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
build=build
list=$here/faults.txt
unit_only=0
while getopts "b:l:u" opt; do
    case $opt in
        b) build=$OPTARG ;;
        l) list=$OPTARG ;;
        u) unit_only=1 ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
pattern=${1:-}
cd "$src" || exit 2
build=$(cd "$build" && pwd) || { echo "no build folder $build (configure it first)"; exit 2; }

work=$(mktemp -d)
planted=""  # the file holding a fault right now
restore() {
    if [ -n "$planted" ]; then
        cat "$work/original" > "$planted"  # new mtime: the next build compiles the clean file
        planted=""
    fi
}
trap 'restore; rm -rf "$work"' EXIT
trap 'echo "interrupted: $planted restored"; exit 130' INT TERM

# Replaces each "text" of the pairs by its "replacement" in FILE; exit 3 when a text is not in
# the file exactly once.
plant() {
    python3 - "$@" <<'EOF'
import sys
path, pairs = sys.argv[1], sys.argv[2:]
body = open(path).read()
for text, repl in zip(pairs[0::2], pairs[1::2]):
    text, repl = text.replace("\\n", "\n"), repl.replace("\\n", "\n")
    if body.count(text) != 1:
        sys.exit(3)
    body = body.replace(text, repl)
open(path, "w").write(body)
EOF
}

build_target() { cmake --build "$build" -j2 --target "$1" > "$work/build.log" 2>&1; }
# The enemy and container suites first, the rest only when those pass.
near='GroundEnemies.*:Fliers.*:Boss.*:Containers.*:EntityPass.*:GameFlow.*:Spawner.*'
unit_tests() {
    (cd "$build/tests" && SDL_AUDIODRIVER=dummy timeout 600 ./game_tests --gtest_brief=1 \
        --gtest_filter="$near" > "$work/unit.log" 2>&1) || return 1
    (cd "$build/tests" && SDL_AUDIODRIVER=dummy timeout 600 ./game_tests --gtest_brief=1 \
        --gtest_filter="-$near" --gtest_fail_fast >> "$work/unit.log" 2>&1)
}
golden() { build_target cinder-arc-sim && bash tests/e2e/golden_replays.sh "$build/game" "$src" > /dev/null 2>&1; }

# The clean tree must build and pass, or every fault would look caught.
build_target game_tests || { echo "the clean tree does not build"; cat "$work/build.log"; exit 2; }
unit_tests || { echo "the unit tests fail without a fault"; cat "$work/unit.log"; exit 2; }
if [ "$unit_only" = 0 ]; then golden || { echo "the golden replays fail without a fault"; exit 2; }; fi

unit=0 gold=0 missed=0 notfound=0 nobuild=0 n=0
while IFS= read -r line; do
    case $line in '' | '#'*) continue ;; esac
    [ -n "$pattern" ] && [[ $line != *"$pattern"* ]] && continue
    IFS='|' read -r -a field <<< "$line"
    file=${field[0]}
    n=$((n + 1))
    cp "$file" "$work/original"
    planted=$file
    if ! plant "${field[@]}"; then
        restore
        result=NOT-FOUND
        notfound=$((notfound + 1))
    elif ! build_target game_tests; then
        result=NO-BUILD
        nobuild=$((nobuild + 1))
    elif ! unit_tests; then
        result=UNIT
        unit=$((unit + 1))
    elif [ "$unit_only" = 0 ] && ! golden; then
        result=GOLDEN
        gold=$((gold + 1))
    else
        result=MISSED
        missed=$((missed + 1))
    fi
    restore
    printf '%-9s %s\n' "$result" "$line"
done < "$list"

counted=$((unit + gold + missed))
pct() { [ "$counted" -gt 0 ] && echo "$((100 * $1 / counted))%" || echo "-"; }
echo "faults planted: $counted (not found: $notfound, not building: $nobuild)"
echo "caught by unit tests:      $unit ($(pct $unit))"
echo "caught by golden replays:  $gold ($(pct $gold))"
echo "missed:                    $missed ($(pct $missed))"
# Leave the build folder holding the clean tree.
build_target game_tests
[ "$unit_only" = 0 ] && build_target cinder-arc-sim
exit 0
