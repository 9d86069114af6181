#!/usr/bin/env bash
# Builds Zifferon and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Kein Bildschirm gefunden (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt)." >&2
  echo "Zum Ausprobieren ohne Bildschirm: xvfb-run ./run.sh" >&2
  exit 1
fi
exec build/zifferon
