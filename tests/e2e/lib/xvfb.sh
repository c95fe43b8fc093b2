# Sourced after setup.sh by the scripts that drive the real window: an X server of a given size
# (with or without a window manager), the game started in it, and pixels of window dumps.
command -v Xvfb > /dev/null && command -v xdotool > /dev/null && command -v xwd > /dev/null ||
    { echo "Xvfb, xdotool or xwd missing (make test installs them)"; exit 1; }
# In a sanitizer build the window pulls in the X client libraries and a GL driver whose leaks
# cannot be named; the game's own leaks are checked by the headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
xvfb_pid= wm_pid= game_pid= win=
x_cleanup() {
    for p in $game_pid $wm_pid $xvfb_pid; do kill "$p" 2> /dev/null; done
    wait 2> /dev/null
    game_pid= wm_pid= xvfb_pid=
}
trap 'x_cleanup; rm -rf "$work"' EXIT
# SDL wants a runtime folder of the user's; a bare environment (CI, a fresh machine) may have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
    mkdir -p -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR="$work/runtime"
fi

# start_x WxH [wm]: a fresh X server (Xvfb picks a free display and announces it once it
# accepts connections), with openbox when asked. -noreset: by default Xvfb resets whenever its
# last client leaves (a probe such as xprop or xdotool) and refuses connections meanwhile, so a
# game started just then would find no display.
start_x() {
    x_cleanup
    rm -f "$work/display"
    exec 3> "$work/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 300); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2> /dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
        sleep 0.1
    done
    export DISPLAY=:$(head -n 1 "$work/display")
    if [ "${2:-}" = wm ]; then
        openbox > "$work/wm.log" 2>&1 &
        wm_pid=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break
            sleep 0.1
        done
    fi
}

# start_game DIR: the game in DIR (on the sound driver $audio, dummy by default); $win is its
# window once mapped.
start_game() {
    (cd "$1" && SDL_AUDIODRIVER=${audio:-dummy} exec ./cinder-arc) > "$1/game.log" 2>&1 &
    game_pid=$!
    win=
    for _ in $(seq 300); do
        win=$(xdotool search --onlyvisible --name '^Tessel: Cinder Arc$' 2> /dev/null | head -n 1)
        [ -n "$win" ] && break
        kill -0 "$game_pid" 2> /dev/null || fail "the game ended early: $(cat "$1/game.log")"
        sleep 0.1
    done
    [ -n "$win" ] || fail "no window within 30 s: $(cat "$1/game.log")"
    sleep 0.5  # a few frames drawn
}

# stop_game DIR: Escape ends it with exit code 0.
stop_game() {
    xdotool key --window "$win" Escape
    local code
    wait "$game_pid"
    code=$?
    game_pid=
    [ "$code" -eq 0 ] || fail "exit code $code: $(cat "$1/game.log")"
}

key() { xdotool key --window "$win" "$@"; sleep 0.4; }
# size ID: "W H" of a window as the X server has it.
size() { xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}'; }

xwd_field() { od -An -tu1 -j $(($2 * 4)) -N 4 "$1" | awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4}'; }
# lit XWD X Y: 1 when the pixel of a 32-bit dump is not black.
lit() {
    local hs bpl ncol
    hs=$(xwd_field "$1" 0) bpl=$(xwd_field "$1" 12) ncol=$(xwd_field "$1" 19)
    od -An -tu1 -j $((hs + ncol * 12 + $3 * bpl + $2 * 4)) -N 3 "$1" | awk '{print ($1 + $2 + $3 > 0) ? 1 : 0}'
}
