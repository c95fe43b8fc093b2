#!/usr/bin/env bash
# The real window's frame pacing and start-up, as the game itself records them: each run starts
# the game (in a copy of the game folder, on an Xvfb display of its own, its sound as the machine
# gives it) with CINDER_PRESENT_LOG set, lets FRAMES frames go by after the first SKIP, and ends
# it with SIGTERM (a close request). Several game folders are run in turn, run by run, so that
# before and after see the same machine.
#
#   bench/window_pacing.sh [--runs N] [--frames N] [--skip N] [GAME_DIR...]   (default build/game)
#
# Per run: start-up (from the exec to the first frame presented), the time FRAMES frames took
# (75 per second: 750 frames are 10000 ms), the intervals between presents rounded to whole
# milliseconds, the p99 of each interval's distance from its 13 or 14 ms step, and the offset of
# each present from its slot, and the game's CPU use over the run (all its threads, start-up
# included, as a share of one core). Slots are the 13, 13, 14 ms grid of 75 per second fitted to
# the run: its phase is the one that fits best, and its origin is the earliest present within
# half a second either side (no present comes before its slot, and after a late frame the game
# starts its schedule afresh), so the offset is how late after its slot a frame appeared.
set -u
runs=3 frames=750 skip=20
dirs=()
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --frames) frames=$2; shift 2 ;;
        --skip) skip=$2; shift 2 ;;
        -*) echo "usage: $0 [--runs N] [--frames N] [--skip N] [GAME_DIR...]" >&2; exit 2 ;;
        *) dirs+=("$(cd "$1" && pwd)") || exit 2; shift ;;
    esac
done
[ ${#dirs[@]} -gt 0 ] || dirs=("$(cd "$(dirname "$0")/../build/game" && pwd)") || exit 2
command -v Xvfb > /dev/null || { echo "Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
for d in "${dirs[@]}"; do
    [ -x "$d/cinder-arc" ] || { echo "$d: no cinder-arc in it (run make first)" >&2; exit 1; }
done

source "$(dirname "$0")/lib/xvfb.sh"

# run_once DIR N: one start of the game; its results, one line of numbers, go to $work/N.result.
run_once() {
    local dir=$1 n=$2 run=$work/run
    rm -rf "$run"
    mkdir -p "$run"
    cp -r "$dir/gfx" "$dir/sfx" "$dir/level" "$dir/music" "$dir/cinder-arc" "$run/"
    # The volume file holds the late start's switch: a folder with one runs as it says.
    [ -f "$dir/data/volume.txt" ] && mkdir -p "$run/data" && cp "$dir/data/volume.txt" "$run/data/"
    local log=$run/present.log need=$((1 + skip + frames + 1))
    local start=$EPOCHREALTIME
    (cd "$run" && CINDER_PRESENT_LOG=$log exec ./cinder-arc) > "$run/game.out" 2>&1 &
    game_pid=$!
    for _ in $(seq 1200); do
        [ -f "$log" ] && [ "$(wc -l < "$log")" -ge "$need" ] && break
        kill -0 "$game_pid" 2> /dev/null || break
        sleep 0.05
    done
    # CPU time of the whole run so far (every thread), in clock ticks, and the wall time it took.
    local cpu=0 wall
    wall=$(awk -v s="$start" -v n="$EPOCHREALTIME" 'BEGIN { printf "%.0f", (n - s) * 1000 }')
    [ -r "/proc/$game_pid/stat" ] && cpu=$(sed 's/.*) //' "/proc/$game_pid/stat" | awk '{ print $12 + $13 }')
    kill -TERM "$game_pid" 2> /dev/null
    wait "$game_pid" 2> /dev/null
    game_pid=
    if [ ! -f "$log" ] || [ "$(wc -l < "$log")" -lt "$need" ]; then
        echo "$dir: the game presented too few frames: $(cat "$run/game.out")" >&2
        exit 1
    fi
    awk -v start="$start" -v skip="$skip" -v frames="$frames" -v cpu="$cpu" -v hz="$(getconf CLK_TCK)" \
        -v wall="$wall" '
        function sort(a, n,    i, j, v) {
            for (i = 2; i <= n; i++) {
                v = a[i]
                for (j = i - 1; j >= 1 && a[j] > v; j--) a[j + 1] = a[j]
                a[j + 1] = v
            }
        }
        function pct(a, n, p,    i) { i = int(p * (n - 1) + 0.5) + 1; return a[i > n ? n : i] }
        function grid(k, p) { return int(40 * (k + p) / 3) - int(40 * p / 3) }
        NR == 1 { steady0 = $2; epoch0 = $3; next }
        { t[NR - 1] = $1 }
        END {
            split(start, s, /[.,]/)
            startup = (epoch0 + (t[1] - steady0) - (s[1] * 1000000 + s[2])) / 1000
            a = skip + 1
            total = (t[a + frames] - t[a]) / 1000
            best = -1
            for (p = 0; p < 3; p++) {
                for (k = 0; k <= frames; k++) o[k] = (t[a + k] - t[a]) / 1000 - grid(k, p)
                for (k = 0; k <= frames; k++) {
                    lo = o[k]
                    for (j = k - 37; j <= k + 37; j++)
                        if (j >= 0 && j <= frames && o[j] < lo) lo = o[j]
                    off[k + 1] = o[k] - lo
                }
                sort(off, frames + 1)
                if (best < 0 || pct(off, frames + 1, 0.99) < best) {
                    best = pct(off, frames + 1, 0.99); phase = p
                    o50 = pct(off, frames + 1, 0.5); omax = off[frames + 1]
                }
            }
            n13 = n14 = other = 0; lo = 1e18; hi = 0
            for (k = 1; k <= frames; k++) {
                d = (t[a + k] - t[a + k - 1]) / 1000
                r = int(d + 0.5)
                if (r == 13) n13++; else if (r == 14) n14++; else other++
                if (d < lo) lo = d
                if (d > hi) hi = d
                e = d - (grid(k, phase) - grid(k - 1, phase))
                dev[k] = e < 0 ? -e : e
            }
            sort(dev, frames)
            printf "%.1f %.1f %d %d %d %.2f %.2f %.2f %.2f %.2f %.2f %.1f\n", startup, total, n13, n14, other, lo, hi,
                pct(dev, frames, 0.99), o50, best, omax, 100 * cpu / hz * 1000 / wall
        }' "$log" > "$work/$n.result"
}

for ((r = 1; r <= runs; r++)); do
    for i in "${!dirs[@]}"; do
        run_once "${dirs[$i]}" "$i.$r"
    done
done

for i in "${!dirs[@]}"; do
    echo "== ${dirs[$i]}: $runs runs of $frames frames (after the first $skip)"
    printf '%-4s %10s %10s %14s %15s %12s %22s %6s\n' run start-up "$frames fr" "13/14/other" "min..max" \
        "|d-step| p99" "offset p50/p99/max" "CPU"
    for ((r = 1; r <= runs; r++)); do
        read -r st tot n13 n14 oth lo hi dev o50 o99 omax cpu < "$work/$i.$r.result"
        printf '%-4s %7s ms %7s ms %14s %9s ms %9s ms %19s ms %5s%%\n' "$r" "$st" "$tot" "$n13/$n14/$oth" \
            "$lo..$hi" "$dev" "$o50/$o99/$omax" "$cpu"
    done
    for ((r = 1; r <= runs; r++)); do cut -d' ' -f1 "$work/$i.$r.result"; done | sort -n |
        awk '{ v[NR] = $1 } END { printf "start-up to the first frame: median %.1f ms (%.1f to %.1f)\n",
            NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2, v[1], v[NR] }'
done
