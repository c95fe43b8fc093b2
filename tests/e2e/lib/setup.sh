# Sourced by the end-to-end scripts with their arguments (GAME_DIR SOURCE_DIR): a scratch folder
# $work removed on exit, $work/base holding a copy of the game's files to run in, $sim the
# headless runner, and fail() to stop with a message.
set -u
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/base"
cp -r "$game/gfx" "$game/sfx" "$game/level" "$game/music" "$work/base/"
sim="$game/cinder-arc-sim"
