#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing: fuzzing skipped."
  exit 0
fi
seconds=${ZIFFERON_FUZZ_SECONDS:-30}
dir=build-fuzz
if [ ! -f "$dir/build.ninja" ]; then
  CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZIFFERON_FUZZ=ON -DZIFFERON_BENCH=OFF
fi
cmake --build "$dir" --parallel "$(nproc)" --target zifferon-fuzz-targets
# Input lengths per target: a tape file may hold lines far wider than the list, tried from the
# start rather than grown into.
length_options() {
  case $1 in
  fuzz_open_tape) echo -max_len=131072 -len_control=0 ;;
  fuzz_help_file | fuzz_tape_journal) echo -max_len=65536 ;;
  *) echo -max_len=4096 ;;
  esac
}
for target in "$dir"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  echo "Fuzzing $name for ${seconds}s"
  read -ra lengths <<<"$(length_options "$name")"
  "$target" -max_total_time="$seconds" "${lengths[@]}" -timeout=5 -rss_limit_mb=2048 \
    -artifact_prefix="$dir/" \
    "$corpus" fuzz/seeds/"${name#fuzz_}" 2>"$dir/$name.log" || { tail -50 "$dir/$name.log"; exit 1; }
  tail -1 "$dir/$name.log"
done
