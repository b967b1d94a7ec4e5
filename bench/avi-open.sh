#!/usr/bin/env bash
# Opening and indexing a 1,000,000-video-chunk OpenDML file (plus 250,000 audio
# chunks), against `ffprobe -count_packets` on the same file, in one run.
# Prints a Markdown report (copy it to bench/results/avi_open.md).
#
# Usage: bench/avi-open.sh [BUILD_DIR]     (default: build/linux; needs avi_open_bench built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
bin=$build/bin/avi_open_bench
runs=3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
file=$tmp/bench.avi

"$bin" write "$file"

# measure NAME COMMAND...: appends "wall_seconds peak_kb" for one run to $tmp/NAME.
measure() {
  local name=$1; shift
  /usr/bin/time -f "%e %M" -o "$tmp/time" "$@" > "$tmp/$name.out" 2>&1
  cat "$tmp/time" >> "$tmp/$name"
}
for _ in $(seq $runs); do
  measure ours "$bin" once "$file"
  measure ffprobe ffprobe -v error -count_packets -show_entries stream=nb_read_packets "$file"
done
best() { sort -n "$tmp/$1" | head -1; }
read -r our_wall our_kb <<< "$(best ours)"
read -r ff_wall ff_kb <<< "$(best ffprobe)"
line=$(grep '^parse=' "$tmp/ours.out")
per_chunk=$(sed -n 's/.*bytes_per_chunk=\([0-9.]*\).*/\1/p' <<< "$line")
inner_ms=$(sed -n 's/.*wall_ms=\([0-9.]*\).*/\1/p' <<< "$line")

echo "## Open and index: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -r)"
echo
echo "File: $(stat -c %s "$file") bytes (apparent), $(du -k "$file" | cut -f1) KiB on disk."
echo
echo '```'
cat "$tmp/ours.out"
echo "ffprobe:"
cat "$tmp/ffprobe.out"
echo '```'
echo
echo "| program | wall (best of $runs) | peak RSS |"
echo "|---|---|---|"
echo "| avi_open_bench once (open + parse + index) | ${our_wall} s (last run: ${inner_ms} ms from open to index, in-process) | ${our_kb} KiB |"
echo "| ffprobe -count_packets | ${ff_wall} s | ${ff_kb} KiB |"
echo
echo "Ratio ffprobe / ours (wall): $(awk -v a="$ff_wall" -v b="$our_wall" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }')"
echo
echo "Memory of the index: ${per_chunk} bytes per indexed chunk (resident growth over the parse / chunks)."
echo
echo "Google Benchmark loop (file in the page cache as far as it fits):"
echo '```'
AVI_BENCH_FILE=$file "$bin" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>&1 | tail -n 5
echo '```'
