#!/usr/bin/env bash
# Every compile command of the build (compile_commands.json) keeps contraction off and carries no
# flag that changes floating-point results; and the configure-time check refuses such a flag.
# Arguments: BUILD_DIR SOURCE_DIR
set -u
build=$1 src=$2
fail() { echo "FAIL: $*"; exit 1; }
db="$build/compile_commands.json"
[ -s "$db" ] || fail "$db is missing"
forbidden='(-ffast-math|-Ofast|-ffp-contract=(fast|on)|-funsafe-math-optimizations|-fassociative-math|-freciprocal-math|-fexcess-precision=fast|-ffp-model=(fast|aggressive)|-mfpmath=387)( |")'
commands=$(grep '"command":' "$db")
[ -n "$commands" ] || fail "no compile commands in $db"
bad=$(echo "$commands" | grep -E -- "$forbidden" | head -n 1)
[ -z "$bad" ] || fail "a compile command changes floating-point results: $bad"
# The last -ffp-contract of each command is the one the compiler follows.
while IFS= read -r line; do
    last=$(echo "$line" | grep -oE -- '-ffp-contract=[a-z-]+' | tail -n 1)
    [ "$last" = "-ffp-contract=off" ] || fail "a compile command ends with '${last:-no -ffp-contract}': $line"
done <<< "$commands"

out=$(cmake -DFLAGS="-O2 -ffp-contract=off -fno-fast-math" -P "$src/cmake/FloatFlags.cmake" 2>&1) ||
    fail "the flag check refused ordinary flags: $out"
for flag in -ffast-math -Ofast -ffp-contract=fast -funsafe-math-optimizations; do
    out=$(cmake -DFLAGS="-O2 $flag" -P "$src/cmake/FloatFlags.cmake" 2>&1) && fail "the flag check let $flag through"
    echo "$out" | grep -q -- "holds $flag" || fail "the check of $flag does not name it: $out"
done
echo "float flags: ok"
