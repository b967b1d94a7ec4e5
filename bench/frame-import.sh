#!/usr/bin/env bash
# The importer's overhead on video frames: norvik-import bench on 1920x1080 clips,
# 8-bit 4:2:2 into yuy2 and 10-bit 4:2:2 into v210 (both Rec.601, so the codec only
# unpacks), frames through imGetSourceVideo of the loaded module against the codec
# library alone decoding the same compressed frames into the same pixel format and
# row layout, alternating in one process. Three runs per case; each reports the
# best of its rounds.
#
# Usage: bench/frame-import.sh [BUILD_DIR] [RESULT_FILE]
#   BUILD_DIR    a Linux build with norvik-import and norvik-mkclip (default build/linux)
#   RESULT_FILE  markdown written (default bench/results/frame_import.md)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
result=${2:-$root/bench/results/frame_import.md}
bin=$build/bin
frames=60
rounds=7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/norvik-mkclip" "$work/yuv8.avi" -t 104 -s 1920x1080 -n 30 --color-space 1 >/dev/null
"$bin/norvik-mkclip" "$work/yuv10.avi" -t 108 -s 1920x1080 -n 30 --color-space 1 >/dev/null
load_before=$(cut -d' ' -f1 /proc/loadavg)
for rep in 1 2 3; do
  for c in "yuv8 yuy2" "yuv10 v210"; do
    set -- $c
    "$bin/norvik-import" bench "$work/$1.avi" --format "$2" --frames $frames --rounds $rounds > "$work/$1-$rep.txt"
  done
done
load_after=$(cut -d' ' -f1 /proc/loadavg)

{
  echo "# Video frame import overhead"
  echo
  echo "Recorded $(date -u '+%Y-%m-%d %H:%M') UTC on $(uname -m), $(nproc) cores, a shared machine (load"
  echo "average $load_before at the start, $load_after at the end). Both paths run in one process and alternate round by round, so load hits both;"
  echo "each run reports the best of its $rounds rounds of $frames frames. The codec decodes on every"
  echo "core in both paths (its default)."
  echo
  echo "What is compared: frames through \`imGetSourceVideo\` of the loaded module (frame time to index,"
  echo "the read of the compressed frame from the file, CreatePPix of a host frame with padded rows,"
  echo "GetPixels and GetRowBytes, the decode into it, the hand-over and the host's Dispose) against"
  echo "\`norvik_decompress\` alone on the same compressed frames, held in memory, into a buffer with the"
  echo "same row bytes and row order. The substitute host recycles disposed frame buffers, as a"
  echo "host's frame cache does."
  echo
  echo "| case | run | imGetSourceVideo fps (wall) | codec alone fps (wall) | overhead (wall) | overhead (CPU) |"
  echo "|---|---|---|---|---|---|"
  for c in "yuv8 8-bit 4:2:2 (104) into yuy2" "yuv10 10-bit 4:2:2 (108) into v210"; do
    name=${c%% *}; label=${c#* }
    for rep in 1 2 3; do
      f="$work/$name-$rep.txt"
      ours=$(sed -n 's/^imGetSourceVideo: *\([0-9.]*\) fps wall.*/\1/p' "$f")
      alone=$(sed -n 's/^codec alone: *\([0-9.]*\) fps wall.*/\1/p' "$f")
      wall=$(sed -n 's/^overhead: *\([-+0-9.]* %\) wall.*/\1/p' "$f")
      cpu=$(sed -n 's/^overhead: .* wall, \([-+0-9.]* %\) CPU/\1/p' "$f")
      echo "| $label | $rep | $ours | $alone | $wall | $cpu |"
    done
  done
  echo
  echo "Overhead is (time through the importer - time of the codec alone) / time of the codec alone;"
  echo "target: under 3 %. Output of the first run of each case:"
  echo
  echo '```'
  cat "$work/yuv8-1.txt" "$work/yuv10-1.txt"
  echo '```'
  echo
  echo "Commands:"
  echo
  echo '```'
  echo "bench/frame-import.sh build/linux     # this script; it runs:"
  echo "norvik-mkclip yuv8.avi -t 104 -s 1920x1080 -n 30 --color-space 1"
  echo "norvik-mkclip yuv10.avi -t 108 -s 1920x1080 -n 30 --color-space 1"
  echo "norvik-import bench yuv8.avi --format yuy2 --frames $frames --rounds $rounds     # three times"
  echo "norvik-import bench yuv10.avi --format v210 --frames $frames --rounds $rounds    # three times"
  echo '```'
} > "$result"
cat "$result"
