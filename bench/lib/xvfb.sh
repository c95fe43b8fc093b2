# Sourced by the window bench scripts: a scratch folder $work removed on exit, an Xvfb display of
# its own exported as DISPLAY, and on exit the game ($game_pid, once set) and the server stopped.
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
