#!/usr/bin/env bash
# A full disk and symbolic links where the game writes. With no room for a single byte (a file
# size limit of 0, no root needed) the settings, high scores and controls are kept as they were
# with one line each, F12 says it failed and leaves no file, recording stops with one line and
# play goes on. A link at any file the game writes (each temporary, the replay, a screenshot's
# name) is never written through: the file it points to stays as it was.
source "$(dirname "$0")/lib/setup.sh" "$@"
source "$(dirname "$0")/lib/game.sh"

# --- Full disk: M, F12 in the menu, START with fire on Z (ship 1), F12 in play, Escape.
fresh full
mkdir -p "$work/full/data"
printf '\001\000\000\036' > "$work/full/data/settings.dat"
head -c 450 /dev/urandom > "$work/full/data/highscore.dat"
printf 'fire = Z\nmute = no\n' > "$work/full/data/controls.txt"
cp -r "$work/full/data" "$work/full.before"
printf '%s\n' "30 m" "31 -" "40 123" "41 -" "60 z" "61 -" "90 z" "91 -" "120 123" "121 -" "290 esc" > "$work/full.keys"
# Standard output and error go to a pipe: the limit applies to files only.
all=$( (
    trap '' XFSZ
    ulimit -f 0
    "$sim" --dir "$work/full" --frames 300 --keys "$work/full.keys" --no-render 2>&1
)) || fail "full disk: exit code $?: $all"
out=$(echo "$all" | grep '^{')
[ "$(field ended)" = '"escape"' ] && [ "$(field game_mode)" = 1 ] && [ "$(count player)" = 1 ] ||
    fail "full disk: play did not go on: $all"
for f in settings.dat highscore.dat controls.txt; do
    cmp -s "$work/full/data/$f" "$work/full.before/$f" || fail "full disk: data/$f changed"
done
[ -z "$(ls -A "$work/full/screenshots")" ] || fail "full disk: left $(ls -A "$work/full/screenshots")"
[ -z "$(find "$work/full" -name '*.tmp')" ] || fail "full disk: temporaries left: $(find "$work/full" -name '*.tmp')"
expected="cinder-arc: could not save the mute choice in data/controls.txt
cinder-arc: could not save the screenshot screenshots/X.png: File too large
cinder-arc: cannot write replay/replay.txt; recording stopped, the game goes on
cinder-arc: could not save the screenshot screenshots/X.png: File too large
cinder-arc: could not save data/settings.dat and data/highscore.dat; the previous contents are kept"
[ "$(echo "$all" | grep -v '^{' | sed 's/cinder-arc-[0-9-]*\.png/X.png/')" = "$expected" ] ||
    fail "full disk: the lines said: $all"
echo "full disk: ok"

# --- Links: each at a file the game writes, each pointing at a file of someone else's (or at
# nothing, for a screenshot's name: the game must not create it).
fresh links
mkdir -p "$work/links/data" "$work/links/replay" "$work/links/screenshots" "$work/victims"
for v in settings highscore controls controls.txt replay shot; do echo "$v: not the game's" > "$work/victims/$v"; done
printf 'fire = Z\n' > "$work/victims/controls.txt"
ln -s "$work/victims/settings" "$work/links/data/settings.dat.tmp"
ln -s "$work/victims/highscore" "$work/links/data/highscore.dat.tmp"
ln -s "$work/victims/controls" "$work/links/data/controls.txt.tmp"
ln -s "$work/victims/controls.txt" "$work/links/data/controls.txt"
ln -s "$work/victims/replay" "$work/links/replay/replay.txt"
# The screenshot's name is the time: links at the names of the next seconds, the file and its
# temporary, pointing at nothing and at a file.
for s in $(seq 0 20); do
    name=$(date -d "+$s sec" +cinder-arc-%Y-%m-%d-%H%M%S)
    ln -sf "$work/victims/new-$s" "$work/links/screenshots/$name.png"
    ln -sf "$work/victims/shot" "$work/links/screenshots/$name.png.tmp"
done
cp -r "$work/victims" "$work/victims.before"
run_in links 300 --no-render -- "30 m" "31 -" "40 123" "41 -" "60 z" "61 -" "90 z" \
    "91 -" "200 esc"
diff -r "$work/victims" "$work/victims.before" > /dev/null || fail "links: written through: $(diff -r "$work/victims" "$work/victims.before")"
for f in data/settings.dat data/highscore.dat data/controls.txt replay/replay.txt; do
    [ -f "$work/links/$f" ] && [ ! -L "$work/links/$f" ] || fail "links: $f is not a file of the game's own"
done
[ "$(wc -c < "$work/links/replay/replay.txt")" -gt 100 ] || fail "links: nothing recorded"
grep -qx 'mute = yes' "$work/links/data/controls.txt" && grep -qx 'fire = Z' "$work/links/data/controls.txt" ||
    fail "links: controls: $(cat "$work/links/data/controls.txt")"
[ "$(find "$work/links/screenshots" -type f -name '*.png' | wc -l)" = 1 ] || fail "links: no screenshot of its own"
[ "$(field game_mode)" = 1 ] || fail "links: $out"
echo "links: ok"
