#!/usr/bin/env bash
# A whole stage through the headless runner, as wall and CPU time: START, ship 1, then 12000
# frames of play (the map scrolls from the bottom to its top in about 11600) steering from side
# to side with the fire button held and a hyper field now and then, the ship kept from harm
# (--invulnerable) so that the run meets the whole stage and both boss forms. Each game folder
# given is run rasterised and with --no-render (the game's work alone), one after the other.
#
#   bench/stage.sh [--frames N] [GAME_DIR...]   (default build/game)
set -u
frames=12000
dirs=()
while [ $# -gt 0 ]; do
    case $1 in
        --frames) frames=$2; shift 2 ;;
        -*) echo "usage: $0 [--frames N] [GAME_DIR...]" >&2; exit 2 ;;
        *) dirs+=("$(cd "$1" && pwd)") || exit 2; shift ;;
    esac
done
[ ${#dirs[@]} -gt 0 ] || dirs=("$(cd "$(dirname "$0")/../build/game" && pwd)") || exit 2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
    printf '60 a\n61 -\n90 a\n91 -\n'
    moves=(left up right down right left)
    for ((f = 200, i = 0; f < frames; f += 100, i++)); do
        if ((f % 1500 == 0)); then
            printf '%d a s\n%d a\n' "$f" $((f + 2))
        else
            printf '%d a %s\n' "$f" "${moves[i % ${#moves[@]}]}"
        fi
    done
} > "$work/stage.keys"

TIMEFORMAT='%R %U %S'
for d in "${dirs[@]}"; do
    for mode in rasterised --no-render; do
        rm -rf "$work/game"
        mkdir -p "$work/game"
        cp -r "$d/gfx" "$d/sfx" "$d/level" "$work/game/"
        opts=(--invulnerable)
        [ "$mode" = --no-render ] && opts+=(--no-render)
        { time "$d/cinder-arc-sim" --dir "$work/game" --frames "$frames" --keys "$work/stage.keys" "${opts[@]}" \
            > "$work/out" 2> "$work/err"; } 2> "$work/time"
        grep -q '"ended":"frames","game_mode":1' "$work/out" ||
            { echo "$d: the run failed or left the stage: $(cat "$work/out" "$work/err")" >&2; exit 1; }
        read -r wall user sys < "$work/time"
        awk -v d="$d" -v m="${mode#--}" -v f="$frames" -v w="$wall" -v u="$user" -v s="$sys" \
            'BEGIN { printf "%s: %d frames %-10s wall %6.2f s  CPU %6.2f s (user %.2f, system %.2f)\n",
                     d, f, m, w, u + s, u, s }'
    done
done
