# Sourced by the window bench scripts: a scratch folder $work removed on exit, an Xvfb display of
# its own exported as DISPLAY, and on exit the game ($game_pid, once set) and the server stopped;
# start_focused_game starts the game and gives it the keyboard.
work=$(mktemp -d)
xvfb=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2> /dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
    wait 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 300); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2> /dev/null || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=:$(head -n 1 "$work/display")

# start_focused_game RUN_DIR LOG: the game in RUN_DIR with its present log at LOG, its window
# focused once it has presented 100 frames (the start-up is behind it); sets game_pid.
start_focused_game() {
    local run=$1 log=$2 win=
    (cd "$run" && CINDER_PRESENT_LOG=$log exec ./cinder-arc) > "$run/game.out" 2>&1 &
    game_pid=$!
    for _ in $(seq 100); do
        win=$(xdotool search --name "Tessel: Cinder Arc" 2> /dev/null | head -n 1)
        [ -n "$win" ] && [ -f "$log" ] && [ "$(wc -l < "$log")" -gt 100 ] && break
        sleep 0.1
    done
    [ -n "$win" ] || { echo "no game window: $(cat "$run/game.out")" >&2; exit 1; }
    xdotool windowfocus --sync "$win" 2> /dev/null || xdotool windowfocus "$win"
}
