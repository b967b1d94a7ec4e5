#!/usr/bin/env bash
# Playback through the asynchronous importer against imGetSourceVideo, in the same
# process: norvik-import play --compare on a 1920x1080 8-bit 4:2:2 clip (25 fps)
# with 4 frames announced ahead. Three cases: a host that does nothing but
# collect (throughput), a host that spends a frame's time (40 ms) on its own work
# after each frame (the wait it sees), and the same with a jump of the playhead
# every 10 frames. Three runs per case.
#
# Usage: bench/async-playback.sh [BUILD_DIR] [RESULT_FILE]
#   BUILD_DIR    a Linux build with norvik-import and norvik-mkclip (default build/linux)
#   RESULT_FILE  markdown written (default bench/results/async_playback.md)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
result=${2:-$root/bench/results/async_playback.md}
bin=$build/bin
frames=75
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/norvik-mkclip" "$work/yuv8.avi" -t 104 -s 1920x1080 -r 25 -n 25 --color-space 1 >/dev/null
cases=("idle|--frames $frames" "work|--frames $frames --work 40" "jumps|--frames $frames --work 40 --seek-every 10")
load_before=$(cut -d' ' -f1 /proc/loadavg)
for rep in 1 2 3; do
  for c in "${cases[@]}"; do
    "$bin/norvik-import" play "$work/yuv8.avi" --format yuy2 --compare --ahead 4 ${c#*|} > "$work/${c%%|*}-$rep.txt"
  done
done
load_after=$(cut -d' ' -f1 /proc/loadavg)

row() {  # file, path prefix -> "fps | median | p99 | max"
  awk -v p="$2" 'index($0, p) == 1 { n = split($0, f, / +/); print f[n-9] " | " f[n-8] " | " f[n-6] " | " f[n-4] }' "$1"
}
{
  echo "# Playback through the asynchronous importer"
  echo
  echo "Recorded $(date -u '+%Y-%m-%d %H:%M') UTC on $(uname -m), $(nproc) cores, a shared machine: other"
  echo "helpers' builds, tests and fuzzing ran at the same time (load average $load_before at the start,"
  echo "$load_after at the end). Both paths play the same clip in one process, one after the other, so"
  echo "the figures of one run are comparable; across runs the load changes. The codec decodes on"
  echo "every core in both paths (its default)."
  echo
  echo "A 1920x1080 8-bit 4:2:2 clip (type 104, 25 fps, 25 frames, looped to $frames frames) into yuy2."
  echo "\`imGetSourceVideo\`: one synchronous request per frame. \`async, 4 ahead\`: before collecting"
  echo "frame i the host has frames i..i+4 announced (aiInitiateAsyncRead), then collects i (aiGetFrame);"
  echo "a jump flushes (aiFlush) and announces again. The wait is the time the host spends in that"
  echo "request (announcements, flush and collection); fps counts the host's own work too. \`work\`: the"
  echo "host keeps its thread busy for 40 ms (a frame's time at 25 fps) after each frame, as it would"
  echo "compositing and showing it."
  echo
  echo "| case | run | sync fps | sync wait median / p99 / max (ms) | async fps | async wait median / p99 / max (ms) |"
  echo "|---|---|---|---|---|---|"
  for c in "${cases[@]}"; do
    name=${c%%|*}
    for rep in 1 2 3; do
      f="$work/$name-$rep.txt"
      IFS='|' read -r sf sm sp sx <<<"$(row "$f" imGetSourceVideo)"
      IFS='|' read -r af am ap ax <<<"$(row "$f" async)"
      echo "| $name | $rep | $sf | $sm / $sp / $sx | $af | $am / $ap / $ax |" | tr -s ' '
    done
  done
  echo
  echo "Output of the first run of each case:"
  echo
  echo '```'
  for c in "${cases[@]}"; do cat "$work/${c%%|*}-1.txt"; done
  echo '```'
  echo
  echo "Commands:"
  echo
  echo '```'
  echo "bench/async-playback.sh build/linux     # this script; it runs:"
  echo "norvik-mkclip yuv8.avi -t 104 -s 1920x1080 -r 25 -n 25 --color-space 1"
  for c in "${cases[@]}"; do
    echo "norvik-import play yuv8.avi --format yuy2 --compare --ahead 4 ${c#*|}     # three times"
  done
  echo '```'
} > "$result"
cat "$result"
