#!/usr/bin/env bash
# Audio through the loaded importer module (consecutive imImportAudio7 requests,
# position -1, into one float buffer per channel) for 24-bit 8-channel and 16-bit
# stereo PCM at 48 kHz, in blocks of one second and of 4096 sample frames, against
# memcpy of the same number of bytes (the float output of one block), in one run.
# Prints a Markdown report (copy it to bench/results/audio_import.md).
#
# Usage: bench/audio-import.sh [BUILD_DIR]   (default: build/linux; needs audio_import_bench built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$build/bin/audio_import_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv > "$tmp/out.csv" 2> "$tmp/err.txt"

echo "## Run: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -r), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| stream | block (frames) | import, float output | memcpy, same bytes | import / memcpy |"
echo "|---|---|---|---|---|"
# Median rows: name,iterations,real_time,cpu_time,time_unit,bytes_per_second,items_per_second,label,...
# (Google Benchmark's bytes_per_second is per second of the process's CPU time.)
awk -F, '
  /_median"?,/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    split(name, part, "/")
    key = part[2] "/" part[3]
    label = $8; gsub(/"/, "", label); sub(/ output bytes/, "", label)
    if (part[1] == "BM_ImportAudio") { imp[key] = $6; lab[key] = label; order[++n] = key }
    else mem[key] = $6
  }
  END {
    for (i = 1; i <= n; ++i) {
      k = order[i]; split(k, a, "/")
      printf "| %s | %s | %.2f GB/s | %.2f GB/s | %.2f |\n", lab[k], a[2], imp[k] / 1e9, mem[k] / 1e9, imp[k] / mem[k]
    }
  }' "$tmp/out.csv"
