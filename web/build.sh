#!/usr/bin/env bash
# make web: the game for the browser in OUT/site (index.html, cinder-arc.js, .wasm and .data with
# the game files), and the headless runner for the browser test in OUT/runner.
#   web/build.sh SOURCE_DIR DESKTOP_BUILD OUT JOBS
set -eu
src=$(realpath "$1")
desktop=$(realpath -m "$2")
out=$(realpath -m "$3")
jobs=${4:-2}
[ -f "$desktop/CMakeCache.txt" ] || cmake -S "$src" -B "$desktop" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
# The game files come from the desktop build's generator, the very files the desktop game reads.
cmake --build "$desktop" -j"$jobs" --target game_assets
JOBS=$jobs bash "$src/web/build_sdl.sh" "$out/sdl"
# Debian's emscripten finds its JavaScript modules among Debian's node packages.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
if [ ! -f "$out/obj/CMakeCache.txt" ]; then
  emcmake cmake -S "$src/web" -B "$out/obj" -DCMAKE_BUILD_TYPE=Release -DSDL_WEB="$out/sdl" \
    -DGAME_FILES="$desktop/game" -DSITE_DIR="$out/site" -DRUNNER_DIR="$out/runner" > "$out/configure.log" ||
    { cat "$out/configure.log"; exit 1; }
fi
cmake --build "$out/obj" -j"$jobs"
cp "$src/web/index.html" "$out/site/index.html"
cp "$src/web/runner.html" "$out/runner/index.html"
echo "web: the page is in $out/site ($(du -sb "$out/site" | cut -f1) bytes); make web-serve serves it"
