#!/usr/bin/env bash
# Watching at 8x in the real window: the busiest boss phase must still fit each frame in its slot
# of 13.3 ms. A golden replay is put into a copy of the game folder's replay library as a kept
# game, the window game starts on an Xvfb display of its own with CINDER_PRESENT_LOG set, and
# xdotool goes to the library page (Down three times to REPLAY, Right), watches the replay (A),
# presses F three times (1x, 2x, 4x, 8x), B to skip to the first boss form and B again to skip to
# the second, whose fight has the most bullets on screen (over 600 at its peak in hard-ship1,
# where the first form's never pass 150). Two presses of a key that watching ignores mark the
# phase measured: the first once the second form is on screen, the second 2.8 s later, before it
# is shot down (at 8x its fight lasts about 3.7 s from the skip's end).
#
#   bench/watch_speed.sh [--replay GOLDEN] [--runs N] [GAME_DIR]
#       (default tests/golden/hard-ship1.replay, 1 run, build/game)
#
# Per run, over the presents between the two marks: each frame's work plus present (median, p99,
# max, and how many went over 13.3 ms), and the intervals between presents (median, p99, max, and
# how many are not 13 or 14 ms when rounded, that is missed their slot).
set -u
here=$(cd "$(dirname "$0")" && pwd)
golden=$here/../tests/golden/hard-ship1.replay
runs=1
dir=
while [ $# -gt 0 ]; do
    case $1 in
        --replay) golden=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        -*) echo "usage: $0 [--replay GOLDEN] [--runs N] [GAME_DIR]" >&2; exit 2 ;;
        *) dir=$(cd "$1" && pwd) || exit 2; shift ;;
    esac
done
[ -n "$dir" ] || dir=$(cd "$here/../build/game" && pwd) || exit 2
command -v Xvfb > /dev/null && command -v xdotool > /dev/null ||
    { echo "Xvfb and xdotool are needed (apt-get install xvfb xdotool)" >&2; exit 1; }
[ -x "$dir/cinder-arc" ] && [ -x "$dir/cinder-arc-sim" ] ||
    { echo "$dir: no cinder-arc and cinder-arc-sim in it (run make first)" >&2; exit 1; }
[ -s "$golden" ] || { echo "$golden: no replay there" >&2; exit 1; }

source "$here/lib/xvfb.sh"

# The kept file: a header as the game writes one (its version and stage hash taken from a game the
# runner keeps), then the golden replay's bytes, which are a replay.txt's.
mkdir -p "$work/probe"
cp -r "$dir/gfx" "$dir/sfx" "$dir/level" "$work/probe/"
printf '60 a\n61 -\n90 a\n91 -\n200 esc\n' > "$work/probe.keys"
"$dir/cinder-arc-sim" --dir "$work/probe" --keys "$work/probe.keys" --no-render > /dev/null ||
    { echo "the runner could not keep a game" >&2; exit 1; }
probe=$(ls "$work/probe/replay/"*.rep)
field() { sed -n "s/^$1 //p" "$probe" | head -n 1; }
difficulty=$(od -An -tu1 -N1 "$golden" | tr -d ' ')
size=$(wc -c < "$golden")
ended=$("$dir/cinder-arc-sim" --dir "$work/probe" --no-render --replay "$golden") ||
    { echo "$golden does not play: $ended" >&2; exit 1; }
score=$(echo "$ended" | sed 's/.*"score":\([0-9]*\).*/\1/')
rep=$work/2000-01-01-000000.rep
{
    printf 'CINDER-ARC REPLAY 1\nplay-version %s\nstage-hash %s\ndifficulty %s\nship 1\nkind game\n' \
        "$(field play-version)" "$(field stage-hash)" "$difficulty"
    printf 'start stage\ngun 0\nlives 3\ntime 946684800\ndate 2000-01-01 00:00\nscore %s\n' "$score"
    printf 'frames %s\nended won\nname -\ninput %s\n' "$((size - 1))" "$size"
    cat "$golden"
} > "$rep"
again=$("$dir/cinder-arc-sim" --dir "$work/probe" --no-render --replay "$rep") ||
    { echo "the kept file does not play: $again" >&2; exit 1; }
