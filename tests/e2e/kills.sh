#!/usr/bin/env bash
# Killed at any moment: 30 runs stopped by SIGTERM then SIGKILL at once, 20 by SIGKILL alone, at
# random times through a recorded game, its name entry and after it. Each file is the old one or
# the new one, never torn; the next start removes the temporaries; the replay is a prefix of the
# uninterrupted game's; a run killed after the name entry has the finished entry in its file.
source "$(dirname "$0")/lib/setup.sh" "$@"

# Every high score 0, so the game's score makes row 1 of NORMAL (its name at offsets 15 to 17).
mkdir -p "$work/base/data"
printf '\001\000\000\024' > "$work/base/data/settings.dat"
head -c 450 /dev/zero > "$work/base/data/highscore.dat"
# START, ship 1, fire held until the ship is lost three times; the name "ABC" (the entry starts
# at about frame 2550); nothing afterwards, so recording ends with the entry.
printf '%s\n' "60 a" "61 -" "90 a" "91 -" "200 a" "2650 -" "2700 right" "2701 -" "2710 a" "2711 -" \
    "2720 right" "2721 -" "2730 a" "2731 -" "2740 right" "2741 -" "2750 a" "2751 -" > "$work/keys"

# run NAME FRAMES: in a fresh copy, to the end.
cp -r "$work/base" "$work/whole"
"$sim" --dir "$work/whole" --frames 3000 --keys "$work/keys" --no-render > "$work/whole.out" 2>&1 ||
    fail "uninterrupted: $(cat "$work/whole.out")"
full=$work/whole/replay/replay.txt
grep -q '"new_hiscore":0' "$work/whole.out" && [ "$(head -c 18 "$work/whole/data/highscore.dat" | tail -c 3)" = ABC ] ||
    fail "uninterrupted: no finished entry: $(cat "$work/whole.out")"

# Old or new: the 450 bytes of the zero table, or of the finished one but for the name being
# entered (a SIGTERM during the entry saves what is there so far).
table_ok() {
    [ "$(wc -c < "$1")" -eq 450 ] || return 1
    cmp -s "$1" "$work/base/data/highscore.dat" && return 0
    [ -z "$(cmp -l "$1" "$work/whole/data/highscore.dat" | awk '$1 < 16 || $1 > 18')" ]
}

finished=0
for i in $(seq 50); do
    d=$work/k$i
    rm -rf "$d" && cp -r "$work/base" "$d"
    "$sim" --dir "$d" --frames 900000000 --keys "$work/keys" --no-render > /dev/null 2>&1 &
    pid=$!
    # Mostly within the game (start-up, about 60 ms of play), the last five well after it.
    if [ "$i" -gt 45 ]; then
        # Once the replay is whole the entry has ended (a slow build takes longer to get there).
        for _ in $(seq 200); do
            [ "$({ wc -c < "$d/replay/replay.txt"; } 2> /dev/null)" = "$(wc -c < "$full")" ] && break
            sleep 0.05
        done
        sleep 0.2
    else
        sleep "0.$(printf '%03d' $((RANDOM % 120)))"
    fi
    if [ "$i" -le 30 ]; then
        kill -TERM "$pid" 2> /dev/null
        kill -KILL "$pid" 2> /dev/null
    else
        kill -KILL "$pid" 2> /dev/null
    fi
    wait "$pid" 2> /dev/null
    cmp -s "$d/data/settings.dat" "$work/base/data/settings.dat" || fail "run $i: settings torn"
    table_ok "$d/data/highscore.dat" || fail "run $i: high scores torn: $(cmp -l "$d/data/highscore.dat" "$work/whole/data/highscore.dat" | head -3)"
    if [ -f "$d/replay/replay.txt" ]; then
        size=$(wc -c < "$d/replay/replay.txt")
        [ "$size" -le "$(wc -c < "$full")" ] && cmp -s -n "$size" "$d/replay/replay.txt" "$full" ||
            fail "run $i: the replay is not a prefix of the uninterrupted one"
    fi
    [ ! -f "$d/data/controls.txt" ] || cmp -s "$d/data/controls.txt" "$work/whole/data/controls.txt" ||
        fail "run $i: controls torn"
    if [ "$i" -gt 45 ]; then
        cmp -s "$d/data/highscore.dat" "$work/whole/data/highscore.dat" || fail "run $i: the finished entry is lost"
    fi
    cmp -s "$d/data/highscore.dat" "$work/whole/data/highscore.dat" && finished=$((finished + 1))
    # The next start removes what a cut-off save left and keeps the rest.
    # (A folder of such a name is the player's and stays.)
    mkdir -p "$d/screenshots/kept.png.tmp"
    touch "$d/data/settings.dat.tmp" "$d/data/highscore.dat.tmp" "$d/data/controls.txt.tmp" \
        "$d/screenshots/cinder-arc-2026-01-01-000000.png.tmp"
    cp "$d/data/highscore.dat" "$work/before"
    "$sim" --dir "$d" --frames 1 --no-render > /dev/null 2>&1 || fail "run $i: the next start failed"
    [ -z "$(find "$d" -name '*.tmp' ! -type d)" ] || fail "run $i: temporaries left: $(find "$d" -name '*.tmp')"
    [ -d "$d/screenshots/kept.png.tmp" ] || fail "run $i: a folder was removed"
    cmp -s "$d/data/highscore.dat" "$work/before" || fail "run $i: the next start changed the high scores"
done
echo "kills: ok ($finished of 50 with the finished entry)"
