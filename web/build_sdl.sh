#!/usr/bin/env bash
# Builds SDL2 and SDL2_mixer for the browser from Debian's own source packages, once: the
# libraries and headers land in OUT (build-web/sdl) and a later run finds them and does nothing.
# Usage: web/build_sdl.sh OUT
set -eu
out=$(realpath -m "$1")
if [ -f "$out/lib/libSDL2.a" ] && [ -f "$out/lib/libSDL2_mixer.a" ]; then exit 0; fi
jobs=${JOBS:-2}
src="$out/src"
rm -rf "$out"
mkdir -p "$src" "$out/lib" "$out/include/SDL2" "$out/obj"
# apt-get source needs a deb-src entry (scripts/setup.sh web adds it); the original tarballs
# are enough, Debian's patches only touch the build system and the desktop drivers.
(cd "$src" && apt-get source --download-only libsdl2 libsdl2-mixer > fetch.log 2>&1) || {
  cat "$src/fetch.log"
  echo "web: cannot fetch the SDL2 sources (run: bash scripts/setup.sh web)" >&2
  exit 1
}
(cd "$src" && tar xzf libsdl2_*.orig.tar.gz && tar xJf libsdl2-mixer_*.orig.tar.xz)
sdl=$(echo "$src"/SDL2-2.*/)
mixer=$(echo "$src"/SDL2_mixer-2.*/)
cp "$sdl"/include/*.h "$out/include/SDL2/"
cp "$mixer"/include/SDL_mixer.h "$out/include/SDL2/"

# SDL's own config header picks its emscripten settings (threads off, so the generic thread
# code; the web audio, joystick, video and GLES2 renderer drivers), no configure needed.
sdl_files=$(cd "$sdl" && ls src/*.c src/atomic/*.c src/audio/*.c src/audio/disk/*.c src/audio/dummy/*.c \
  src/audio/emscripten/*.c src/cpuinfo/*.c src/dynapi/*.c src/events/*.c src/file/*.c \
  src/filesystem/emscripten/*.c src/haptic/*.c src/haptic/dummy/*.c src/joystick/*.c \
  src/joystick/emscripten/*.c src/joystick/virtual/*.c src/libm/*.c src/loadso/dlopen/*.c src/locale/*.c \
  src/locale/emscripten/*.c src/misc/*.c src/misc/emscripten/*.c src/power/*.c src/power/emscripten/*.c \
  src/render/*.c src/render/software/*.c src/render/opengles2/*.c src/sensor/*.c src/sensor/dummy/*.c \
  src/stdlib/*.c src/thread/*.c src/thread/generic/*.c src/timer/*.c src/timer/unix/*.c src/video/*.c \
  src/video/emscripten/*.c src/video/yuv2rgb/*.c src/hidapi/SDL_hidapi.c 2>/dev/null)
compile() {  # root flags... -- files
  local root=$1 tag=$2
  shift 2
  local flags=()
  while [ "$1" != "--" ]; do flags+=("$1"); shift; done
  shift
  printf '%s\n' "$@" | xargs -P "$jobs" -I{} sh -c \
    'o="$0/$(echo "{}" | tr / _).o"; emcc -O2 -c "$1/{}" -o "$o" '"${flags[*]}"' || exit 255' "$out/obj/$tag" "$root"
}
mkdir -p "$out/obj/sdl" "$out/obj/mixer"
echo "web: compiling SDL2 ($(echo "$sdl_files" | wc -l) files) into $out"
compile "$sdl" sdl -I"$sdl/include" -I"$sdl/src" -- $sdl_files
emar rcs "$out/lib/libSDL2.a" "$out"/obj/sdl/*.o

# The mixer: WAV through its core, OGG music through its bundled decoder.
mixer_files=$(cd "$mixer" && ls src/*.c src/codecs/music_wav.c src/codecs/load_aiff.c src/codecs/load_voc.c \
  src/codecs/music_ogg.c src/codecs/music_ogg_stb.c src/codecs/mp3utils.c)
echo "web: compiling SDL2_mixer"
compile "$mixer" mixer -I"$out/include/SDL2" -I"$mixer/include" -I"$mixer/src" -I"$mixer/src/codecs" \
  -DMUSIC_WAV -DMUSIC_OGG -DOGG_USE_STB -- $mixer_files
emar rcs "$out/lib/libSDL2_mixer.a" "$out"/obj/mixer/*.o
rm -rf "$out/obj" "$src"
echo "web: SDL2 and SDL2_mixer ready in $out"
