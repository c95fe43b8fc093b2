#!/usr/bin/env bash
# Key-to-picture time in the real window: the game runs on an Xvfb display of its own with
# CINDER_PRESENT_LOG set, a sender presses a key the menus ignore at random moments through
# XTest, noting each press's send time on the steady clock, and each press is matched to the
# first presented frame whose input step had taken it in (the present log counts the presses each
# frame's input saw). Reports the median, p99 and max of present time minus send time, for each
# late-start setting: "no" (the frame reads its input at its start) and "yes" (as late as its
# recent cost allows).
#
# With --in-play the presses come during a game (started with Enter on START and on the ship
# page, on EASY so that the sitting ship lasts), where a frame draws the stage and its objects:
# keep the presses few enough (about 250) that the game is not over before they end.
#
#   bench/input_latency.sh [--presses N] [--in-play] [GAME_DIR]   (default 500 presses, build/game)
set -u
presses=500
in_play=
dir=
while [ $# -gt 0 ]; do
    case $1 in
        --presses) presses=$2; shift 2 ;;
        --in-play) in_play=1; shift ;;
        -*) echo "usage: $0 [--presses N] [--in-play] [GAME_DIR]" >&2; exit 2 ;;
        *) dir=$(cd "$1" && pwd) || exit 2; shift ;;
    esac
done
[ -n "$dir" ] || dir=$(cd "$(dirname "$0")/../build/game" && pwd) || exit 2
command -v Xvfb > /dev/null && command -v xdotool > /dev/null && command -v python3 > /dev/null ||
    { echo "Xvfb, xdotool and python3 are needed" >&2; exit 1; }
[ -x "$dir/cinder-arc" ] || { echo "$dir: no cinder-arc in it (run make first)" >&2; exit 1; }

source "$(dirname "$0")/lib/xvfb.sh"

# The sender: XTest through the X libraries, timed on CLOCK_MONOTONIC, which is the game's
# steady clock. A press is held 20 to 40 ms, the gaps are 40 to 110 ms, both at random.
cat > "$work/press.py" << 'PY'
import ctypes, random, sys, time
n, out = int(sys.argv[1]), sys.argv[2]
x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XStringToKeysym.restype = ctypes.c_ulong
dpy = ctypes.c_void_p(x11.XOpenDisplay(None))
code = x11.XKeysymToKeycode(dpy, x11.XStringToKeysym(b"k"))
random.seed(20)
with open(out, "w") as f:
    for _ in range(n):
        time.sleep(random.uniform(0.040, 0.110))
        sent = time.monotonic_ns() // 1000
        xtst.XTestFakeKeyEvent(dpy, code, 1, 0)
        x11.XFlush(dpy)
        f.write(f"{sent}\n")
        time.sleep(random.uniform(0.020, 0.040))
        xtst.XTestFakeKeyEvent(dpy, code, 0, 0)
        x11.XFlush(dpy)
x11.XCloseDisplay(dpy)
PY

# run_once SETTING: the game with late_start = SETTING; the latencies (ms) go to $work/SETTING.ms.
run_once() {
    local setting=$1 run=$work/run
    rm -rf "$run"
    mkdir -p "$run/data"
    cp -r "$dir/gfx" "$dir/sfx" "$dir/level" "$dir/music" "$dir/cinder-arc" "$run/"
    printf 'music = 0\nsound = 0\nlate_start = %s\n' "$setting" > "$run/data/volume.txt"
    # EASY, keyboard, a window, 20 particles.
    [ -n "$in_play" ] && printf '\000\000\000\024' > "$run/data/settings.dat"
    local log=$run/present.log
    start_focused_game "$run" "$log"
    local before=0
    if [ -n "$in_play" ]; then
        xdotool key Return && sleep 0.5 && xdotool key Return && sleep 1
        before=2
    fi
    python3 "$work/press.py" "$presses" "$work/$setting.sent" || exit 1
    sleep 0.3
    kill -TERM "$game_pid" 2> /dev/null
    wait "$game_pid" 2> /dev/null
    game_pid=
    # The k-th press sent is the k-th the game took in after the Enter presses: the first present whose count reaches k.
    awk -v before="$before" 'NR == FNR { sent[++n] = $1; next }
         FNR == 1 { next }
         { while (k < n && $2 - before > k) { k++; printf "%.3f\n", ($1 - sent[k]) / 1000 } }' \
        "$work/$setting.sent" "$log" > "$work/$setting.ms"
    local got
    got=$(wc -l < "$work/$setting.ms")
    [ "$got" -eq "$presses" ] || echo "late_start = $setting: $got of $presses presses were seen" >&2
}

for setting in no yes; do
    run_once "$setting"
    sort -n "$work/$setting.ms" | awk -v s="$setting" '
        { v[NR] = $1 }
        function pct(p,    i) { i = int(p * (NR - 1) + 0.5) + 1; return v[i > NR ? NR : i] }
        END { printf "late_start = %-3s  %d presses: key to picture median %.1f ms, p99 %.1f ms, max %.1f ms (min %.1f)\n",
                     s, NR, pct(0.5), pct(0.99), v[NR], v[1] }'
done
