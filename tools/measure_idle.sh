#!/usr/bin/env bash
# Measures the desktop program as a user runs it, on a private Xvfb display:
#   - start-up: time from launch until the splash window is mapped, resident memory then;
#   - the info box: opened with a click on "Info" once the splash has handed over, then CPU
#     time (utime+stime of /proc/PID/stat) and voluntary context switches (wake-ups, summed
#     over the program's threads from /proc/PID/task/*/status, and of the main thread alone
#     from /proc/PID/status) over the sample period, and the X server's CPU time meanwhile.
#
# Usage: tools/measure_idle.sh [program] [seconds]   (defaults: build/zifferon, 10)
# Needs Xvfb and xdotool (tools/setup.sh installs both).
set -euo pipefail
cd "$(dirname "$0")/.."

program=$(realpath "${1:-build/zifferon}")
seconds=${2:-10}
splash_seconds=20          # the splash window's one-shot timer
settle_seconds=2           # after opening the info box, before sampling
# Centre of the ninth toolbar button ("Info"), in the main window: 8.5 buttons of 54 pixels
# plus the toolbar's handle and margin; the box geometry is what the info box must have.
info_button=(469 30)
info_box_geometry="673x607"

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: tools/setup.sh installs it." >&2; exit 1; }
done
[ -x "$program" ] || { echo "Program not found: $program" >&2; exit 1; }

ticks_per_second=$(getconf CLK_TCK)
work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# utime + stime of a process (all threads), in clock ticks.
cpu_ticks() {
  local fields
  fields=$(sed 's/.*) //' "/proc/$1/stat")
  awk '{ print $12 + $13 }' <<<"$fields"
}

# Run time of all threads of a process from the scheduler's statistics, in microseconds: the
# same CPU time as utime+stime, to a finer grain than clock ticks.
run_time_us() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%d", sum / 1000 }'
}

# Voluntary context switches of all threads of a process.
wake_ups() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^voluntary_ctxt_switches/ { sum += $2 } END { print sum }'
}

# Voluntary context switches of the main (user-interface) thread: /proc/PID/status.
main_wake_ups() {
  awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/status"
}

resident_kib() {
  awk '/^VmRSS/ { print $2 }' "/proc/$1/status"
}

now_ms() {
  date +%s%3N
}

# Waits until a visible window of the program matches; prints its id.
wait_for_window() {
  local deadline=$(($(now_ms) + $2 * 1000)) id
  while [ "$(now_ms)" -lt "$deadline" ]; do
    id=$(xdotool search --all --onlyvisible --pid "$program_pid" $1 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.005
  done
  return 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
export XDG_RUNTIME_DIR="$work"

launched=$(now_ms)
"$program" >/dev/null 2>&1 &
program_pid=$!
wait_for_window "" 10 >/dev/null || { echo "No window after 10 s." >&2; exit 1; }
startup_ms=$(($(now_ms) - launched))
startup_rss=$(resident_kib "$program_pid")

main_window=$(wait_for_window "--name Morvantis.Software" $((splash_seconds + 10))) ||
  { echo "The main window did not appear." >&2; exit 1; }
sleep 0.5
xdotool mousemove --window "$main_window" "${info_button[@]}" click 1
info_box=
for _ in $(seq 100); do
  for id in $(xdotool search --all --onlyvisible --pid "$program_pid" "" 2>/dev/null); do
    xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: $info_box_geometry" && info_box=$id
  done
  [ -n "$info_box" ] && break
  sleep 0.05
done
[ -n "$info_box" ] || { echo "The info box did not open." >&2; exit 1; }
xdotool mousemove 1270 1010 # the pointer off every window, so that no tooltip opens
sleep "$settle_seconds"

cpu_before=$(cpu_ticks "$program_pid")
x_before=$(cpu_ticks "$xvfb_pid")
wake_before=$(wake_ups "$program_pid")
main_before=$(main_wake_ups "$program_pid")
run_before=$(run_time_us "$program_pid")
sleep "$seconds"
cpu_after=$(cpu_ticks "$program_pid")
x_after=$(cpu_ticks "$xvfb_pid")
wake_after=$(wake_ups "$program_pid")
main_after=$(main_wake_ups "$program_pid")
run_after=$(run_time_us "$program_pid")
info_rss=$(resident_kib "$program_pid")

awk -v program="$program" -v seconds="$seconds" -v hz="$ticks_per_second" \
  -v startup="$startup_ms" -v startup_rss="$startup_rss" -v info_rss="$info_rss" \
  -v cpu=$((cpu_after - cpu_before)) -v xcpu=$((x_after - x_before)) \
  -v wakes=$((wake_after - wake_before)) -v main_wakes=$((main_after - main_before)) -v run=$((run_after - run_before)) 'BEGIN {
  printf "program:                      %s\n", program
  printf "start-up to splash window:    %d ms\n", startup
  printf "resident memory at start-up:  %.1f MiB\n", startup_rss / 1024
  printf "info box open, over %d s:\n", seconds
  printf "  CPU of the program:         %.2f %% of a core\n", 100 * cpu / hz / seconds
  printf "    (scheduler run time:      %.2f %% of a core)\n", run / 1e4 / seconds
  printf "  wake-ups of the program:    %.1f per second\n", wakes / seconds
  printf "    (of its main thread:      %.1f per second)\n", main_wakes / seconds
  printf "  CPU of the X server:        %.2f %% of a core\n", 100 * xcpu / hz / seconds
  printf "  resident memory:            %.1f MiB\n", info_rss / 1024
}'
