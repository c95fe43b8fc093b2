#!/usr/bin/env bash
# The real window under Xvfb: 640 x 480, titled "Tessel: Cinder Arc", and Escape ends the program
# with exit code 0 within a frame or two.
set -u
game=$1
command -v Xvfb > /dev/null && command -v xdotool > /dev/null || { echo "Xvfb or xdotool missing (make test installs them)"; exit 1; }
work=$(mktemp -d)
fail() { echo "FAIL: $*"; exit 1; }
cp -r "$game/gfx" "$game/sfx" "$game/level" "$game/cinder-arc" "$work/"

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb=$!
cleanup() { kill "$game_pid" 2> /dev/null; kill "$xvfb" 2> /dev/null; wait 2> /dev/null; rm -rf "$work"; }
game_pid=
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation > /dev/null 2>&1 && break; sleep 0.1; done

# In a sanitizer build the window pulls in the X server's client libraries, the session bus and
# a GL driver that is unloaded before the leak check, whose own leaks cannot even be named;
# leaks of the game's code are checked by the headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
(cd "$work" && SDL_AUDIODRIVER=dummy exec ./cinder-arc) > "$work/game.log" 2>&1 &
game_pid=$!
win=
for _ in $(seq 100); do
  win=$(xdotool search --name '^Tessel: Cinder Arc$' 2> /dev/null | head -n 1)
  [ -n "$win" ] && break
  kill -0 "$game_pid" 2> /dev/null || fail "the game ended early: $(cat "$work/game.log")"
  sleep 0.1
done
[ -n "$win" ] || fail "no window titled 'Tessel: Cinder Arc'"
# The window may be found before it is mapped: ask again until it answers.
geometry=
for _ in $(seq 50); do
  geometry=$(xdotool getwindowgeometry "$win" 2> /dev/null)
  echo "$geometry" | grep -q 'Geometry: 640x480' && break
  sleep 0.1
done
echo "$geometry" | grep -q 'Geometry: 640x480' || fail "window geometry: $geometry"

xdotool windowfocus --sync "$win" 2> /dev/null
xdotool key --window "$win" Escape
for _ in $(seq 20); do
  kill -0 "$game_pid" 2> /dev/null || break
  sleep 0.05
done
if kill -0 "$game_pid" 2> /dev/null; then fail "Escape did not end the program within a second"; fi
wait "$game_pid"
code=$?
game_pid=
[ "$code" -eq 0 ] || fail "exit code $code: $(cat "$work/game.log")"
echo "window smoke: ok"
