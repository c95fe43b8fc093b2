#!/usr/bin/env bash
# Installed like a desktop game: cmake --install into a scratch prefix puts both programs in
# bin/, the game files in share/cinder-arc/, a desktop entry, the icons and the AppStream
# metadata in place (both validated); the installed runner, started from elsewhere, reads its
# files from share/ and writes data/, replay/ and screenshots/ in the per-user folder only (a
# relative XDG_DATA_HOME ignored).
source "$(dirname "$0")/lib/setup.sh" "$@"
command -v desktop-file-validate > /dev/null && command -v appstreamcli > /dev/null ||
    fail "desktop-file-validate or appstreamcli missing (make test installs them)"
build=$(dirname "$game")
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 || fail "install: $(cat "$work/install.log")"

id=net.tessel.CinderArc
for f in bin/cinder-arc bin/cinder-arc-sim share/cinder-arc/gfx/tileset1.bmp share/cinder-arc/sfx/shot1.wav \
    share/cinder-arc/level/level1.txt share/applications/$id.desktop share/metainfo/$id.metainfo.xml; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/bin/cinder-arc" ] || fail "bin/cinder-arc is not executable"
for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
    [ "$(od -An -tx1 -N 8 "$icon" | tr -d ' ')" = 89504e470d0a1a0a ] || fail "icon $size: not a PNG"
    [ "$(od -An -tu4 --endian=big -j 16 -N 8 "$icon" | tr -s ' ' | sed 's/^ //;s/ $//')" = "$size $size" ] ||
        fail "icon $size: wrong size"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" > "$work/as.log" 2>&1 ||
    fail "metainfo: $(cat "$work/as.log")"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "the entry names another icon"

# From a folder of its own, with a per-user folder of its own: START, a game recorded, F12.
mkdir -p "$work/elsewhere" "$work/xdg"
printf '%s\n' "10 a" "11 -" "20 a" "21 -" "60 123" "61 -" > "$work/game.keys"
(cd "$work/elsewhere" && XDG_DATA_HOME="$work/xdg" "$prefix/bin/cinder-arc-sim" --frames 80 --keys "$work/game.keys" \
    > "$work/run.out" 2> "$work/run.err") || fail "installed runner: $(cat "$work/run.err")"
grep -q '"game_mode":1' "$work/run.out" || fail "no game started: $(cat "$work/run.out")"
user=$work/xdg/cinder-arc
[ -f "$user/data/controls.txt" ] && [ -s "$user/replay/replay.txt" ] || fail "nothing in the per-user folder: $(ls -R "$user")"
ls "$user"/screenshots/*.png > /dev/null 2>&1 || fail "no screenshot in $user/screenshots: $(cat "$work/run.err")"
grep -q "screenshot saved to $user/screenshots/" "$work/run.err" || fail "$(cat "$work/run.err")"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "wrote into the working directory: $(ls -A "$work/elsewhere")"
[ "$(find "$prefix" -newer "$work/install.log" -type f | wc -l)" -eq 0 ] || fail "wrote into the installation"
# A relative XDG_DATA_HOME is invalid and ignored: the files go under $HOME/.local/share, never
# into a folder of that name below wherever the game was started.
(cd "$work/elsewhere" && HOME="$work/home" XDG_DATA_HOME=xdg-relative "$prefix/bin/cinder-arc-sim" --frames 80 \
    --keys "$work/game.keys" > "$work/run.out" 2> "$work/run.err") || fail "relative XDG: $(cat "$work/run.err")"
[ -s "$work/home/.local/share/cinder-arc/replay/replay.txt" ] || fail "relative XDG: not in ~/.local/share"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "relative XDG: wrote into the working directory"
echo "install: ok"
