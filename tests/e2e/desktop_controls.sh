#!/usr/bin/env bash
# The player's desktop keys through the runner: CONTROL left on GAMEPAD without a pad no longer
# locks the keyboard out; P pauses play (nothing moves, nothing is recorded, Escape still ends)
# and a paused-and-resumed game's replay plays back the same game; keys bound in
# data/controls.txt with a broken line reported; M kept in that file; F12 writes a PNG; the game
# found from another folder, or the folders it looked in named.
source "$(dirname "$0")/lib/setup.sh" "$@"
source "$(dirname "$0")/lib/game.sh"
settings() { od -An -tu1 "$work/$1/data/settings.dat" | tr -s ' ' | sed 's/^ //;s/ $//'; }
# The end state without the frame count, the timings and the replay's own bookkeeping.
state() { echo "$1" | sed 's/"frames":[0-9]*,//; s/"replay_pos":[0-9]*,"replay_mode":[0-9]*,//; s/,"frame_work_us".*//'; }

# --- GAMEPAD saved, no pad: Down and A still reach SETTINGS, and the setting is kept. With a pad
# plugged in, the pad drives and the same keys do nothing.
fresh lock
mkdir -p "$work/lock/data"
printf '\001\001\000\024' > "$work/lock/data/settings.dat"
run_in lock 60 --no-render -- "0 down" "1 -" "10 a" "11 -" "40 esc"
[ "$(field ended)" = '"escape"' ] && [ "$(field menu_screen)" = 2 ] || fail "locked out without a pad: $out"
[ "$(settings lock)" = "1 1 0 20" ] || fail "GAMEPAD not kept: $(settings lock)"
run_in lock 60 --no-render --pad -- "0 down" "1 -" "10 a" "11 -" "40 esc"
[ "$(field menu_screen)" = 1 ] || fail "the keyboard drove the menus beside a pad: $out"
echo "no lock-out: ok"

# --- Pause. A game: START at 60, ship 1 at 90, moves and fire; P at 150 pauses from frame 151,
# P at 250 resumes at 251 (100 paused frames), while keys held in between do nothing.
game=("60 a" "61 -" "90 a" "91 -" "100 up a" "140 left" "150 p left" "151 right a" "250 p" "251 right s"
    "300 down a" "330 -")
fresh paused
run_in paused 200 --no-render -- "${game[@]}"
at200=$out
size200=$(wc -c < "$work/paused/replay/replay.txt")
fresh paused
run_in paused 250 --no-render -- "${game[@]}"
[ "$(field paused)" = 1 ] || fail "not paused at frame 249: $out"
[ "$(state "$out")" = "$(state "$at200")" ] || fail "something moved while paused: $at200 / $out"
[ "$(wc -c < "$work/paused/replay/replay.txt")" -eq "$size200" ] || fail "replay bytes written while paused"
fresh paused
run_in paused 420 --shot 419:"$work/paused419.bmp" -- "${game[@]}"
[ "$(field paused)" = 0 ] && [ "$(field game_mode)" = 1 ] || fail "not resumed: $out"
recorded=$out
# Without the pause, the same inputs 100 frames earlier: the same replay file.
unpaused=("60 a" "61 -" "90 a" "91 -" "100 up a" "140 left" "151 right s" "200 down a" "230 -")
fresh plain
run_in plain 320 --no-render -- "${unpaused[@]}"
cmp -s "$work/paused/replay/replay.txt" "$work/plain/replay/replay.txt" ||
    fail "the paused game's replay differs from the same game never paused"
# Played back (REPLAY chosen at frame 60 too): the same state and picture 100 frames earlier.
fresh replay
mkdir -p "$work/replay/replay"
cp "$work/paused/replay/replay.txt" "$work/replay/replay/"
run_in replay 320 --shot 319:"$work/replay319.bmp" -- "0 down" "31 -" "60 a" "61 -"
[ "$(field replay_mode)" = 1 ] || fail "not a replay: $out"
[ "$(state "$out")" = "$(state "$recorded")" ] || fail "the replay differs: $recorded / $out"
cmp -s "$work/paused419.bmp" "$work/replay319.bmp" || fail "the replay's picture differs"
# Escape ends a paused game.
run_in paused 400 --no-render -- "${game[@]:0:7}" "200 esc"
[ "$(field ended)" = '"escape"' ] && [ "$(field frames)" = 201 ] || fail "Escape while paused: $out"
echo "pause: ok"

