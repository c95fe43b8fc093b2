#!/usr/bin/env bash
# A closed terminal, a logout, kill and Ctrl-C (SIGHUP, SIGTERM, SIGINT) end the runner as a
# closed window does: the settings changed in the session and the high scores are saved, one JSON
# line says "signal", exit code 0. A signal that was ignored when it started (nohup) stays ignored.
source "$(dirname "$0")/lib/setup.sh" "$@"
# Job control, so that a background job keeps SIGINT as a terminal's foreground program would.
set -m

bytes() { od -An -tu1 -v "$1" | tr -s ' ' '\n' | sed '/^$/d' | tr '\n' ' ' | sed 's/ $//'; }
# Settings page, difficulty down to EASY, then nothing until the signal.
printf '%s\n' "0 down" "1 -" "10 a" "11 -" "20 left" "21 -" > "$work/keys"

# start NAME [WRAPPER...]: the runner in a fresh copy, its pid in $pid once it is past the keys.
start() {
    local name=$1
    shift
    rm -rf "$work/$name" && cp -r "$work/base" "$work/$name"
    "$@" "$sim" --dir "$work/$name" --frames 900000000 --keys "$work/keys" --shot "100:$work/$name.bmp" \
        > "$work/$name.out" 2> "$work/$name.err" &
    pid=$!
    # The picture of frame 100 shows that start-up and the key script are done.
    for _ in $(seq 600); do
        [ -s "$work/$name.bmp" ] && return
        kill -0 "$pid" 2> /dev/null || fail "$name: the runner ended early: $(cat "$work/$name.err")"
        sleep 0.1
    done
    fail "$name: frame 100 not reached within 60 s"
}

for sig in HUP TERM INT; do
    start "$sig"
    kill -s "$sig" "$pid"
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || fail "SIG$sig: exit code $code: $(cat "$work/$sig.err")"
    grep -q '"ended":"signal"' "$work/$sig.out" || fail "SIG$sig: $(cat "$work/$sig.out")"
    [ "$(bytes "$work/$sig/data/settings.dat")" = "0 0 0 20" ] ||
        fail "SIG$sig: settings not saved: $(bytes "$work/$sig/data/settings.dat" 2> /dev/null)"
    [ "$(wc -c < "$work/$sig/data/highscore.dat")" -eq 450 ] || fail "SIG$sig: high scores not saved"
    [ -s "$work/$sig.err" ] && fail "SIG$sig: $(cat "$work/$sig.err")"
done
echo "signals: ok"

# Under nohup the hang-up is ignored: the runner goes on until told to stop otherwise.
start nohup nohup
kill -s HUP "$pid"
sleep 0.5
kill -0 "$pid" 2> /dev/null || fail "SIGHUP ended a runner started under nohup"
kill -s TERM "$pid"
wait "$pid"
grep -q '"ended":"signal"' "$work/nohup.out" || fail "nohup, then SIGTERM: $(cat "$work/nohup.out")"
echo "nohup: ok"
