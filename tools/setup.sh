#!/usr/bin/env bash
# Installs the missing Debian packages, then configures and builds Zifferon in build/
# (or $ZIFFERON_BUILD_DIR). Arguments are passed to the first cmake configure.
set -euo pipefail
cd "$(dirname "$0")/.."

# One group a line, so that additions merge cleanly.
packages=(
  cmake ninja-build g++ pkg-config                                    # build tools
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6              # Qt
  libxlsxwriter-dev libzip-dev libchm-dev fp-utils                    # export, help file
  fonts-liberation fonts-dejavu-core xdg-utils                        # used by the program: fonts, opening exports
  libxcb1-dev libxcb-render0-dev                                     # credits drawn through the X server
  libgtest-dev libbenchmark-dev xvfb xauth xdotool                    # tests and benchmarks
  clang libclang-rt-14-dev                                            # fuzzing
  dbus-daemon at-spi2-core python3-pyatspi                            # end-to-end test
  desktop-file-utils appstream lintian dpkg-dev file                  # install test, package
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Install them as root, then run this again:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=${ZIFFERON_BUILD_DIR:-build}
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZIFFERON_WERROR="${ZIFFERON_WERROR:-OFF}" "$@"
fi
cmake --build "$build_dir" --parallel "$(nproc)"
