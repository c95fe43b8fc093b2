#!/usr/bin/env bash
# The replay library as a player meets it: a START game kept as a file of its own, played back
# from the runner, from the library page and from its high-score row to the same end and the same
# pictures; the watching keys that change nothing of what plays; bad files and a read-only folder.
source "$(dirname "$0")/lib/setup.sh" "$@"
source "$(dirname "$0")/lib/game.sh"
header() { sed -n "s/^$2 //p" "$1" | head -n 1; }
state() { echo "$1" | sed 's/.*"score":\([0-9]*\),"lives":\([0-9]*\),"scroll_pos":\([0-9.]*\).*/\1 \2 \3/'; }

# A HARD game on a table of zeros: START at 60 (the frame REPLAY is chosen at), ship 2, fire held,
# lost, a new row 1 whose name entry runs out; then HIGHSCORES shows that table: Down, A.
fresh rec
mkdir -p "$work/rec/data"
printf '\002\000\000\024' > "$work/rec/data/settings.dat"
: > "$work/rec/data/highscore.dat"
game=("60 a" "61 -" "70 right" "71 -" "90 a" "91 -" "100 a" "150 left a" "190 right a" "260 a" "2800 -")
run_in rec 7990 --no-render -- "${game[@]}"
[ "$(field menu_screen)" = 3 ] && [ "$(field hiscore_rank)" = 1 ] || fail "no table row: $out"
recorded=$(state "$out")
kept=$(ls "$work/rec/replay/"*.rep 2> /dev/null)
[ "$(echo "$kept" | wc -w)" = 1 ] || fail "expected one kept replay: $(ls "$work/rec/replay")"
case "$(basename "$kept")" in [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]-[0-9][0-9][0-9][0-9][0-9][0-9].rep) ;;
    *) fail "not named by date: $kept" ;; esac
[ "$(head -n 1 "$kept")" = "CINDER-ARC REPLAY 1" ] || fail "format line: $(head -n 1 "$kept")"
for f in "difficulty 2" "ship 2" "start stage" "ended lost" "name @@@" "score ${recorded%% *}"; do
    [ "$(header "$kept" "${f%% *}")" = "${f#* }" ] || fail "header $f: $(header "$kept" "${f%% *}")"
done
size=$(header "$kept" input)
tail -c "$size" "$kept" | cmp -s - "$work/rec/replay/replay.txt" || fail "the kept bytes differ from replay.txt"

# The runner plays it and names what it played; the end state is the game's.
out=$("$sim" --dir "$work/base" --replay "$kept" --hashes "$work/runner.hashes") || fail "runner: $out"
[ "$(state "$out")" = "$recorded" ] || fail "runner: $(state "$out"), game: $recorded"
fp="$(header "$kept" play-version)-$(header "$kept" stage-hash)"
echo "$out" | grep -q "\"replay_fingerprint\":\"$fp\",\"replay_start\":\"stage\"" || fail "JSON: $out"
last=$(field frames)

# From the library page (Right on REPLAY), A at frame 60 as the runner does: the same pictures
# frame for frame, and back on the page at its end.
fresh lib
mkdir -p "$work/lib/replay" && cp "$kept" "$work/lib/replay/"
open=("0 down" "40 -" "45 right" "46 -" "60 a" "61 -")
run_in lib $((last + 60)) --hashes "$work/lib.hashes" -- "${open[@]}"
[ "$(state "$out")" = "$recorded" ] && [ "$(field menu_screen)" = 5 ] || fail "library: $out"
# The HARD replay played at HARD; back on the page the player's own NORMAL is the setting again.
[ "$(field setting_difficulty)" = 1 ] || fail "the watched replay's difficulty stayed: $out"
cmp -s <(sed -n "62,${last}p" "$work/runner.hashes") <(sed -n "62,${last}p" "$work/lib.hashes") ||
    fail "the library's playback shows other pictures than the runner's"

# Pause, single steps, every speed, the input and hitbox displays: the same end, and every picture
# shown outside the pause and the displays is one of the plain playback's.
keys=("${open[@]}" "300 p" "301 -" "320 n" "321 -" "330 n" "331 -" "360 p" "361 -"
    "400 f" "401 -" "450 f" "451 -" "500 f" "501 -" "550 f" "551 -" "650 f" "651 -"
    "700 i" "701 -" "800 i" "801 -" "900 h" "901 -" "950 h" "951 -")
