#!/usr/bin/env bash
# A game as a player plays it: START, ship 1, the stage banner, the fly-in, the main gun and the
# second weapon, a hyper field with its ring burst, steering; then ship 2. Checked through the
# runner's JSON line and a few pixel probes of its screenshots (no stored pictures).
source "$(dirname "$0")/lib/setup.sh" "$@"
source "$(dirname "$0")/lib/game.sh"
lit="r + g + b > 0"                                      # anything not black
banner="r >= 192 && g >= 64 && g <= 208 && b <= 96"      # the orange of the large font

# START at 60, ship 1 at 90 (play begins; the ship comes 74 frames later, at 163, and flies in
# until 237). Fire held from 200, the hyper field at 300 (its ring burst at 448), left and right.
keys=("60 a" "61 -" "90 a" "91 -" "200 a" "300 a s" "302 a" "400 left a" "420 right a" "440 -")
run ship1 460 --shot 100:"$work/banner.bmp" --shot 260:"$work/firing.bmp" --shot 310:"$work/hyper.bmp" -- "${keys[@]}"
[ "$(field game_mode)" = 1 ] || fail "not in play: $out"
[ "$(field lives)" = 2 ] || fail "the first ship should leave 2 in reserve: $out"
[ "$(count player)" = 1 ] || fail "no ship: $out"
[ "$(count shot)" -gt 0 ] || fail "no shots: $out"
[ "$(count effect)" = 74 ] || fail "the ring burst should leave 74 effects: $out"
[ "$(field score)" = 0 ] || fail "score without enemies: $out"

# The side panel is black wherever the HUD draws nothing; the play field is not.
for shot in banner firing hyper; do
    [ "$(pixels "$work/$shot.bmp" 600 420 30 30 "$lit")" = 0 ] || fail "$shot: side panel not black"
    [ "$(pixels "$work/$shot.bmp" 20 20 30 30 "$lit")" -gt 0 ] || fail "$shot: empty play field"
done
# "STAGE=1" in the large font while the banner shows, gone once the scroll has begun.
[ "$(pixels "$work/banner.bmp" 182 168 140 24 "$banner")" -gt 200 ] || fail "no banner text at frame 100"
[ "$(pixels "$work/firing.bmp" 182 168 140 24 "$banner")" -lt 20 ] || fail "banner text still shown at frame 260"
# The third hyper icon of the HUD is used up by the field.
[ "$(pixels "$work/firing.bmp" 596 192 16 16 "$lit")" -gt 100 ] || fail "three hyper icons expected at frame 260"
[ "$(pixels "$work/hyper.bmp" 596 192 16 16 "$lit")" = 0 ] || fail "two hyper icons expected at frame 310"

# The same game without the hyper field: no rings, and the picture differs around the ship.
run nohyper 460 --shot 310:"$work/nohyper.bmp" -- "60 a" "61 -" "90 a" "91 -" "200 a" "400 left a" "420 right a" "440 -"
[ "$(count effect)" = 0 ] || fail "effects without a hyper field: $out"
cmp -s "$work/hyper.bmp" "$work/nohyper.bmp" && fail "the hyper field draws nothing"

# Before frame 163 there is no ship. Its 74th update, the last of the climb, is at frame 236: Left
# held until then leaves the picture of frame 240 as it was, Left held two frames longer moves it.
run early 163 --no-render -- "60 a" "61 -" "90 a" "91 -"
[ "$(count player)" = 0 ] || fail "a ship before frame 163: $out"
run still 241 --shot 240:"$work/still.bmp" -- "60 a" "61 -" "90 a" "91 -"
[ "$(count player)" = 1 ] || fail "no ship at frame 240: $out"
run flyleft 241 --shot 240:"$work/flyleft.bmp" -- "60 a" "61 -" "90 a" "91 -" "100 left" "236 -"
cmp -s "$work/still.bmp" "$work/flyleft.bmp" || fail "the ship was steered during its climb"
run steered 241 --shot 240:"$work/steered.bmp" -- "60 a" "61 -" "90 a" "91 -" "100 left" "238 -"
cmp -s "$work/still.bmp" "$work/steered.bmp" && fail "the ship cannot be steered after its climb"

# Ship 2: its fan-shaped gun fires too, and two runs give the same picture.
ship2=("60 a" "61 -" "70 right" "71 -" "90 a" "91 -" "200 a")
run ship2 300 --shot 299:"$work/ship2a.bmp" -- "${ship2[@]}"
[ "$(count player)" = 1 ] && [ "$(count shot)" -gt 0 ] || fail "ship 2 does not fire: $out"
run ship2b 300 --shot 299:"$work/ship2b.bmp" -- "${ship2[@]}"
cmp -s "$work/ship2a.bmp" "$work/ship2b.bmp" || fail "two runs of ship 2 drew different pictures"
cmp -s "$work/ship2a.bmp" "$work/firing.bmp" && fail "ship 2 looks like ship 1"

echo "player game: ok"