# The kept file plays as the golden replay does (the end state up to the file's own fingerprint).
[ "$(echo "$again" | sed 's/,"replay_fingerprint".*//')" = "$(echo "$ended" | sed 's/,"replay_fingerprint".*//')" ] ||
    { echo "the kept file plays otherwise than $golden: $again, not $ended" >&2; exit 1; }

# press KEY: held 80 ms, long enough for a frame to see it held, short of the menus' repeat.
press() {
    xdotool keydown "$1"
    sleep 0.08
    xdotool keyup "$1"
}

# run_once N: one watch; its present log's phase goes to $work/N.phase (steady us, work us, present us).
run_once() {
    local n=$1 run=$work/run
    rm -rf "$run"
    mkdir -p "$run/replay"
    cp -r "$dir/gfx" "$dir/sfx" "$dir/level" "$dir/cinder-arc" "$run/"
    [ -d "$dir/music" ] && cp -r "$dir/music" "$run/"
    [ -f "$dir/data/volume.txt" ] && mkdir -p "$run/data" && cp "$dir/data/volume.txt" "$run/data/"
    cp "$rep" "$run/replay/"
    local log=$run/present.log
    start_focused_game "$run" "$log"
    for key in Down Down Down Right a; do
        press "$key"
        sleep 0.3
    done
    sleep 1.0  # the ship selection plays from the replay
    for _ in 1 2 3; do
        press f
        sleep 0.2
    done
    press b
    sleep 1.5  # the skip to the first form, and a little of its fight at 8x
    press b
    sleep 0.5
    press k
    sleep 2.8
    press k
    sleep 0.5
    kill -TERM "$game_pid" 2> /dev/null
    wait "$game_pid" 2> /dev/null
    game_pid=
    # Presses: Down Down Down Right A, F F F, B B, then the marks (the 11th and the 12th).
    awk 'NR == 1 { next }
         $2 >= 11 && $2 < 12 { print $1, $3, $4 }' "$log" > "$work/$n.phase"
    local got
    got=$(wc -l < "$work/$n.phase")
    if [ "$got" -lt 150 ]; then
        echo "run $n: only $got presents between the marks (the game saw $(tail -n 1 "$log" | cut -d' ' -f2) presses): $(cat "$run/game.out")" >&2
        exit 1
    fi
}

for ((r = 1; r <= runs; r++)); do
    run_once "$r"
    awk -v r="$r" '
        function sort(a, n,    i, j, v) {
            for (i = 2; i <= n; i++) {
                v = a[i]
                for (j = i - 1; j >= 1 && a[j] > v; j--) a[j + 1] = a[j]
                a[j + 1] = v
            }
        }
        function pct(a, n, p,    i) { i = int(p * (n - 1) + 0.5) + 1; return a[i > n ? n : i] }
        {
            c[NR] = ($2 + $3) / 1000
            if (c[NR] > 13.333) over++
            if (NR > 1) {
                d[NR - 1] = ($1 - t) / 1000
                k = int(d[NR - 1] + 0.5)
                if (k != 13 && k != 14) missed++
            }
            t = $1
        }
        END {
            n = NR; m = NR - 1
            sort(c, n); sort(d, m)
            printf "run %d: %d presents of the second boss form at 8x\n", r, n
            printf "  work+present: median %.2f ms, p99 %.2f ms, max %.2f ms; over 13.3 ms: %d\n",
                pct(c, n, 0.5), pct(c, n, 0.99), c[n], over + 0
            printf "  intervals:    median %.2f ms, p99 %.2f ms, max %.2f ms (min %.2f); not 13/14 ms: %d of %d\n",
                pct(d, m, 0.5), pct(d, m, 0.99), d[m], d[1], missed + 0, m
        }' "$work/$r.phase"
done
