#!/usr/bin/env bash
# Takes the screenshots in docs/images/ (README, AppStream metadata): starts the built program
# on a virtual X display, uses it as a person would with the mouse and keyboard (xdotool) and
# grabs its windows (ImageMagick's import). Takes about 40 seconds: the splash shows for 20.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${ZIFFERON_BUILD_DIR:-build}/zifferon
images=docs/images

if [ "${1:-}" != --on-display ]; then
  for tool in xvfb-run xdotool import; do
    if ! command -v "$tool" >/dev/null; then
      echo "$tool is missing: sudo apt-get install xvfb xauth xdotool imagemagick" >&2
      exit 1
    fi
  done
  [ -x "$program" ] || { echo "$program is missing: run tools/setup.sh first" >&2; exit 1; }
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display
fi

# A home and a runtime folder of their own, so the program touches none of the user's files.
scratch=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
export HOME=$scratch XDG_RUNTIME_DIR=$scratch
mkdir -p "$images"

"$program" &
pid=$!

# The id of the first visible window whose title matches, once it has appeared.
window_named() {
  xdotool search --sync --onlyvisible --name "$1" | head -1
}

# Raises the window and saves what it shows.
grab() {
  xdotool windowraise "$1"
  sleep 0.5
  import -window "$1" -strip "$images/$2.png"
  echo "$images/$2.png"
}

# Toolbar buttons are 54 pixels wide, from the window's left edge: the first is number 1.
click_toolbar_button() {
  xdotool mousemove --window "$main" $(($1 * 54 - 27)) 26 click 1
}

sleep 21 # the splash window
main=$(window_named '^ Zifferon ©')
xdotool mousemove --window "$main" 90 116 click 1 # into the formula field
for formula in 1234,56 '89,90*3' '(120+80)/4' '19,99*12' 2^10 '1500-250,75'; do
  xdotool type --delay 30 "$formula"
  xdotool key Return
done
sleep 0.5
grab "$main" main_window

xdotool mousemove --window "$main" 260 128 click 1 # the second formula on the tape
grab "$(window_named '^ Korrektur')" correction_window

click_toolbar_button 9 # Info
info=$(xdotool search --sync --onlyvisible --name '^$' | tail -1)
sleep 8 # the credits scroll up into view
grab "$info" info_box

click_toolbar_button 7 # Hilfe
grab "$(window_named 'Hilfe$')" help_window
