#!/usr/bin/env bash
# The golden replays: whole games won by the autopilot, one per difficulty with both ships among
# them, each played back through the menu's "REPLAY" and checked against its expectations (the
# end state, the frame the game ended in, and the pictures at ten moments spread over the stage,
# both boss fights among them). Any change to how the game plays or looks shows up here; a change
# made on purpose re-records them in the same commit (tests/golden/README.md says how).
#   golden_replays.sh GAME_DIR SOURCE_DIR: GAME_DIR's runner plays SOURCE_DIR/tests/golden/*.replay.
source "$(dirname "$0")/lib/setup.sh" "$@"
golden=$2/tests/golden

replays=("$golden"/*.replay)
[ -e "${replays[0]}" ] || fail "no golden replays in $golden"
for replay in "${replays[@]}"; do
    name=$(basename "$replay" .replay)
    "$sim" --dir "$work/base" --no-render --replay "$replay" --expect "$golden/$name.expect" > "$work/$name.json" \
        2> "$work/$name.err" || fail "$name: $(cat "$work/$name.err")"
    grep -q '"ended":"replay"' "$work/$name.json" || fail "$name did not play to its end: $(cat "$work/$name.json")"
    grep -q '"menu_screen":3' "$work/$name.json" || fail "$name's game did not end: $(cat "$work/$name.json")"
done
echo "golden replays: ${#replays[@]} ok"
