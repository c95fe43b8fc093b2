#!/usr/bin/env bash
# The enemies in a game as a player meets them: the ground fights back and the ship's fire
# scores; a whole stage in which both boss forms are destroyed and the game ends with the name
# entry; and a first boss form left alone that flies off. Checked through the runner's JSON line
# and pixel probes of its screenshots (no stored pictures).
#
# The whole-stage runs use the runner's --invulnerable test aid (the ship stays in its protected
# state) so that a plain key script reaches the boss fights; the first run is an ordinary game.
source "$(dirname "$0")/lib/setup.sh" "$@"
source "$(dirname "$0")/lib/game.sh"
bar="r == 248 && g == 56 && b == 0"        # the boss's energy bar
bullet="r == 255 && g == 243 && b == 176"  # the pale-yellow cores of enemy bullets

# START, ship 1, the main gun held from frame 200, the ship left where it comes in (NORMAL).
fire=("60 a" "61 -" "90 a" "91 -" "200 a")
run ground 1500 --no-render --shot 1499:"$work/ground.bmp" -- "${fire[@]}"
[ "$(field score)" -gt 0 ] || fail "the ship's fire scored nothing: $out"
[ "$(count enemy)" -gt 0 ] && [ "$(count bullet)" -gt 0 ] || fail "no enemies or no enemy fire: $out"
[ "$(pixels "$work/ground.bmp" 0 0 480 480 "$bullet")" -gt 0 ] || fail "no enemy bullet to be seen"
run ground 3000 --no-render -- "${fire[@]}"
[ "$(field lives)" = 0 ] || fail "a ship that only sits and fires should be shot down: $out"

# The whole stage with the protected ship firing straight up: the first form dies in mid-stage,
# the second at the top of the map, and its death ends the game with the name entry.
run stage 14000 --no-render --invulnerable --shot 6300:"$work/boss1.bmp" --shot 11800:"$work/boss2.bmp" \
    --shot 4000:"$work/noboss.bmp" -- "${fire[@]}"
[ "$(field game_mode)" = 0 ] && [ "$(field menu_screen)" = 3 ] || fail "the game did not end: $out"
[ "$(field new_hiscore)" = 1 ] && [ "$(field hiscore_rank)" -le 10 ] || fail "no name entry: $out"
[ "$(field score)" -ge 150000 ] || fail "both forms destroyed should score 150000 and more: $out"
[ "$(pixels "$work/boss1.bmp" 140 14 200 10 "$bar")" -gt 100 ] || fail "no energy bar of the first form"
[ "$(pixels "$work/boss2.bmp" 140 14 200 10 "$bar")" -gt 100 ] || fail "no energy bar of the second form"
[ "$(pixels "$work/noboss.bmp" 140 14 200 10 "$bar")" = 0 ] || fail "an energy bar with no boss"

# The first form left alone: there at scroll_pos 1929.5, gone (unscored) 300 frames later.
run leave 7900 --no-render --invulnerable -- "60 a" "61 -" "90 a" "91 -"
[ "$(count boss)" = 1 ] || fail "no first form in mid-stage: $out"
run leave 8200 --no-render --invulnerable -- "60 a" "61 -" "90 a" "91 -"
[ "$(count boss)" = 0 ] && [ "$(field score)" = 0 ] || fail "the first form did not fly off: $out"

# Rasterising only the saved frames gives the picture a fully rendered run presents.
rm -rf "$work/full" && cp -r "$work/base" "$work/full"
printf '%s\n' "${fire[@]}" > "$work/full.keys"
"$sim" --dir "$work/full" --frames 1500 --keys "$work/full.keys" --shot 1499:"$work/full.bmp" > /dev/null \
    || fail "rendered run failed"
cmp -s "$work/full.bmp" "$work/ground.bmp" || fail "a frame saved without rendering the others differs"

echo "enemies game: ok"
