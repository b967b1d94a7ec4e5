#!/usr/bin/env bash
# Playback through the asynchronous importer against imGetSourceVideo, in the same
# process (norvik-import play --compare), as a host drives it: a 1920x1080 8-bit
# 4:2:2 clip of real-looking footage (48 frames at 25 fps), the host working 40 ms
# after each frame (a frame's time), 96 frames played. Cases, three runs each:
#   jumps, 4 ahead / 8 ahead   the playhead jumps every 6 frames (--seek-every 6)
#   steady                     no jumps, 4 ahead: the wait of smooth playback
#   render threads             no jumps, imGetSourceVideo from 2 host threads
# and, once, the most threads the process had with 200 frames announced ahead (a
# 640x360 clip of 250 frames, --async --ahead 200).
#
# Footage: ffmpeg's testsrc2 averaged with smptehdbars, with temporal noise as a
# camera adds (the recipe of bench/codec-decode.sh), piped into norvik-mkclip.
#
# Usage: bench/async-playback.sh [BUILD_DIR] [RESULT_FILE]
#   BUILD_DIR    a Linux build with norvik-import and norvik-mkclip (default build/linux)
#   RESULT_FILE  markdown written (default bench/results/async_playback.md)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
result=${2:-$root/bench/results/async_playback.md}
bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

footage() {  # frames size output
  ffmpeg -v error -y -f lavfi -i "testsrc2=s=$2:r=25" -f lavfi -i "smptehdbars=s=$2:r=25" \
    -filter_complex "[0][1]blend=all_mode=average,noise=alls=10:allf=t+u:all_seed=7,format=yuv422p" \
    -frames:v "$1" -f rawvideo - | "$bin/norvik-mkclip" -i - --input-format yuv422p -s "$2" -r 25 "$3" >/dev/null
}
footage 48 1920x1080 "$work/footage.avi"
footage 250 640x360 "$work/long.avi"

play="play $work/footage.avi --format yuy2 --work 40 --frames 96"
cases=("jumps4|$play --compare --seek-every 6 --ahead 4"
       "jumps8|$play --compare --seek-every 6 --ahead 8"
       "steady|$play --compare --ahead 4"
       "threads|$play --threads 2")
load_before=$(cut -d' ' -f1 /proc/loadavg)
for rep in 1 2 3; do
  for c in "${cases[@]}"; do
    "$bin/norvik-import" ${c#*|} > "$work/${c%%|*}-$rep.txt"
  done
done
"$bin/norvik-import" play "$work/long.avi" --format yuy2 --async --ahead 200 --frames 250 > "$work/ahead200.txt"
load_after=$(cut -d' ' -f1 /proc/loadavg)

row() {  # file, path prefix -> "fps|median|p99|max|cpu|threads"
  awk -v p="$2" 'index($0, p) == 1 { n = split($0, f, / +/)
    print f[n-10] "|" f[n-9] "|" f[n-7] "|" f[n-5] "|" f[n-3] "|" f[n] }' "$1"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
{
  echo "# Playback through the asynchronous importer"
  echo
  echo "Recorded $(date -u '+%Y-%m-%d %H:%M') UTC on $(uname -m), $(nproc) cores, a shared machine (load"
  echo "average $load_before at the start, $load_after at the end). Both paths play the same clip in one process, one after the other, so the figures"
  echo "of one run are comparable; across runs the load changes. The codec decodes every frame on every"
  echo "core in both paths (its default); the asynchronous importer decodes on a pool of two workers"
  echo "(one reads while the other decodes), takes announced frames in order but at most one ahead of"
  echo "the host's collections, puts a frame the host waits for first, and drops at a flush the frames"
  echo "it has not begun."
  echo
  echo "A 1920x1080 8-bit 4:2:2 clip of footage with camera noise (type 104, 25 fps, 48 frames) into"
  echo "yuy2, 96 frames played (looping), the host working 40 ms after each frame. \`jumps\`: the"
  echo "playhead jumps to a random frame every 6 frames, which flushes what is announced. The wait is"
  echo "the time the host spends in its request (announcements, flush and collection); CPU is the"
  echo "whole process's per frame; threads is the most the process had (sampled after each frame)."
  echo
  echo "| case | run | sync wait median / p99 (ms) | sync CPU/frame | async wait median / p99 (ms) | async CPU/frame | p99 async/sync | CPU async/sync | threads sync / async |"
  echo "|---|---|---|---|---|---|---|---|---|"
  for c in "${cases[@]:0:3}"; do
    name=${c%%|*}
    for rep in 1 2 3; do
      f="$work/$name-$rep.txt"
      IFS='|' read -r sf sm sp sx sc st <<<"$(row "$f" imGetSourceVideo)"
      IFS='|' read -r af am ap ax ac at <<<"$(row "$f" async)"
      echo "| $name | $rep | $sm / $sp | $sc | $am / $ap | $ac | $(ratio "$ap" "$sp") | $(ratio "$ac" "$sc") | $st / $at |"
    done
  done
  echo
  echo "imGetSourceVideo from two render threads at once on one session (\`--threads 2\`, no jumps):"
  echo
  echo "| run | fps | wait median / p99 (ms) | CPU/frame (ms) | threads |"
  echo "|---|---|---|---|---|"
  for rep in 1 2 3; do
    IFS='|' read -r tf tm tp tx tc tt <<<"$(row "$work/threads-$rep.txt" imGetSourceVideo)"
    echo "| $rep | $tf | $tm / $tp | $tc | $tt |"
  done
  echo
  IFS='|' read -r hf hm hp hx hc ht <<<"$(row "$work/ahead200.txt" async)"
  echo "With 200 frames announced ahead (640x360, 250 frames): at most **$ht threads** in the process"
  echo "($(nproc) cores)."
  echo
  echo "Output of the first run of each case:"
  echo
  echo '```'
  for c in "${cases[@]}"; do cat "$work/${c%%|*}-1.txt"; done
  cat "$work/ahead200.txt"
  echo '```'
  echo
  echo "Commands:"
  echo
  echo '```'
  echo "bench/async-playback.sh build/linux     # this script; it runs:"
  echo "ffmpeg ... | norvik-mkclip footage.avi -i - --input-format yuv422p -s 1920x1080 -r 25     # 48 frames"
  echo "ffmpeg ... | norvik-mkclip long.avi -i - --input-format yuv422p -s 640x360 -r 25     # 250 frames"
  for c in "${cases[@]}"; do
    echo "norvik-import ${c#*|}     # three times" | sed "s|$work/||g"
  done
  echo "norvik-import play long.avi --format yuy2 --async --ahead 200 --frames 250"
  echo '```'
} > "$result"
cat "$result"