fresh lib2
mkdir -p "$work/lib2/replay" && cp "$kept" "$work/lib2/replay/"
run_in lib2 $((last + 60)) --hashes "$work/keys.hashes" -- "${keys[@]}"
[ "$(state "$out")" = "$recorded" ] || fail "with the watching keys: $(state "$out"), game: $recorded"
# (The keyed run's game ends about 440 frames sooner, its page after it is not compared.)
awk -v end=$((last - 500)) '$1 < 300 || ($1 > 361 && $1 < 700) || ($1 > 801 && $1 < 900) || ($1 > 951 && $1 < end) { print $2 }' "$work/keys.hashes" |
    sort -u > "$work/shown"
cut -d' ' -f2 "$work/lib.hashes" | sort -u > "$work/plain"
[ -z "$(comm -23 "$work/shown" "$work/plain")" ] || fail "pictures the plain playback never shows: $(comm -23 "$work/shown" "$work/plain" | wc -l)"
# The paused frames show one picture held, and each step shows the next one of the playback.
paused=$(awk '$1 >= 305 && $1 < 320 { print $2 }' "$work/keys.hashes" | sort -u | wc -l)
[ "$paused" = 1 ] || fail "the pause did not hold its picture ($paused pictures)"
grep -qx "$(awk '$1 == 299 { print $2 }' "$work/keys.hashes")" "$work/plain" || fail "frame 299"
step1=$(awk '$1 == 320 { print $2 }' "$work/keys.hashes")
step2=$(awk '$1 == 330 { print $2 }' "$work/keys.hashes")
[ "$step1" != "$step2" ] || fail "single steps show nothing new"
# The skip key runs to just before the first boss form; here the game is lost before it, so the
# skip ends at the game's end, still the same end.
fresh lib3
mkdir -p "$work/lib3/replay" && cp "$kept" "$work/lib3/replay/"
run_in lib3 600 -- "${open[@]}" "300 b" "301 -"
[ "$(state "$out")" = "$recorded" ] && [ "$(field menu_screen)" = 5 ] || fail "skip: $out"

# Escape while watching goes back to the page; Escape on the page still ends the program.
run_in lib3 400 -- "${open[@]}" "300 esc" "301 -"
[ "$(field menu_screen)" = 5 ] && [ "$(field game_mode)" = 0 ] && [ "$(field ended)" = '"frames"' ] ||
    fail "Escape from a watch: $out"

# The high-score row's run: HIGHSCORES shows the HARD table after the name entry; Down, A. The
# table is saved as each name entry ends, so it starts from zeros again for each of these games.
: > "$work/rec/data/highscore.dat"
run_in rec $((7990 + 60 + last)) --no-render -- "${game[@]}" "7990 down" "7991 -" "8000 a" "8001 -"
[ "$(state "$out")" = "$recorded" ] && [ "$(field menu_screen)" = 3 ] || fail "high-score row: $out"
[ "$(ls "$work/rec/replay/"*.rep | wc -l)" = 2 ] || fail "the second game was not kept"
# Row 2 has no run behind it: a note, and the page stays.
: > "$work/rec/data/highscore.dat"
run_in rec 8100 --no-render -- "${game[@]}" "7990 down" "8020 -" "8030 a" "8031 -"
[ "$(field menu_screen)" = 3 ] && [ "$(field replay_mode)" = 0 ] || fail "row 2: $out"

# Bad files: each named in one line, listed as unreadable, and the page still plays the good one.
fresh bad
mkdir -p "$work/bad/replay" && cp "$kept" "$work/bad/replay/"
: > "$work/bad/replay/a-empty.rep"
head -c 300 "$kept" > "$work/bad/replay/b-short.rep"
head -c 4000 /dev/urandom > "$work/bad/replay/c-garbage.rep"
sed '1s/ 1$/ 9/' "$kept" > "$work/bad/replay/d-version.rep"
{ cat "$kept"; head -c 300000 /dev/zero; } > "$work/bad/replay/e-huge.rep"
mkdir "$work/bad/replay/f-folder.rep"
run_in bad $((last + 60)) --no-render -- "${open[@]}"
[ "$(grep -c unreadable "$work/bad.err")" = 6 ] || fail "bad files: $(cat "$work/bad.err")"
for f in a-empty b-short c-garbage d-version e-huge f-folder; do
    [ "$(grep -c "$f" "$work/bad.err")" = 1 ] || fail "$f: $(cat "$work/bad.err")"
done
[ "$(state "$out")" = "$recorded" ] || fail "the good file among bad ones: $out"
# The runner refuses each with one line (a file without the header is a plain replay.txt to it).
for f in a-empty b-short d-version e-huge; do
    code=0
    "$sim" --dir "$work/base" --no-render --replay "$work/bad/replay/$f.rep" > /dev/null 2> "$work/one.err" || code=$?
    [ $code = 2 ] && [ "$(wc -l < "$work/one.err")" = 1 ] || fail "runner on $f ($code): $(cat "$work/one.err")"
