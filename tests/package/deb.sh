#!/usr/bin/env bash
# The Debian package as a player's machine sees it: lintian finds no error and no warning that is
# not explained in lintian-suppress; apt-get installs it with the dependencies it declares; the
# installed runner, started from another folder with a per-user folder of its own, plays and
# writes only there; removing it leaves none of its files. Usage: deb.sh PACKAGE.deb
set -u
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
installed=0
cleanup() {
    [ "$installed" = 1 ] && apt-get remove -y -qq --purge cinder-arc > /dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

[ -f "$deb" ] || fail "no package at $1 (make package builds it)"
command -v lintian > /dev/null || fail "lintian missing (make test installs it)"

# What the package says of itself: the project's version, dependencies computed from the
# programs (libSDL2 among them, which no one wrote down), both descriptions.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = cinder-arc ] || fail "package name: $(field Package)"
[ "$(field Version)" = "$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$here/../../dist/net.tessel.CinderArc.metainfo.xml" | head -1)" ] ||
    fail "version $(field Version) is not the metainfo's latest release"
field Depends | grep -q 'libsdl2-2.0-0 (>=' || fail "SDL2 not among the computed dependencies: $(field Depends)"
field Depends | grep -q 'libsdl2-mixer-2.0-0 (>=' || fail "SDL2_mixer not among the dependencies: $(field Depends)"
field Depends | grep -q 'libc6 (>=' || fail "no libc6 dependency: $(field Depends)"
[ "$(field Description | wc -l)" -ge 4 ] || fail "no long description"
dpkg-deb -c "$deb" > "$work/contents"
for f in ./usr/games/cinder-arc ./usr/games/cinder-arc-sim ./usr/share/cinder-arc/gfx/tileset1.bmp \
    ./usr/share/cinder-arc/sfx/shot1.wav ./usr/share/cinder-arc/level/level1.txt \
    ./usr/share/applications/net.tessel.CinderArc.desktop ./usr/share/metainfo/net.tessel.CinderArc.metainfo.xml \
    ./usr/share/icons/hicolor/256x256/apps/net.tessel.CinderArc.png ./usr/share/doc/cinder-arc/copyright \
    ./usr/share/man/man6/cinder-arc.6.gz ./usr/share/man/man6/cinder-arc-sim.6.gz; do
    grep -q " $f\$" "$work/contents" || fail "not in the package: $f"
done

# Errors always fail; so does a warning, unless lintian-suppress names it with its reason.
lintian --fail-on error,warning --suppress-tags-from-file "$here/lintian-suppress" "$deb" > "$work/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.log")"
echo "lintian: no errors, no warnings but those explained in lintian-suppress"

# Installing needs root (make test runs as root on the CI machine).
if [ "$(id -u)" -ne 0 ]; then
    echo "package: checked; install and removal skipped (not root)"
    exit 0
fi
if dpkg-query -W -f='${Status}' cinder-arc 2> /dev/null | grep -q "install ok installed"; then
    echo "package: removing the cinder-arc already installed, to install this one"
    apt-get remove -y -qq --purge cinder-arc > /dev/null || fail "cannot remove the installed cinder-arc"
fi
export DEBIAN_FRONTEND=noninteractive
# Others may hold apt's lock for a while (a set-up on the same machine): wait for it.
installed=1
apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" > "$work/apt.log" 2>&1 || fail "apt-get install: $(cat "$work/apt.log")"
dpkg -L cinder-arc > "$work/files"
[ -x /usr/games/cinder-arc-sim ] && [ -x /usr/games/cinder-arc ] || fail "programs not installed in /usr/games"

# START, a game recorded, from a folder of its own with a per-user folder of its own.
mkdir -p "$work/elsewhere" "$work/xdg"
touch "$work/stamp"
printf '%s\n' "10 a" "11 -" "20 a" "21 -" > "$work/game.keys"
(cd "$work/elsewhere" && XDG_DATA_HOME="$work/xdg" /usr/games/cinder-arc-sim --frames 80 --keys "$work/game.keys" \
    > "$work/run.out" 2> "$work/run.err") || fail "installed runner: $(cat "$work/run.err")"
grep -q '"game_mode":1' "$work/run.out" || fail "no game started: $(cat "$work/run.out")"
[ -s "$work/xdg/cinder-arc/replay/replay.txt" ] || fail "no replay in the per-user folder: $(ls -R "$work/xdg")"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "wrote into the working directory: $(ls -A "$work/elsewhere")"
while read -r f; do
    [ -f "$f" ] && [ "$f" -nt "$work/stamp" ] && fail "the runner changed an installed file: $f"
done < "$work/files"

apt-get remove -y -qq --purge -o DPkg::Lock::Timeout=300 cinder-arc > "$work/apt.log" 2>&1 ||
    fail "apt-get remove: $(cat "$work/apt.log")"
installed=0
dpkg-query -W -f='${Status}' cinder-arc 2> /dev/null | grep -q "installed" && fail "still installed after removal"
while read -r f; do
    [ -f "$f" ] && fail "left behind after removal: $f"
done < "$work/files"
[ -e /usr/share/cinder-arc ] && fail "left behind after removal: /usr/share/cinder-arc"
echo "package: ok"
