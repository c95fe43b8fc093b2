#!/usr/bin/env bash
# Installs what the build (and, with "test", the test suite) needs on a Debian machine: through
# apt-get when run as root, otherwise it prints the one apt-get line to run and fails.
set -eu
want=(build-essential cmake pkg-config libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev libvorbis-dev)
# "package" and "test": CPack's Debian packages read the programs' dependencies through
# dpkg-shlibdeps and file.
if [ "${1:-}" = "package" ] || [ "${1:-}" = "test" ]; then
  want+=(dpkg-dev file)
fi
# "web", and "test" as make test builds and tests the page too: the browser build (Debian's
# emscripten, SDL2 and SDL2_mixer from Debian's own source packages, which apt-get source fetches
# once a deb-src entry exists) and its test (Debian's chromium, driven from node with the npm
# packages pinned in web/package-lock.json).
web=no
if [ "${1:-}" = "web" ] || [ "${1:-}" = "test" ]; then web=yes; fi
if [ $web = yes ]; then
  want+=(emscripten chromium dpkg-dev python3)
  command -v npm > /dev/null || want+=(npm)
fi
if [ "${1:-}" = "test" ]; then
  # clang and its runtime libraries (libFuzzer, the sanitizers) for the Clang build and the fuzz
  # targets; MPFR, the trigonometry tests' correctly rounded reference; clang-format for the
  # formatting check; lintian for the Debian package; sox for the music's checks.
  want+=(libgtest-dev libmpfr-dev xvfb xauth xdotool x11-utils x11-apps openbox desktop-file-utils appstream
    clang libclang-rt-dev clang-format lintian sox)
fi
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
web_sources_missing() {
  [ $web = yes ] || return 1
  grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && return 1
  grep -qs '^deb-src' /etc/apt/sources.list && return 1
  return 0
}
# The browser test's node packages, exactly as web/package-lock.json pins them.
web_node_packages() {
  [ $web = yes ] || return 0
  local here
  here=$(cd "$(dirname "$0")/.." && pwd)
  [ -d "$here/web/node_modules/puppeteer-core" ] || (cd "$here/web" && npm ci --no-audit --no-fund --loglevel=error)
}
if [ ${#missing[@]} -eq 0 ] && ! web_sources_missing; then
  web_node_packages
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Missing packages. Install them with:"
    echo "  sudo apt-get install -y ${missing[*]}"
  fi
  if web_sources_missing; then
    echo "The browser build fetches SDL's Debian sources: apt needs a deb-src entry (run"
    echo "  sudo bash scripts/setup.sh web"
    echo "once, which adds it)."
  fi
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if web_sources_missing; then
  # The source packages come from the same archive as the binary ones.
  echo "Adding deb-src entries to the apt sources"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/cinder-arc-src.list
  fi
fi
apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
web_node_packages
