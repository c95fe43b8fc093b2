# Sourced after lib/setup.sh by the scripts that play games through the runner.
#
# fresh NAME: a new copy NAME of the game folder.
fresh() { rm -rf "$work/$1" && cp -r "$work/base" "$work/$1"; }
# run_in NAME FRAMES [SIM OPTIONS] -- KEYLINES...: plays in the folder NAME as it is, with the key
# script KEYLINES; the JSON line is left in $out.
run_in() {
    local name=$1 frames=$2
    shift 2
    local opts=()
    while [ "$1" != "--" ]; do opts+=("$1"); shift; done
    shift
    printf '%s\n' "$@" > "$work/$name.keys"
    out=$("$sim" --dir "$work/$name" --frames "$frames" --keys "$work/$name.keys" "${opts[@]}" 2> "$work/$name.err") \
        || fail "$name: exit code $? $(cat "$work/$name.err")"
}
# run NAME FRAMES [SIM OPTIONS] -- KEYLINES...: the same in a fresh copy NAME.
run() {
    fresh "$1"
    run_in "$@"
}
field() { echo "$out" | sed -n "s/.*\"$1\":\([^,}]*\).*/\1/p"; }
count() { echo "$out" | sed -n "s/.*\"counts\":{[^}]*\"$1\":\([0-9]*\).*/\1/p"; }

# pixels BMP X Y W H CONDITION: how many pixels of the screen rectangle meet CONDITION, an awk
# expression of r, g and b. Screenshots are 640 x 480, 24 bits, bottom row first.
pixels() {
    local file=$1 x=$2 y=$3 w=$4 h=$5 condition=$6 row
    for ((row = y; row < y + h; row++)); do
        od -An -tu1 -v -j $((54 + (479 - row) * 1920 + x * 3)) -N $((w * 3)) "$file"
    done | tr -s ' ' '\n' | sed '/^$/d' | awk "
        { v[n++ % 3] = \$1 }
        n % 3 == 0 { b = v[0]; g = v[1]; r = v[2]; if ($condition) c++ }
        END { print c + 0 }"
}
