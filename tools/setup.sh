#!/usr/bin/env bash
# Installs the missing Debian packages, then configures and builds Zifferon in build/
# (or $ZIFFERON_BUILD_DIR).
#   tools/setup.sh --program [CMAKE_ARGS]  what building and running the program needs; builds the
#                                          program alone (a folder configured here first has the
#                                          tests off)
#   tools/setup.sh [CMAKE_ARGS]            every package group; turns the tests on, builds all
# CMAKE_ARGS are passed to the first cmake configure of the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

# The packages by purpose, one group a line, so that additions merge cleanly.
build_and_run=(
  cmake ninja-build g++ pkg-config                                    # build tools
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6              # Qt
  libxlsxwriter-dev libzip-dev                                        # Word and Excel export
  libchm-dev fp-utils                                                 # the manual: read, compiled
  zlib1g-dev                                                          # the journal's checksums
  libxcb1-dev libxcb-render0-dev                                      # credits drawn by the X server
  fonts-liberation fonts-dejavu-core xdg-utils                        # fonts, opening exports
)
tests=(
  libbenchmark-dev                                                    # benchmarks
  xvfb xauth xdotool dbus-daemon at-spi2-core python3-pyatspi         # end-to-end test
)
fuzzing=(
  clang libclang-rt-14-dev
)
packaging=(
  desktop-file-utils appstream                                        # install test: validators
  dpkg-dev file lintian                                               # the Debian package
)

# Installs those of the given packages that are missing; without root it names them and stops.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Install them as root, then run this again:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The value of a cache entry of the build folder; empty when it is not configured.
cached() {
  sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt" 2>/dev/null
}

build_dir=${ZIFFERON_BUILD_DIR:-build}
# Warnings fail the build where ZIFFERON_WERROR=ON (CI); the user's build only shows them.
first_configure() {
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZIFFERON_WERROR="${ZIFFERON_WERROR:-OFF}" "$@"
}

if [ "${1:-}" = --program ]; then
  shift
  install_missing "${build_and_run[@]}"
  # A folder that already has the tests on keeps them: its test build stays as it is.
  [ -f "$build_dir/build.ninja" ] || first_configure -DZIFFERON_TESTS=OFF "$@"
  cmake --build "$build_dir" --parallel "$(nproc)" --target zifferon
else
  install_missing "${build_and_run[@]}" "${tests[@]}" "${fuzzing[@]}" "${packaging[@]}"
  if [ ! -f "$build_dir/build.ninja" ]; then
    first_configure -DZIFFERON_TESTS=ON "$@"
  elif [ "$(cached ZIFFERON_TESTS)" != ON ]; then
    # Configured for the program alone: what is built stays, the tests are added.
    cmake -S . -B "$build_dir" -DZIFFERON_TESTS=ON
  fi
  cmake --build "$build_dir" --parallel "$(nproc)"
fi
