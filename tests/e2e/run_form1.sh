#!/usr/bin/env bash
# Runs a driver ($2, drive_form1.py when not given) against the program named by $1 with an X server (Xvfb), a D-Bus session and
# a home folder of its own, never the machine's. No window manager runs. Every process started
# here is ended on the way out, also when a step fails or the run is interrupted.
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
driver=${2:-drive_form1.py}
# The driver's own time, within the test's timeout.
seconds=${ZIFFERON_E2E_SECONDS:-105}

missing() {
  echo "$1 is missing; tools/setup.sh installs it." >&2
  exit 1
}
for tool in Xvfb xdotool dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || missing "$tool"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing python3-pyatspi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zifferon-e2e.XXXXXX")
# Each background job gets a process group of its own, which the clean-up ends as a whole.
set -m
groups=()
cleanup() {
  for group in "${groups[@]}"; do
    kill -- "-$group" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

export HOME=$scratch/home XDG_RUNTIME_DIR=$scratch/run
export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
export XDG_STATE_HOME=$HOME/.local/state
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY SESSION_MANAGER XAUTHORITY
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# Xvfb chooses a free display and writes its number to descriptor 3.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$scratch/display" 2>"$scratch/xvfb.log" &
groups+=($!)
for _ in $(seq 100); do
  [ -s "$scratch/display" ] && break
  sleep 0.1
done
if [ ! -s "$scratch/display" ]; then
  cat "$scratch/xvfb.log" >&2
  echo "Xvfb does not start." >&2
  exit 1
fi
DISPLAY=:$(head -n 1 "$scratch/display")
export DISPLAY

timeout --kill-after=5 "$seconds" dbus-run-session -- /usr/bin/python3 "$here/$driver" "$program" &
groups+=($!)
wait "${groups[-1]}"
