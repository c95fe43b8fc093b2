#!/usr/bin/env bash
# The settings and high-score files as a player meets them: "QUIT" and Escape both save them in
# their fixed layouts, saved files load back to the same bytes, short and out-of-range files are
# read safely, and a save that cannot be written keeps the old file and says so in one line.
source "$(dirname "$0")/lib/setup.sh" "$@"

fresh() { rm -rf "$work/$1" && cp -r "$work/base" "$work/$1" && mkdir -p "$work/$1/data"; }
run() {
    local name=$1
    shift
    printf '%s\n' "$@" > "$work/$name.keys"
    out=$("$sim" --dir "$work/$name" --frames 200 --keys "$work/$name.keys" --no-render 2> "$work/$name.err") \
        || fail "$name: exit code $? $(cat "$work/$name.err")"
}
field() { echo "$out" | sed -n "s/.*\"$1\":\([^,}]*\).*/\1/p"; }
bytes() { od -An -tu1 -v "$@" | tr -s ' ' '\n' | sed '/^$/d' | tr '\n' ' ' | sed 's/ $//'; }
quit=("0 down" "50 -" "60 a" "61 -")
escape=("5 esc")

# No files and no data folder: "QUIT" creates both, 4 and 450 bytes, in their layouts.
fresh none
rm -rf "$work/none/data"
run none "${quit[@]}"
[ "$(field ended)" = '"quit"' ] || fail "QUIT: $out"
hs="$work/none/data/highscore.dat"
[ "$(bytes "$work/none/data/settings.dat")" = "1 0 0 20" ] || fail "settings: $(bytes "$work/none/data/settings.dat")"
[ "$(wc -c < "$hs")" -eq 450 ] || fail "high scores: $(wc -c < "$hs") bytes"
[ "$(head -c 3 "$hs")" = EAS ] || fail "first EASY name"
# Ship 2 as a 4-byte int, then 800000 little-endian, then stage 3; NORMAL at 15, HARD at 30.
[ "$(bytes -j 3 -N 12 "$hs")" = "2 0 0 0 0 53 12 0 3 0 0 0" ] || fail "EASY row 1: $(bytes -j 3 -N 12 "$hs")"
[ "$(bytes -j 15 -N 3 "$hs")" = "78 79 82" ] || fail "NORMAL row 1 name"
[ "$(bytes -j 37 -N 4 "$hs")" = "64 66 15 0" ] || fail "HARD row 1 score: $(bytes -j 37 -N 4 "$hs")"
[ -e "$work/none/data/highscore.dat.tmp" ] && fail "a temporary file was left behind"

# Saved files load back to the same bytes, through "QUIT" and through Escape.
fresh again
cp "$work/none/data/"*.dat "$work/again/data/"
run again "${quit[@]}"
cmp -s "$work/none/data/settings.dat" "$work/again/data/settings.dat" || fail "settings changed on a reload"
cmp -s "$hs" "$work/again/data/highscore.dat" || fail "high scores changed on a reload"

# Any 450 bytes and in-range settings survive a load and an Escape unchanged.
fresh own
printf '\002\001\001\041' > "$work/own/data/settings.dat"
for i in $(seq 0 449); do printf "\\$(printf %03o $(( (i * 37 + 11) % 256 )))"; done > "$work/own/data/highscore.dat"
cp "$work/own/data/settings.dat" "$work/own/data/highscore.dat" "$work/"
run own "${escape[@]}"
[ "$(field ended)" = '"escape"' ] || fail "escape: $out"
cmp -s "$work/settings.dat" "$work/own/data/settings.dat" || fail "own settings: $(bytes "$work/own/data/settings.dat")"
cmp -s "$work/highscore.dat" "$work/own/data/highscore.dat" || fail "own high scores changed"

# A changed setting is kept when the program is left with Escape.
fresh changed
run changed "0 down" "1 -" "10 a" "11 -" "20 left" "21 -" "40 esc"
[ "$(bytes "$work/changed/data/settings.dat")" = "0 0 0 20" ] || fail "Escape lost the setting"

# Out-of-range settings fall back to their built-in values.
fresh range
printf '\007\005\011\377' > "$work/range/data/settings.dat"
run range "${escape[@]}"
[ "$(bytes "$work/range/data/settings.dat")" = "1 0 0 20" ] || fail "range: $(bytes "$work/range/data/settings.dat")"

# A short high-score file reads zeros past its end: record 1 survives, the rest is zero.
fresh short
head -c 45 "$hs" > "$work/short/data/highscore.dat"
run short "${escape[@]}"
head -c 45 "$work/short/data/highscore.dat" | cmp -s - <(head -c 45 "$hs") || fail "short file: record 1 changed"
[ "$(wc -c < "$work/short/data/highscore.dat")" -eq 450 ] || fail "short file not saved whole"
[ "$(bytes -j 45 "$work/short/data/highscore.dat" | tr ' ' '\n' | sort -u)" = 0 ] || fail "short file: not zeros past its end"

# A save that cannot be written keeps the old file whole and says so in one line.
fresh blocked
cp "$hs" "$work/blocked/data/highscore.dat"
mkdir "$work/blocked/data/highscore.dat.tmp"
run blocked "${quit[@]}"
[ "$(field ended)" = '"quit"' ] || fail "blocked save: $out"
cmp -s "$hs" "$work/blocked/data/highscore.dat" || fail "the old high-score file was damaged"
[ "$(wc -l < "$work/blocked.err")" -eq 1 ] && grep -q 'highscore.dat' "$work/blocked.err" ||
    fail "blocked save: expected one line, got: $(cat "$work/blocked.err")"

# A data path that is not a folder: one line, no crash, with "QUIT" and with Escape.
fresh nofolder
rm -rf "$work/nofolder/data"
printf 'x' > "$work/nofolder/data"
run nofolder "${quit[@]}"
[ "$(field ended)" = '"quit"' ] && [ "$(wc -l < "$work/nofolder.err")" -eq 1 ] ||
    fail "no data folder, QUIT: $out $(cat "$work/nofolder.err")"
run nofolder "${escape[@]}"
[ "$(field ended)" = '"escape"' ] && [ "$(wc -l < "$work/nofolder.err")" -eq 1 ] ||
    fail "no data folder, Escape: $out $(cat "$work/nofolder.err")"

echo "frontend files: ok"
