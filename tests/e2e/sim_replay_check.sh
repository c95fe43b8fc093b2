#!/usr/bin/env bash
# Checking a replay with the runner: a scripted game is recorded, --replay plays it back through
# the menu's "REPLAY" and gives the recorded game's pictures and end state, --record-expect and
# --expect make and check an expectations file (with the same picture hashes as --hashes), and a
# replay changed by one byte is caught at the first picture it changes.
source "$(dirname "$0")/lib/setup.sh" "$@"

field() { echo "$1" | sed -n "s/.*\"$2\":\([^,}]*\).*/\1/p"; }

# The game: "START" at frame 60 as "REPLAY" is chosen, ship 2, moves, fire and a hyper field,
# Escape at frame 350.
printf '%s\n' "60 a" "61 -" "70 right" "71 -" "90 a" "91 -" "100 up a" "140 left" "170 -" \
    "200 right s" "300 -" "350 esc" > "$work/game.keys"
cp -r "$work/base" "$work/rec"
shots=(--hash-at 62,95,120,200,260,349)
rec=$("$sim" --dir "$work/rec" --keys "$work/game.keys" --record-expect "$work/rec.expect" "${shots[@]}" \
    --hashes "$work/rec.hashes") || fail "recording run: exit code $?"
cp "$work/rec/replay/replay.txt" "$work/game.rep"
[ "$(field "$rec" ended)" = '"escape"' ] || fail "recording: $rec"
# --hashes and the expectations' picture lines hash a picture alike.
while read -r _ f hash; do
    grep -qx "$f $hash" "$work/rec.hashes" || fail "--hashes disagrees with the picture line of frame $f"
done < <(grep '^picture' "$work/rec.expect")

# The replay ends where the recording did, with the same state and the same pictures (drawn
# only at the hashed frames here, all of them in the recording).
out=$("$sim" --dir "$work/base" --no-render --replay "$work/game.rep" --record-expect "$work/rep.expect" "${shots[@]}" 2> "$work/err") ||
    fail "replay run: exit code $? $(cat "$work/err")"
[ "$(field "$out" ended)" = '"replay"' ] && [ "$(field "$out" frames)" = 351 ] && [ "$(field "$out" replay_mode)" = 1 ] ||
    fail "the replay did not end where the game did: $out"
for f in score lives scroll_pos setting_difficulty replay_pos counts; do
    [ "$(field "$out" $f)" = "$(field "$rec" $f)" ] || fail "$f: replay $(field "$out" $f), game $(field "$rec" $f)"
done
diff <(grep '^picture' "$work/rec.expect") <(grep '^picture' "$work/rep.expect") > "$work/diff" ||
    fail "the replay's pictures differ from the game's: $(cat "$work/diff")"
[ "$(grep -c '^picture' "$work/rep.expect")" = 6 ] || fail "pictures recorded: $(cat "$work/rep.expect")"
# The pictures tell the moments apart (a constant hash would pass any check).
[ "$(grep '^picture' "$work/rep.expect" | cut -d' ' -f3 | sort -u | wc -l)" = 6 ] || fail "equal hashes: $(cat "$work/rep.expect")"
[ -e "$work/base/replay" ] && fail "checking a replay wrote into the game folder"

# The expectations check: passes, then names the first difference with exit code 1.
check() { "$sim" --dir "$work/base" --no-render --replay "$1" --expect "$2" > /dev/null 2> "$work/err"; }
check "$work/game.rep" "$work/rep.expect" || fail "the replay fails its own expectations: $(cat "$work/err")"
[ -s "$work/err" ] && fail "a passing check printed: $(cat "$work/err")"
sed 's/^score .*/score 100/' "$work/rep.expect" > "$work/score.expect"
check "$work/game.rep" "$work/score.expect"
[ $? -eq 1 ] && grep -q 'score at the end of the run (after frame 350): expected 100, got 0' "$work/err" ||
    fail "a wrong score: $(cat "$work/err")"

# One byte changed: Left instead of Right (with the hyper button) at the replay's step 200, played
# in frame 258, so the ship is elsewhere from there on: the picture at frame 260 is the first of
# those checked to differ.
cp "$work/game.rep" "$work/changed.rep"
printf '\052' | dd of="$work/changed.rep" bs=1 seek=200 conv=notrunc 2> /dev/null
cmp -s "$work/game.rep" "$work/changed.rep" && fail "the replay was not changed"
check "$work/changed.rep" "$work/rep.expect"
[ $? -eq 1 ] && grep -q 'the picture at frame 260: expected' "$work/err" || fail "a changed replay: $(cat "$work/err")"

# A replay cut short ends with its last step: step n plays in frame 60 + n up to the start of play
# (two steps in frame 90), 59 + n after it, so step 100 in frame 159. One of only a difficulty
# byte ends right away.
head -c 101 "$work/game.rep" > "$work/short.rep"
out=$("$sim" --dir "$work/base" --replay "$work/short.rep" --no-render) || fail "short replay: exit code $?"
[ "$(field "$out" ended)" = '"replay"' ] && [ "$(field "$out" frames)" = 160 ] || fail "short replay: $out"
printf '\002' > "$work/bare.rep"
out=$("$sim" --dir "$work/base" --replay "$work/bare.rep" --no-render) || fail "bare replay: exit code $?"
[ "$(field "$out" ended)" = '"replay"' ] && [ "$(field "$out" setting_difficulty)" = 2 ] || fail "bare replay: $out"

# Files that cannot be used: one line naming the file, exit code 2.
bad() {
    local name=$1 expect=$2
    shift 2
    "$sim" --dir "$work/base" "$@" > /dev/null 2> "$work/err"
    [ $? -eq 2 ] && [ "$(wc -l < "$work/err")" -eq 1 ] && grep -q -- "$expect" "$work/err" ||
        fail "$name: $(cat "$work/err")"
}
: > "$work/empty.rep"
bad "missing replay" "nothing.rep: cannot read the replay" --replay "$work/nothing.rep"
bad "empty replay" "empty.rep: the replay is empty" --replay "$work/empty.rep"
bad "folder as replay" "cannot read the replay" --replay "$work/base"
printf 'score 1\nlevel 3\n' > "$work/bad.expect"
bad "unknown field" 'bad.expect:2: unknown field "level"' --replay "$work/game.rep" --expect "$work/bad.expect"
head -c 300 /dev/urandom > "$work/junk.expect"
bad "garbage expectations" "junk.expect" --replay "$work/game.rep" --expect "$work/junk.expect"
bad "a frame never presented" "frame 500 was never presented" --replay "$work/short.rep" \
    --record-expect "$work/x.expect" --hash-at 10,500
[ -e "$work/x.expect" ] && fail "an incomplete expectations file was written"

echo "sim replay check: ok"
