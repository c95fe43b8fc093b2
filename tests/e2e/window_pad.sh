#!/usr/bin/env bash
# A game pad that comes and goes, in the real window under Xvfb through SDL's virtual joysticks
# (its own joystick and game-controller code): with CONTROL on GAMEPAD the pad drives the menus
# and play; a second pad is ignored while the first is in; pulling the first out in play pauses
# it and the keyboard drives; a pad plugged in again takes over.
source "$(dirname "$0")/lib/setup.sh" "$@"
source "$(dirname "$0")/lib/xvfb.sh"
cp "$game/cinder-arc-padcheck" "$work/base/"
mkdir -p "$work/base/data"
printf '\001\001\000\024' > "$work/base/data/settings.dat"
start_x 1024x768
(cd "$work/base" && SDL_AUDIODRIVER=dummy ./cinder-arc-padcheck) > "$work/pad.out" 2> "$work/pad.err" ||
    fail "exit code $?: $(cat "$work/pad.err")"
# check FRAME "game_mode menu_screen paused input_move input_button" WHY
check() {
    local got
    got=$(awk -v f="$1" '$1 == f {print $2, $3, $4, $5, $6}' "$work/pad.out")
    [ "$got" = "$2" ] || fail "frame $1: $3: got '$got' (game_mode menu_screen paused move button)"
}
check 4 "0 1 0 5 0" "before the pad, the title page"
check 120 "1 4 0 5 0" "the pad's A chose START and the ship"
check 140 "1 4 0 6 0" "the stick moves the ship"
check 165 "1 4 0 6 0" "a second pad is ignored"
check 180 "1 4 0 6 0" "the second pad pulled out changes nothing"
check 195 "1 4 1 5 0" "the first pad pulled out pauses play (its last frame read the keyboard)"
check 215 "1 4 0 4 0" "P resumes and the keyboard drives"
check 235 "1 4 0 2 0" "a pad plugged in again drives"
echo "window pad: ok"