done
# Another version's file plays only after the warning: A shows it, A again plays.
sed 's/^play-version 1$/play-version 0/' "$kept" > "$work/bad/replay/other.rep"
rm -rf "$work/bad/replay/"[a-f]-*.rep "$work/bad/replay/$(basename "$kept")"
run_in bad 200 --no-render -- "${open[@]}"
[ "$(field replay_mode)" = 0 ] && [ "$(field menu_screen)" = 5 ] || fail "another version played at once: $out"
run_in bad 200 --no-render -- "${open[@]}" "70 a" "71 -"
[ "$(field replay_mode)" = 1 ] || fail "another version did not play after the warning: $out"

# No replay folder to write in (a file in its place, or read-only): one line, the game goes on,
# and the files already there are left as they were.
fresh ro
printf 'x' > "$work/ro/replay"
run_in ro 3000 --no-render -- "60 a" "61 -" "90 a" "91 -"
[ "$(field menu_screen)" = 3 ] && [ "$(wc -l < "$work/ro.err")" = 1 ] || fail "replay is a file: $out $(cat "$work/ro.err")"
# Nothing is read-only to root (as CI runs), so root plays this game as the unprivileged user
# 65534 through setpriv (util-linux) or runuser, in a folder of that user's own: its data/ is
# writable as a player's is, only replay/ is not. The runner is copied beside it, as the build
# folder may lie on a path that user cannot reach.
fresh ro
mkdir -p "$work/ro/replay" && cp "$kept" "$work/ro/replay/old.rep"
ro_sim=$sim ro_player=$(id -u) why_skipped=
if [ "$(id -u)" = 0 ]; then
    umask 022
    cp "$sim" "$work/ro-sim" && chmod 755 "$work/ro-sim" && chmod 711 "$work"
    if command -v setpriv > /dev/null && setpriv --reuid=65534 --regid=65534 --clear-groups true 2> /dev/null; then
        printf '#!/bin/sh\nexec setpriv --reuid=65534 --regid=65534 --clear-groups "%s" "$@"\n' "$work/ro-sim" > "$work/as-nobody"
    elif command -v runuser > /dev/null && runuser -u "$(id -nu 65534)" -- true 2> /dev/null; then
        printf '#!/bin/sh\nexec runuser -u "%s" -- "%s" "$@"\n' "$(id -nu 65534)" "$work/ro-sim" > "$work/as-nobody"
    else
        why_skipped="running as root, and neither setpriv nor runuser can switch to user 65534"
    fi
    chmod 755 "$work/as-nobody" 2> /dev/null
    chown -R 65534:65534 "$work/ro" && chmod -R a+rX "$work/ro"
    ro_sim=$work/as-nobody ro_player=65534
fi
chmod 555 "$work/ro/replay"
if [ -n "$why_skipped" ]; then
    echo "skipped the read-only replay folder: $why_skipped"
else
    sim=$ro_sim run_in ro 3000 --no-render -- "60 a" "61 -" "90 a" "91 -"
    [ "$(field menu_screen)" = 3 ] && [ "$(wc -l < "$work/ro.err")" = 1 ] || fail "read-only: $out $(cat "$work/ro.err")"
    grep -q "replay/replay.txt" "$work/ro.err" || fail "read-only: $(cat "$work/ro.err")"
    [ "$(ls "$work/ro/replay")" = old.rep ] || fail "read-only: written in it: $(ls "$work/ro/replay")"
    cmp -s "$kept" "$work/ro/replay/old.rep" || fail "read-only: the old file changed"
    # The rest of the folder was the player's to write, and the files written there are that
    # user's (so the game did run as it, not as root).
    [ "$(stat -c %u "$work/ro/data/controls.txt")" = "$ro_player" ] ||
        fail "read-only: data/controls.txt is not user $ro_player's: $(ls -ln "$work/ro/data")"
fi
chmod 755 "$work/ro/replay"

# Pruning: 205 ordinary replays and an older one behind HARD row 1; a new game makes 206, and the
# six oldest ordinary ones go.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }
fresh many
mkdir -p "$work/many/replay" "$work/many/data"
{ head -c 30 /dev/zero; printf "@@@$(le32 2)$(le32 "${recorded%% *}")$(le32 1)"; head -c 405 /dev/zero; } > "$work/many/data/highscore.dat"
printf '\002\000\000\024' > "$work/many/data/settings.dat"
for i in $(seq 100 304); do
    sed "s/^time .*/time $i/; s/^name .*/name -/" "$kept" > "$work/many/replay/2000-01-01-000$i.rep"
