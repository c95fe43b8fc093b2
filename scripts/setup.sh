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
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:"
  echo "  sudo apt-get install -y ${missing[*]}"
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
