#!/usr/bin/env bash
# The real window under Xvfb, with and without a window manager: the picture grows by whole
# factors and stays centred at every size, the window keeps its minimum size, full screen covers
# the display (from the settings and with F11 / Alt+Enter, which also set RESOLUTION), F12
# saves a PNG of the picture, and sound that cannot start says so in one line.
source "$(dirname "$0")/lib/setup.sh" "$@"
source "$(dirname "$0")/lib/xvfb.sh"
cp "$game/cinder-arc" "$work/base/"
fresh() { rm -rf "$work/$1" && cp -r "$work/base" "$work/$1"; }
settings() { od -An -tu1 "$work/$1/data/settings.dat" | tr -s ' ' | sed 's/^ //;s/ $//'; }

# placed WHAT ID W H: the dump of window ID (W x H) shows the title picture at the largest whole
# factor that fits, centred, black around it. The title backdrop fills the picture's left 480 x
# 480 pixels and is never black along an edge, while the right panel of the menus is.
placed() {
    local what=$1 id=$2 w=$3 h=$4 f x0 y0 bad=
    f=$((w / 640 < h / 480 ? w / 640 : h / 480))
    [ "$f" -ge 1 ] || f=1
    x0=$(((w - 640 * f) / 2)) y0=$(((h - 480 * f) / 2))
    # The game may still be fitting a size just given: a few tries.
    for _ in 1 2 3 4 5; do
        xwd -id "$id" -silent > "$work/dump.xwd" || fail "$what: xwd failed"
        bad=
        local mid=$((y0 + 240 * f)) col=$((x0 + 240 * f))
        [ "$(lit "$work/dump.xwd" "$x0" "$mid")" = 1 ] || bad="left edge"
        [ "$(lit "$work/dump.xwd" $((x0 + 480 * f - 1)) "$mid")" = 1 ] || bad="backdrop's right edge"
        [ "$(lit "$work/dump.xwd" $((x0 + 480 * f)) "$mid")" = 0 ] || bad="panel"
        [ "$(lit "$work/dump.xwd" "$col" "$y0")" = 1 ] || bad="top edge"
        [ "$(lit "$work/dump.xwd" "$col" $((y0 + 480 * f - 1)))" = 1 ] || bad="bottom edge"
        if [ "$x0" -gt 0 ]; then [ "$(lit "$work/dump.xwd" $((x0 - 1)) "$mid")" = 0 ] || bad="left border"; fi
        if [ "$y0" -gt 0 ]; then [ "$(lit "$work/dump.xwd" "$col" $((y0 - 1)))" = 0 ] || bad="top border"; fi
        if [ $((y0 + 480 * f)) -lt "$h" ]; then
            [ "$(lit "$work/dump.xwd" "$col" $((y0 + 480 * f)))" = 0 ] || bad="bottom border"
        fi
        [ -z "$bad" ] && break
        sleep 0.3
    done
    [ -z "$bad" ] || fail "$what ($w x $h, factor $f at $x0,$y0): wrong $bad"
    echo "$what: factor $f at $x0,$y0 in $w x $h"
}

for wm in none wm; do
    start_x 1400x1100 "$wm"
    root=$(xwininfo -root | awk '/Window id:/ {print $4}')
    fresh "w$wm"
    start_game "$work/w$wm"
    placed "$wm: window" "$win" $(size "$win")
    [ "$(size "$win")" = "640 480" ] || fail "$wm: window of $(size "$win")"
    # Larger by hand: 2x, centred in what is left over.
    xdotool windowmove "$win" 0 0 windowsize "$win" 1300 1000
    sleep 0.6
    placed "$wm: window made larger" "$win" $(size "$win")
    if [ "$wm" = wm ]; then
        # The window manager keeps the minimum size: the picture is never cropped.
        xdotool windowsize "$win" 400 300
        sleep 0.6
        read -r w h <<< "$(size "$win")"
        [ "$w" -ge 640 ] && [ "$h" -ge 480 ] || fail "$wm: shrunk to $w x $h below the minimum"
    fi
    # F11: the whole display, the picture 2x in its middle, RESOLUTION FULL; Alt+Enter back.
    key F11
    [ "$(size "$win")" = "1400 1100" ] || fail "$wm: full screen is $(size "$win")"
    placed "$wm: F11" "$root" 1400 1100
    key F12
    key alt+Return
    [ "$(size "$win")" = "640 480" ] || fail "$wm: back from full screen: $(size "$win")"
    placed "$wm: Alt+Enter" "$win" 640 480
    key F11
    stop_game "$work/w$wm"
    [ "$(settings "w$wm")" = "1 0 1 20" ] || fail "$wm: F11 did not set RESOLUTION: $(settings "w$wm")"

    # F12 wrote one 640 x 480 PNG in screenshots/ and said where.
    shots=("$work/w$wm"/screenshots/*.png)
    [ ${#shots[@]} -eq 1 ] && [ -f "${shots[0]}" ] || fail "$wm: screenshots: ${shots[*]}"
    [ "$(od -An -tx1 -N 8 "${shots[0]}" | tr -d ' ')" = 89504e470d0a1a0a ] || fail "$wm: not a PNG"
    [ "$(od -An -tu1 -j 16 -N 8 "${shots[0]}" | tr -s ' ' | sed 's/^ //;s/ $//')" = "0 0 2 128 0 0 1 224" ] ||
        fail "$wm: the PNG is not 640 x 480"
    grep -q "screenshot saved to .*${shots[0]##*/}" "$work/w$wm/game.log" || fail "$wm: $(cat "$work/w$wm/game.log")"

    # Started with RESOLUTION FULL (saved above): the whole display from the first frame. The
    # sound driver asked for does not exist: one line says there is no sound, and play goes on.
    audio=no-such-driver start_game "$work/w$wm"
    [ "$(grep -c 'no sound' "$work/w$wm/game.log")" -eq 1 ] || fail "$wm: sound failure: $(cat "$work/w$wm/game.log")"
    [ "$(size "$win")" = "1400 1100" ] || fail "$wm: full screen at start is $(size "$win")"
    placed "$wm: full screen at start" "$root" 1400 1100
    stop_game "$work/w$wm"
done
echo "window desktop: ok"
