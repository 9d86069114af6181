#!/usr/bin/env bash
# Installs the missing Debian packages, then configures and builds Zifferon in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6svg6
          libgtest-dev libbenchmark-dev libxlsxwriter-dev libzip-dev libchm-dev fp-utils
          fonts-liberation fonts-dejavu-core xvfb xauth clang libclang-rt-14-dev
          # the end-to-end test: X11 input, a D-Bus session of its own, the accessibility tree
          xdotool dbus-daemon at-spi2-core python3-pyatspi)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installiere fehlende Pakete: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Bitte als root ausführen (apt-get braucht root-Rechte)." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=${ZIFFERON_BUILD_DIR:-build}
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$build_dir" --parallel "$(nproc)"
