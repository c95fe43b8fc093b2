#!/usr/bin/env bash
# The real window under Xvfb: 640 x 480, titled "Tessel: Cinder Arc", and Escape ends the program
# with exit code 0 within a frame or two; SIGHUP ends it too, saving the player's files.
set -u
game=$1
command -v Xvfb > /dev/null && command -v xdotool > /dev/null || { echo "Xvfb or xdotool missing (make test installs them)"; exit 1; }
work=$(mktemp -d)
fail() { echo "FAIL: $*"; exit 1; }
cp -r "$game/gfx" "$game/sfx" "$game/level" "$game/music" "$game/cinder-arc" "$work/"

# Xvfb picks a free display itself and writes its number once it accepts connections, so the
# test neither races a slow server start nor collides with another server. -noreset: by default
# the server resets whenever its last client leaves (the probe below) and refuses connections
# meanwhile, which a slow first start after installation ran into.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
cleanup() { kill "$game_pid" 2> /dev/null; kill "$xvfb" 2> /dev/null; wait 2> /dev/null; rm -rf "$work"; }
game_pid=
trap cleanup EXIT
for _ in $(seq 300); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2> /dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb gave no display within 30 s: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")
xdotool getmouselocation > /dev/null 2>&1 || fail "cannot reach Xvfb on $DISPLAY: $(cat "$work/xvfb.log")"

# A login session has a private runtime folder; without one the system's libraries complain.
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
  mkdir -m 700 "$work/runtime"
  export XDG_RUNTIME_DIR="$work/runtime"
fi

# In a sanitizer build the window pulls in the X server's client libraries, the session bus and
# a GL driver that is unloaded before the leak check, whose own leaks cannot even be named;
# leaks of the game's code are checked by the headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
(cd "$work" && SDL_AUDIODRIVER=dummy exec ./cinder-arc) > "$work/game.log" 2>&1 &
game_pid=$!
win=
for _ in $(seq 300); do
  win=$(xdotool search --name '^Tessel: Cinder Arc$' 2> /dev/null | head -n 1)
  [ -n "$win" ] && break
  kill -0 "$game_pid" 2> /dev/null || fail "the game ended early: $(cat "$work/game.log")"
  sleep 0.1
done
[ -n "$win" ] || fail "no window titled 'Tessel: Cinder Arc' within 30 s: $(cat "$work/game.log")"
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
# Every game file the window loads (pictures, sounds, the music) was there and read.
! grep -q 'not found\|cannot' "$work/game.log" || fail "a game file was missing: $(cat "$work/game.log")"
echo "window: ok"

# A closed terminal or a logout (SIGHUP) saves the settings and high scores as Escape does.
rm -rf "$work/data"
(cd "$work" && SDL_AUDIODRIVER=dummy exec ./cinder-arc) > "$work/game.log" 2>&1 &
game_pid=$!
for _ in $(seq 300); do
  xdotool search --name '^Tessel: Cinder Arc$' > /dev/null 2>&1 && break
  kill -0 "$game_pid" 2> /dev/null || fail "the game ended early: $(cat "$work/game.log")"
  sleep 0.1
done
kill -HUP "$game_pid"
wait "$game_pid"
code=$?
game_pid=
[ "$code" -eq 0 ] || fail "SIGHUP: exit code $code: $(cat "$work/game.log")"
[ "$(wc -c < "$work/data/settings.dat" 2> /dev/null)" = 4 ] && [ "$(wc -c < "$work/data/highscore.dat")" = 450 ] ||
  fail "SIGHUP: the settings and high scores were not saved: $(cat "$work/game.log")"
echo "hang-up: ok"

# With no display at all the game must say so and end, not run on in a window nobody sees.
start=$(date +%s)
(cd "$work" && unset DISPLAY WAYLAND_DISPLAY && SDL_AUDIODRIVER=dummy timeout 20 ./cinder-arc) > "$work/nodisplay.log" 2>&1
code=$?
[ "$code" -eq 1 ] || fail "without a display: exit code $code (124 means it ran on): $(cat "$work/nodisplay.log")"
grep -q '^cinder-arc: no display' "$work/nodisplay.log" || fail "without a display: $(cat "$work/nodisplay.log")"
echo "no display: ok ($(($(date +%s) - start)) s)"
