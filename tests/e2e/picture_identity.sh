#!/usr/bin/env bash
# Every picture of a long scripted game (settings, high scores, ship selection, play steering to
# every edge, enemies, explosions, ships lost, hyper fields and their ring bursts, the debug
# overlay) is the same to the pixel
# whether frames at 2x are copied from the textures doubled at load or scaled by the general
# copy: the runner hashes every presented picture, once each way.
source "$(dirname "$0")/lib/setup.sh" "$@"

frames=2600
cat > "$work/long.keys" << 'EOF'
# SETTINGS: PARTICLES up to 30, then EXIT
0 down
1 -
10 a
11 -
20 down
51 -
60 right
151 -
160 down
161 -
170 a
171 -
# HIGHSCORES, two more tables, back
180 down
196 -
200 a
201 -
210 right
211 -
240 right
241 -
270 a
271 -
# to the top row, START, ship 2 and back to ship 1
280 up
340 -
350 a
351 -
360 right
361 -
380 left
381 -
400 a
401 -
# play: fire, steer to every edge, three hyper fields, the debug overlay on and off
600 a
700 a left
900 a s
902 a up
1100 a right
1300 a d
1302 a down
1500 a
1600 a s left
1602 a left
1800 a d
1802 up
2000 a right
2200 a s
2202 a down
2400 a
EOF

for way in doubled reference; do
    opts=()
    [ "$way" = reference ] && opts=(--reference-draw)
    cp -r "$work/base" "$work/$way"
    out=$("$sim" --dir "$work/$way" --frames "$frames" --keys "$work/long.keys" --hashes "$work/$way.hashes" \
        "${opts[@]}" 2> "$work/$way.err") || fail "$way: exit code $? $(cat "$work/$way.err")"
    # Enemies shot down (and so explosions) show that the run played the stage.
    echo "$out" | grep -q '"score":[1-9]' || fail "$way: nothing was shot down: $out"
done

[ "$(wc -l < "$work/doubled.hashes")" = "$frames" ] || fail "expected $frames hashes: $(wc -l < "$work/doubled.hashes")"
# The game moves on every frame or nearly: a run of one picture would prove nothing.
distinct=$(cut -d' ' -f2 "$work/doubled.hashes" | sort -u | wc -l)
[ "$distinct" -gt $((frames * 9 / 10)) ] || fail "only $distinct different pictures in $frames frames"
if ! cmp -s "$work/doubled.hashes" "$work/reference.hashes"; then
    fail "pictures differ, first at frame $(diff "$work/doubled.hashes" "$work/reference.hashes" | sed -n 's/^< \([0-9]*\) .*/\1/p' | head -n 1)"
fi
echo "picture identity: ok ($frames frames, $distinct different pictures)"
