#!/usr/bin/env bash
# norvik-repair on a large recording (2,000 frames of 1280 x 720 with stereo audio,
# about 1 GiB) against cp of the same file, in one run: a whole recording, and the
# same recording cut at 60 % (no index, its last chunk cut). Without --verify.
# Prints a Markdown report (copy it to bench/results/repair.md).
#
# Usage: bench/repair.sh [BUILD_DIR] [FRAMES]   (default: build/linux, 2000; needs
#        norvik-repair and repair_bench_write built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
frames=${2:-2000}
runs=3
tmp=$(mktemp -d "${TMPDIR:-/tmp}/repair-bench.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

"$build/bin/repair_bench_write" "$tmp/rec.avi" "$frames"
size=$(stat -c %s "$tmp/rec.avi")
head -c $((size * 60 / 100)) "$tmp/rec.avi" > "$tmp/cut.avi"

# measure NAME COMMAND...: appends the wall seconds of one run to $tmp/NAME.
measure() {
  local name=$1; shift
  /usr/bin/time -f "%e" -o "$tmp/time" "$@" > "$tmp/$name.out" 2>&1
  cat "$tmp/time" >> "$tmp/$name"
}
for input in rec cut; do
  for _ in $(seq $runs); do
    rm -f "$tmp/copy.avi" "$tmp/out.avi"
    sync
    measure "cp-$input" cp "$tmp/$input.avi" "$tmp/copy.avi"
    rm -f "$tmp/copy.avi"
    sync
    measure "repair-$input" "$build/bin/norvik-repair" "$tmp/$input.avi" "$tmp/out.avi"
  done
done
best() { sort -n "$tmp/$1" | head -1; }

echo "## norvik-repair against cp: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -r)"
echo
echo "Recording: $frames frames, $size bytes; cut copy: $((size * 60 / 100)) bytes. Best of $runs runs each."
echo
echo "| input | cp (s) | norvik-repair (s) | ratio |"
echo "|---|---|---|---|"
for input in rec cut; do
  c=$(best "cp-$input"); r=$(best "repair-$input")
  echo "| $input | $c | $r | $(awk -v r="$r" -v c="$c" 'BEGIN { printf "%.2f", (c > 0 ? r / c : 0) }') |"
done
echo
echo "Summary of the last repair of the cut recording:"
echo
echo '```'
cat "$tmp/repair-cut.out"
echo '```'