done
sed "s/^time .*/time 1/" "$kept" > "$work/many/replay/1999-01-01-000000.rep"
run_in many 3000 --no-render -- "60 a" "61 -" "90 a" "91 -"
[ "$(ls "$work/many/replay/"*.rep | wc -l)" = 201 ] || fail "pruning kept $(ls "$work/many/replay/"*.rep | wc -l)"
[ -e "$work/many/replay/1999-01-01-000000.rep" ] || fail "pruning removed the table row's replay"
[ ! -e "$work/many/replay/2000-01-01-000105.rep" ] && [ -e "$work/many/replay/2000-01-01-000106.rep" ] ||
    fail "pruning did not take the oldest"

# Practice from each start point: the run begins there (and meets the boss form it starts before),
# enters no table and leaves replay.txt alone, is kept as PRACTICE, and its file plays back to the
# same state. Escape ends each run 400 frames after its ship selection: kept as unfinished. Every
# other run is practised at HARD, which is practice's own: the saved setting stays NORMAL.
starts=(stage:5760 quarter-1:4320 quarter-2:2880 quarter-3:1440 boss-1:3088 boss-2:208)
for i in "${!starts[@]}"; do
    name=${starts[$i]%%:*} pos=${starts[$i]#*:}
    keys=("5 right" "6 -")
    [ $((i % 2)) = 1 ] && keys+=("22 right" "23 -")
    keys+=("25 down" "26 -")
    t=45
    for ((k = 0; k < i; k++)); do keys+=("$t right" "$((t + 1)) -"); t=$((t + 16)); done
    for k in 1 2 3; do keys+=("$t down" "$((t + 1)) -"); t=$((t + 16)); done
    go=$((t + 4))
    keys+=("$go a" "$((go + 1)) -" "$((go + 10)) a" "$((go + 11)) -" "$((go + 20)) a" "$((go + 420)) esc")
    fresh pr
    run_in pr $((go + 500)) --no-render -- "${keys[@]}"
    [ "$(field ended)" = '"escape"' ] || fail "practice $name: $out"
    practised=$(state "$out")
    scroll=$(field scroll_pos)
    # 410 frames of play after one held frame: 0.5 a frame from the start point, to the frame. The
    # banner is cut short: a full one would hold the map 148 frames more, 74 short of this.
    awk -v s="$scroll" -v p="$pos" 'BEGIN { exit !(s == p - 205) }' || fail "practice $name: scroll $scroll from $pos"
    case $name in boss-*) [ "$(count boss)" = 1 ] || fail "practice $name: no boss form: $out" ;; esac
    [ ! -e "$work/pr/replay/replay.txt" ] || fail "practice $name wrote replay.txt"
    file=$(ls "$work/pr/replay/"*.rep)
    [ "$(header "$file" kind) $(header "$file" start) $(header "$file" ended) $(header "$file" difficulty)" = \
        "practice $name unfinished $((1 + i % 2))" ] || fail "practice $name: $(head -n 16 "$file")"
    [ "$(od -An -tu1 -N1 "$work/pr/data/settings.dat" | tr -d ' ')" = 1 ] || fail "practice $name saved its difficulty"
    out=$("$sim" --dir "$work/base" --no-render --replay "$file") || fail "practice $name playback: $out"
    [ "$(state "$out")" = "$practised" ] || fail "practice $name played back as $(state "$out"), ran as $practised"
    echo "$out" | grep -q "\"replay_start\":\"$name\"" || fail "practice $name: JSON $out"
done
# A practice run to its end enters no table, though it beats every row of a table of zeros. Played
# at HARD by a NORMAL player: NORMAL's table is shown after it, the game and settings.dat stay
# NORMAL.
fresh pr
mkdir -p "$work/pr/data" && : > "$work/pr/data/highscore.dat"
printf '\001\000\000\024' > "$work/pr/data/settings.dat"
run_in pr 6000 --no-render -- "5 right" "6 -" "22 right" "23 -" "25 down" "26 -" "45 right" "46 -" "61 down" "62 -" \
    "77 down" "78 -" "93 down" "94 -" "110 a" "111 -" "120 a" "121 -" "130 a" "5990 esc"
[ "$(field menu_screen)" = 3 ] && [ "$(field new_hiscore)" = 0 ] && [ "$(field hiscore_rank)" = 11 ] || fail "practice entered a table: $out"
[ "$(field score)" -gt 0 ] || fail "practice scored nothing: $out"
[ "$(field setting_difficulty)" = 1 ] && [ "$(header "$(ls "$work/pr/replay/"*.rep)" difficulty)" = 2 ] ||
    fail "practice at HARD: $out $(head -n 16 "$work/pr/replay/"*.rep)"
[ "$(od -An -tu1 -v "$work/pr/data/settings.dat" | tr -s ' ')" = " 1 0 0 20" ] ||
    fail "practice changed settings.dat: $(od -An -tu1 -v "$work/pr/data/settings.dat")"
