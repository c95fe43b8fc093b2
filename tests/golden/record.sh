#!/usr/bin/env bash
# Records the golden replays again: the autopilot plays each game, and the runner writes its
# expectations (end state and pictures). Run after a change that alters play or pictures on
# purpose, and commit the new files with that change, saying why.
#   tests/golden/record.sh [BUILD_DIR]   (default: build)
set -eu
cd "$(dirname "$0")/../.."  # relative paths from the top, so the files name no machine's folders
here=tests/golden
build=${1:-build}
# The picture hashes: ten moments spread over the stage, the first boss fight at about 5800 to
# 6100 and the second at about 11700 to 12200 (frames of the replay's run, which begins play at 61).
frames=1000,2500,4000,5000,5800,6100,8000,9500,11700,12200
# name difficulty ship
games=("easy-ship2 0 2" "normal-ship1 1 1" "hard-ship1 2 1")
for game in "${games[@]}"; do
    set -- $game
    "$build/tools/cinder-arc-pilot" --dir "$build/game" --difficulty "$2" --ship "$3" --out "$here/$1.replay"
    "$build/game/cinder-arc-sim" --dir "$build/game" --no-render --replay "$here/$1.replay" \
        --record-expect "$here/$1.expect" --hash-at "$frames" > /dev/null
done