# --- Keys of one's own: fire on Space, down on J; line 3 is broken and reported by number.
fresh keys
mkdir -p "$work/keys/data"
printf 'fire = Space\ndown = J\nleft = Nothing\n' > "$work/keys/data/controls.txt"
# The Down arrow (now unbound) would have moved to HIGHSCORES, and A (unbound) at frame 3 would
# have started a game: J moves to SETTINGS and Space enters it.
run_in keys 60 --no-render -- "0 down" "1 -" "3 a" "4 -" "5 j" "6 -" "30 space" "31 -"
[ "$(field menu_screen)" = 2 ] || fail "bound keys: $out"
grep -qx 'cinder-arc: data/controls.txt:3: unknown key "Nothing" (line ignored)' "$work/keys.err" ||
    fail "broken line: $(cat "$work/keys.err")"
[ "$(wc -l < "$work/keys.err")" -eq 1 ] || fail "more than one line: $(cat "$work/keys.err")"
# M mutes; the choice goes into the same file, whose other lines stay.
run_in keys 20 --no-render -- "5 m" "6 -"
grep -qx 'mute = yes' "$work/keys/data/controls.txt" && grep -qx 'fire = Space' "$work/keys/data/controls.txt" ||
    fail "mute not kept: $(cat "$work/keys/data/controls.txt")"
# A fresh folder gets the defaults written.
fresh defaults
run_in defaults 5 --no-render -- "0 -"
grep -qx 'fire = A' "$work/defaults/data/controls.txt" && grep -qx 'mute = no' "$work/defaults/data/controls.txt" ||
    fail "defaults: $(cat "$work/defaults/data/controls.txt")"
echo "keys: ok"

# --- F12 (key 123): a 640 x 480 PNG in screenshots/, and one line saying where.
fresh shot
run_in shot 20 -- "10 123" "11 -"
shots=("$work/shot"/screenshots/*.png)
[ ${#shots[@]} -eq 1 ] && [ -f "${shots[0]}" ] || fail "screenshots: ${shots[*]}"
[ "$(od -An -tx1 -N 8 "${shots[0]}" | tr -d ' ')" = 89504e470d0a1a0a ] || fail "not a PNG"
[ "$(od -An -tu1 -j 16 -N 8 "${shots[0]}" | tr -s ' ' | sed 's/^ //;s/ $//')" = "0 0 2 128 0 0 1 224" ] ||
    fail "the PNG is not 640 x 480"
grep -q "screenshot saved to $work/shot/screenshots/" "$work/shot.err" || fail "$(cat "$work/shot.err")"
echo "screenshot: ok"

# --- Started from another folder: the files beside the executable are found (and the game
# writes there); with no files anywhere, one line names the folders it looked in.
fresh portable
cp "$sim" "$work/portable/"
mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && "$work/portable/cinder-arc-sim" --frames 3 --no-render > "$work/portable.out" 2>&1) ||
    fail "from another folder: $(cat "$work/portable.out")"
[ -f "$work/portable/data/controls.txt" ] || fail "from another folder: nothing written beside the game"
mkdir -p "$work/bare"
cp "$sim" "$work/bare/"
(cd "$work/elsewhere" && "$work/bare/cinder-arc-sim" --frames 3 --no-render > "$work/bare.out" 2>&1) &&
    fail "ran without its files"
grep -q "are not in $work/elsewhere/, $work/bare/ and $work/bare/../share/cinder-arc/" "$work/bare.out" ||
    fail "no files: $(cat "$work/bare.out")"
echo "game files: ok"
