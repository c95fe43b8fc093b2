#!/usr/bin/env bash
# The menus as a player drives them with the keyboard: the cursor's 15-frame steps, the settings
# values and their limits, and the Left arrow taking CONTROL back from GAMEPAD. Settings are read
# back from the file Escape saves.
source "$(dirname "$0")/lib/setup.sh" "$@"

# run NAME FRAMES KEYLINES...: a fresh game folder NAME, the key script, the JSON line in $out;
# runner options in the array extra.
extra=()
run() {
    local name=$1 frames=$2
    shift 2
    rm -rf "$work/$name"
    cp -r "$work/base" "$work/$name"
    printf '%s\n' "$@" > "$work/$name.keys"
    out=$("$sim" --dir "$work/$name" --frames "$frames" --keys "$work/$name.keys" --no-render "${extra[@]}" 2> "$work/$name.err") \
        || fail "$name: exit code $? $(cat "$work/$name.err")"
}
field() { echo "$out" | sed -n "s/.*\"$1\":\([^,}]*\).*/\1/p"; }
settings() { od -An -tu1 "$work/$1/data/settings.dat" | tr -s ' ' | sed 's/^ //;s/ $//'; }

# Down held from frame 0 moves the cursor at frames 0, 15, 30 and 45, then stops on QUIT; the
# button at frame 60 then shows which row it is on. Row 4 (REPLAY, no file) does nothing.
expect_row() {
    local last_down=$1 row=$2
    run "down$last_down" 62 "0 down" "$((last_down + 1)) -" "60 a" "61 -"
    case $row in
        2) [ "$(field menu_screen)" = 2 ] || fail "down to $last_down: expected SETTINGS: $out" ;;
        3) [ "$(field menu_screen)" = 3 ] || fail "down to $last_down: expected HIGHSCORES: $out" ;;
        4) [ "$(field menu_screen)" = 1 ] && [ "$(field ended)" = '"frames"' ] ||
            fail "down to $last_down: expected REPLAY: $out" ;;
        5) [ "$(field ended)" = '"quit"' ] || fail "down to $last_down: expected QUIT: $out" ;;
    esac
}
expect_row 14 2
expect_row 15 3
expect_row 29 3
expect_row 30 4
expect_row 44 4
expect_row 45 5
expect_row 58 5

# Into the settings: Down at frame 0 (SETTINGS), the button at 10.
to_settings=("0 down" "1 -" "10 a" "11 -")

# DIFFICULTY: Left from NORMAL gives EASY, and stops there.
run easy 200 "${to_settings[@]}" "20 left" "120 -" "150 esc"
[ "$(settings easy)" = "0 0 0 20" ] || fail "difficulty left: $(settings easy)"
run hard 200 "${to_settings[@]}" "20 right" "120 -" "150 esc"
[ "$(settings hard)" = "2 0 0 20" ] || fail "difficulty right: $(settings hard)"

# PARTICLES (row 4): held right it climbs once every 10 frames and stops at 40; left, at 10.
run p40 700 "${to_settings[@]}" "20 down" "51 -" "60 right" "600 -" "610 esc"
[ "$(settings p40)" = "1 0 0 40" ] || fail "particles right: $(settings p40)"
run p30 700 "${to_settings[@]}" "20 down" "51 -" "60 right" "151 -" "610 esc"
[ "$(settings p30)" = "1 0 0 30" ] || fail "particles 91 frames right: $(settings p30)"
run p10 700 "${to_settings[@]}" "20 down" "51 -" "60 left" "600 -" "610 esc"
[ "$(settings p10)" = "1 0 0 10" ] || fail "particles left: $(settings p10)"

# CONTROL (row 2): Right chooses GAMEPAD; with a pad plugged in the keyboard no longer moves
# anything (Down, Right would have set RESOLUTION to FULL), but the Left arrow still chooses
# KEYBOARD back. Without a pad the keyboard goes on driving the menus.
extra=(--pad)
run pad 200 "${to_settings[@]}" "20 down" "21 -" "30 right" "31 -" "60 down" "61 -" "80 right" "81 -" "150 esc"
[ "$(settings pad)" = "1 1 0 20" ] || fail "control right: $(settings pad)"
run back 200 "${to_settings[@]}" "20 down" "21 -" "30 right" "31 -" "60 left" "61 -" "150 esc"
[ "$(settings back)" = "1 0 0 20" ] || fail "left arrow from GAMEPAD: $(settings back)"
extra=()
run nopad 200 "${to_settings[@]}" "20 down" "21 -" "30 right" "31 -" "60 down" "61 -" "80 right" "81 -" "150 esc"
[ "$(settings nopad)" = "1 1 1 20" ] || fail "GAMEPAD without a pad: $(settings nopad)"

# EXIT (row 5) returns to the main menu, on its first row.
run exit 200 "${to_settings[@]}" "20 down" "81 -" "90 a" "91 -" "100 a" "101 -"
[ "$(field menu_screen)" = 4 ] || fail "EXIT then START: $out"

echo "frontend menus: ok"
