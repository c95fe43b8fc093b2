#!/usr/bin/env bash
# Fails when any source outside engine/ names SDL: the facade is the only door to the platform.
set -u
cd "$1" || exit 2
hits=$(grep -rn --include='*.cpp' --include='*.h' -E 'SDL_|#include *<SDL'  core frontend player enemies tools tests bench web 2>/dev/null | grep -v '^tests/check_sdl_confined.sh')
if [ -n "$hits" ]; then
  echo "SDL used outside engine/:"
  echo "$hits"
  exit 1
fi
echo "SDL is confined to engine/"
