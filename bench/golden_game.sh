#!/usr/bin/env bash
# Whole golden games rendered through the headless runner, every frame drawn, as wall and CPU
# time: the cost of software drawing over a real game from the title to the last boss.
#
#   bench/golden_game.sh [GAME_DIR]   (default build/game)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
game=$(cd "${1:-$root/build/game}" && pwd) || exit 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$game/gfx" "$game/sfx" "$game/level" "$work/"
TIMEFORMAT='%R %U %S'
for replay in "$root"/tests/golden/*.replay; do
    name=$(basename "$replay" .replay)
    for mode in rendered --no-render; do
        opts=()
        [ "$mode" = --no-render ] && opts=(--no-render)
        { time "$game/cinder-arc-sim" --dir "$work" --replay "$replay" --expect "$root/tests/golden/$name.expect" \
            "${opts[@]}" > "$work/out" 2> "$work/err"; } 2> "$work/time" ||
            { echo "$name: $(cat "$work/err")" >&2; exit 1; }
        read -r wall user sys < "$work/time"
        frames=$(sed -n 's/.*"frames":\([0-9]*\).*/\1/p' "$work/out")
        awk -v n="$name" -v m="${mode#--}" -v f="$frames" -v w="$wall" -v u="$user" -v s="$sys" \
            'BEGIN { printf "golden game %-14s %6s frames %-9s wall %6.2f s  CPU %6.2f s\n", n, f, m, w, u + s }'
    done
done
