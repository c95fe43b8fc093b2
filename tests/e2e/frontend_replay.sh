#!/usr/bin/env bash
# Replays as a player makes them: "START" left alone writes the difficulty and one byte per step,
# "REPLAY" plays a recorded game back choosing the same ship and reaching the same state frame for
# frame, and odd or unwritable replay files neither crash nor stop the game.
source "$(dirname "$0")/lib/setup.sh" "$@"
source "$(dirname "$0")/lib/game.sh"
bytes() { od -An -tu1 -v "$1" | tr -s ' ' '\n' | sed '/^$/d'; }
# The end state without the timings and the replay's own bookkeeping.
state() { echo "$1" | sed 's/"replay_pos":[0-9]*,"replay_mode":[0-9]*,//; s/,"frame_work_us".*//'; }

# "START" at frame 5, nothing touched: the selection starts ship 1 by itself 1499 frames later, at
# frame 1504, whose two input steps write bytes 1499 and 1500.
fresh idle
run_in idle 1504 --no-render -- "5 a" "6 -"
[ "$(field game_mode)" = 0 ] || fail "the selection ended early: $out"
[ "$(wc -c < "$work/idle/replay/replay.txt")" -eq 1499 ] || fail "to frame 1503: $(wc -c < "$work/idle/replay/replay.txt") bytes"
fresh idle
run_in idle 1505 --no-render -- "5 a" "6 -"
[ "$(field game_mode)" = 1 ] || fail "the selection did not start the game: $out"
[ "$(field replay_pos)" = 1501 ] || fail "replay_pos: $out"
file="$work/idle/replay/replay.txt"
[ "$(wc -c < "$file")" -eq 1501 ] || fail "replay size $(wc -c < "$file")"
[ "$(bytes "$file" | head -n 1)" = 1 ] || fail "difficulty byte $(bytes "$file" | head -n 1)"
[ "$(bytes "$file" | tail -n +2 | grep -c '^50$')" -eq 1500 ] || fail "inputs other than 50 in an idle replay"

# A recorded game: "START" at 60, Right to ship 2 at 70, confirmed at 90, then moves and fire.
record=("60 a" "61 -" "70 right" "71 -" "90 a" "91 -" "100 up a" "140 left" "170 -" "200 right s")
fresh rec
run_in rec 400 --shot 80:"$work/rec80.bmp" -- "${record[@]}"
rec_end=$out
cp "$work/rec/replay/replay.txt" "$work/recorded.txt"
fresh rec95
run_in rec95 95 --no-render -- "${record[@]}"
rec_95=$out
# The same without the move to ship 2, to show the pictures tell the ships apart.
fresh ship1
run_in ship1 81 --shot 80:"$work/ship1.bmp" -- "60 a" "61 -" "90 a" "91 -"
cmp -s "$work/rec80.bmp" "$work/ship1.bmp" && fail "ship 1 and ship 2 selections look the same"

# "REPLAY" (row 4) chosen at frame 60 too, so the title backdrop is in the same place.
play=("0 down" "31 -" "60 a" "61 -")
for frames in 95 400; do
    fresh rep$frames
    mkdir -p "$work/rep$frames/replay"
    cp "$work/recorded.txt" "$work/rep$frames/replay/replay.txt"
done
run_in rep400 400 --shot 80:"$work/rep80.bmp" -- "${play[@]}"
[ "$(field replay_mode)" = 1 ] || fail "not a replay: $out"
[ "$(state "$out")" = "$(state "$rec_end")" ] || fail "replay ended as $(state "$out"), the game as $(state "$rec_end")"
cmp -s "$work/rec80.bmp" "$work/rep80.bmp" || fail "the replay's ship selection differs from the recorded one"
cmp -s "$work/recorded.txt" "$work/rep400/replay/replay.txt" || fail "playback changed the replay file"
run_in rep95 95 --no-render -- "${play[@]}"
[ "$(state "$out")" = "$(state "$rec_95")" ] || fail "frame 95: replay $(state "$out"), game $(state "$rec_95")"

# A short file: EASY, Right, then the button, repeated to the end: ship 2 starts on the second
# step and the position stops at the file's size.
fresh short
mkdir -p "$work/short/replay"
printf '\000\074\063' > "$work/short/replay/replay.txt"
run_in short 100 --no-render -- "${play[@]}"
[ "$(field game_mode)" = 1 ] && [ "$(field replay_pos)" = 3 ] && [ "$(field setting_difficulty)" = 0 ] ||
    fail "short replay: $out"

# A difficulty byte outside 0..2 plays at NORMAL, even when HARD was set.
fresh baddiff
mkdir -p "$work/baddiff/replay" "$work/baddiff/data"
printf '\002\000\000\024' > "$work/baddiff/data/settings.dat"
printf '\007\062' > "$work/baddiff/replay/replay.txt"
run_in baddiff 70 --no-render -- "${play[@]}"
[ "$(field setting_difficulty)" = 1 ] || fail "difficulty byte 7: $out"

# Bytes no recording writes (0, 255, 5, 99, 94) give no move and no button: the selection waits.
fresh junk
mkdir -p "$work/junk/replay"
printf '\001\000\377\005\143\136' > "$work/junk/replay/replay.txt"
run_in junk 100 --no-render -- "${play[@]}"
[ "$(field game_mode)" = 0 ] && [ "$(field menu_screen)" = 4 ] || fail "junk replay bytes acted: $out"

# A replay that cannot be written stops the recording with one line; the game goes on.
fresh nowrite
printf 'x' > "$work/nowrite/replay"
run_in nowrite 60 --no-render -- "5 a" "6 -" "30 a" "31 -"
[ "$(field game_mode)" = 1 ] || fail "the game stopped with the recording: $out"
[ "$(wc -l < "$work/nowrite.err")" -eq 1 ] && grep -q 'replay' "$work/nowrite.err" ||
    fail "unwritable replay: expected one line, got: $(cat "$work/nowrite.err")"

echo "frontend replay: ok"
