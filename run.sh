#!/usr/bin/env bash
# Installs what building and running Zifferon needs, builds the program alone and starts it.
set -euo pipefail
cd "$(dirname "$0")"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  echo "Start ./run.sh in a desktop session, or try it on a virtual one: xvfb-run -a ./run.sh" >&2
  exit 1
fi
tools/setup.sh --program
# Qt wants a private runtime folder; a session that has none (xvfb-run, ssh) gets one for this run.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
"${ZIFFERON_BUILD_DIR:-build}/zifferon"
