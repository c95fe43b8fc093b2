#!/usr/bin/env bash
# The headless runner as a user drives it: frame limits, Escape, key-script errors, screenshots,
# a missing or broken asset file, and two runs giving the same result.
source "$(dirname "$0")/lib/setup.sh" "$@"

# A frame limit counts the frames begun.
out=$("$sim" --dir "$work/base" --frames 10 --no-render) || fail "frame-limited run failed"
echo "$out" | grep -q '"frames":10,"ended":"frames"' || fail "frames: $out"
echo "$out" | grep -q '"game_mode":0' || fail "game_mode: $out"

# Escape held from frame 3 ends the program at the end of frame 3, with exit code 0.
printf '# escape\n3 esc\n' > "$work/esc.keys"
out=$("$sim" --dir "$work/base" --keys "$work/esc.keys") || fail "escape run exit code $?"
echo "$out" | grep -q '"frames":4,"ended":"escape"' || fail "escape: $out"

# A malformed key line stops the run with exit code 2 and names the line.
printf '0 -\n5 jump\n' > "$work/bad.keys"
"$sim" --dir "$work/base" --keys "$work/bad.keys" > /dev/null 2> "$work/err"
[ $? -eq 2 ] || fail "bad key script should exit 2"
grep -q 'bad.keys:2' "$work/err" || fail "bad key script message: $(cat "$work/err")"
printf '5 a\n3 s\n' > "$work/order.keys"
"$sim" --dir "$work/base" --keys "$work/order.keys" > /dev/null 2>&1
[ $? -eq 2 ] || fail "frames out of order should exit 2"

# A command line that asks for what the runner cannot do stops it with exit code 2, the reason
# first, before it runs or writes anything.
while IFS='|' read -r why args; do
    read -ra argv <<< "$args"
    rm -f "$work/h"
    "$sim" --dir "$work/base" "${argv[@]}" > "$work/out" 2> "$work/err"
    code=$?
    [ $code -eq 2 ] && [ ! -s "$work/out" ] && [ ! -e "$work/h" ] && head -n 1 "$work/err" | grep -q -- "$why" ||
        fail "$args: exit code $code: $(cat "$work/err")"
done << EOF
--hashes needs every picture drawn: not with --no-render|--frames 5 --no-render --hashes $work/h
--hashes needs every picture drawn: not with --no-render|--hashes $work/h --frames 5 --no-render
unknown option --fast|--frames 5 --fast
--frames takes a whole number above 0|--frames 0
--replay plays the replay's input: no --keys with it|--replay $work/x.rep --keys $work/x.keys --hashes $work/h
--hash-at goes with --record-expect|--frames 5 --hash-at 3 --hashes $work/h
--frames needs a value|--hashes $work/h --frames
EOF
# With every picture drawn, --hashes writes one line a frame.
"$sim" --dir "$work/base" --frames 5 --hashes "$work/h" > /dev/null || fail "--hashes run"
[ "$(wc -l < "$work/h")" = 5 ] || fail "--hashes: $(cat "$work/h")"

# Screenshots are 640 x 480 BMP pictures, the same on every run.
"$sim" --dir "$work/base" --frames 30 --shot 29:"$work/a.bmp" > "$work/run1" || fail "shot run"
"$sim" --dir "$work/base" --frames 30 --shot 29:"$work/b.bmp" > "$work/run2" || fail "shot run 2"
[ "$(head -c 2 "$work/a.bmp")" = "BM" ] || fail "screenshot is not a BMP"
w=$(od -An -t u4 -j 18 -N 4 "$work/a.bmp" | tr -d ' ')
h=$(od -An -t d4 -j 22 -N 4 "$work/a.bmp" | tr -d ' -')
[ "$w" = 640 ] && [ "$h" = 480 ] || fail "screenshot size ${w}x${h}"
cmp -s "$work/a.bmp" "$work/b.bmp" || fail "two runs drew different pictures"
strip() { sed 's/,"frame_work_us".*//' "$1"; }
[ "$(strip "$work/run1")" = "$(strip "$work/run2")" ] || fail "two runs ended differently"

# A missing asset ends the program with exit code 1 and one line naming the file.
mkdir -p "$work/m"
cp -r "$work/base/gfx" "$work/base/sfx" "$work/base/level" "$work/m/"
rm "$work/m/gfx/enemy3.bmp"
"$sim" --dir "$work/m" --frames 5 > /dev/null 2> "$work/err"
[ $? -eq 1 ] || fail "missing asset should exit 1"
[ "$(wc -l < "$work/err")" -eq 1 ] || fail "missing asset: expected one line, got: $(cat "$work/err")"
grep -q 'gfx/enemy3.bmp' "$work/err" || fail "missing asset message: $(cat "$work/err")"

# A file that is not a picture, and a sound that is not PCM, likewise.
cp "$work/base/gfx/enemy3.bmp" "$work/m/gfx/enemy3.bmp"
echo "not a picture" > "$work/m/gfx/logo1.bmp"
"$sim" --dir "$work/m" --frames 5 > /dev/null 2> "$work/err"
[ $? -eq 1 ] || fail "broken picture should exit 1"
grep -q 'gfx/logo1.bmp' "$work/err" || fail "broken picture message: $(cat "$work/err")"
cp "$work/base/gfx/logo1.bmp" "$work/m/gfx/logo1.bmp"
head -c 20 "$work/base/sfx/item1.wav" > "$work/m/sfx/item1.wav"
"$sim" --dir "$work/m" --frames 5 > /dev/null 2> "$work/err"
[ $? -eq 1 ] || fail "short sound should exit 1"
grep -q 'sfx/item1.wav' "$work/err" || fail "short sound message: $(cat "$work/err")"

echo "sim basics: ok"
