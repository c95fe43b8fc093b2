#!/usr/bin/env bash
# Fails when a game source includes across folders against the directions the README's Layout
# section gives: engine/ includes nothing of the game; the shared helpers and the headers of the
# game-wide variables may be included by anyone; player/ never includes enemies/ (but for the
# wave marker, which creates the fliers it releases); enemies/ and the containers build on
# player/; frontend/ builds on core/; core's spine may include everything.
set -u
cd "$1" || exit 2

# Included from anywhere: the object basics, lists, assets and tables, the drawing and maths
# helpers, and the headers that declare the game-wide variables.
open_to_all=" core/objects.h core/entities.h core/assets.h core/tables.h core/module_state.h core/object_codes.h \
player/helpers.h player/motion.h \
core/game_flow.h core/scroll.h core/hud.h core/stage_map.h frontend/input.h frontend/settings_file.h \
frontend/controls_file.h "

allowed() {  # FILE INCLUDED: true when FILE may include INCLUDED
    local file=$1 inc=$2 from=${1%%/*} to=${2%%/*}
    [ "$to" = engine ] && return 0
    [ "$from" = engine ] && return 1
    [ "$from" = "$to" ] && return 0
    case "$open_to_all" in *" $inc "*) return 0 ;; esac
    case "$file" in
        core/container[12].* | core/powercontainer[12].* | core/levelobject.*) [ "$to" = player ] ;;
        core/*) return 0 ;;  # the spine: start-up, game flow, spawner, entity pass, display
        frontend/*) [ "$to" = core ] ;;
        enemies/*) [ "$to" = player ] ;;
        player/trigger.cpp) [ "$inc" = enemies/enemy3.h ] ;;
        *) return 1 ;;
    esac
}

bad=0
while IFS=: read -r file _ line; do
    inc=$(echo "$line" | sed -n 's/^#include "\([a-z]*\/[a-z0-9_]*\.h\)".*/\1/p')
    [ -n "$inc" ] || continue
    if ! allowed "$file" "$inc"; then
        echo "$file includes $inc"
        bad=1
    fi
done < <(grep -rn --include='*.cpp' --include='*.h' '^#include "' engine core frontend player enemies)
[ $bad = 0 ] || { echo "against the include directions of the README's Layout section"; exit 1; }
echo "every include keeps to the directions"
