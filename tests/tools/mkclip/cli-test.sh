#!/usr/bin/env bash
# norvik-mkclip as people run it: ffmpeg piping YUV4MPEG2 into it with an audio
# file beside, into norvik-import; and refusals that say what would match and
# leave no file behind.
# Usage: cli-test.sh BIN_DIR INPUTS_DIR
set -euo pipefail
bin=$1
inputs=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ffmpeg offers 10 pictures and gets a broken pipe after the 6 taken.
{ ffmpeg -v quiet -f lavfi -i testsrc2=s=320x240:r=50 -frames:v 10 -pix_fmt yuv420p10le -strict -1 \
  -f yuv4mpegpipe - || true; } | "$bin/norvik-mkclip" -i - -n 6 --audio-file "$inputs/stereo16.wav" "$work/clip.avi"
"$bin/norvik-import" info "$work/clip.avi" > "$work/info.txt"
for want in "320 x 240" "rate: 50/1" "= 6 frames" "10-bit YUV 4:2:0" "2 channels, 48000 Hz" "5760 sample frames"; do
  grep -q "$want" "$work/info.txt" || { echo "info lacks '$want':"; cat "$work/info.txt"; exit 1; }
done

refused() {  # expected-message args...
  local want=$1
  shift
  if "$bin/norvik-mkclip" "$@" "$work/refused.avi" 2> "$work/err.txt"; then echo "accepted: $*"; exit 1; fi
  grep -q -- "$want" "$work/err.txt" || { echo "for $*:"; cat "$work/err.txt"; exit 1; }
  [ ! -e "$work/refused.avi" ] || { echo "a clip was left behind: $*"; exit 1; }
}
refused "yuv420p input needs -t 105" -i "$inputs/yuv420p.y4m" -t 104
refused "raw frames need their size" -i "$inputs/gray.raw" --input-format gray
refused "ends inside picture 0" -i "$inputs/gray.raw" --input-format gray -s 320x240
echo "cli test passed"
