#!/usr/bin/env bash
# Writes the inputs of the clip maker's input tests into DIR with ffmpeg: two
# 66x38 pictures of testsrc2 as raw frames of every layout read and as YUV4MPEG2
# streams of every colour tag (30000/1001, top field first), and WAV files.
# Usage: make-inputs.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
size=66x38
raw=(gbrp gbrap yuv444p yuv422p yuv420p yuva444p gray yuv422p10le gbrp10le gbrap10le gbrp12le gbrap12le
     gbrp14le gray10le yuv444p10le yuv420p10le yuvj444p yuvj422p yuvj420p bgr0 0rgb bgra argb x2rgb10le
     yuyv422 uyvy422 gray14le)
y4m=(yuv420p yuv422p yuv444p yuva444p gray yuv420p10le yuv422p10le yuv444p10le gray10le)
outputs=()
for f in "${raw[@]}"; do outputs+=(-frames:v 2 -pix_fmt "$f" -f rawvideo "$f.raw"); done
for f in "${y4m[@]}"; do outputs+=(-frames:v 2 -vf setfield=tff -pix_fmt "$f" -strict -1 -f yuv4mpegpipe "$f.y4m"); done
ffmpeg -v error -y -f lavfi -i "testsrc2=s=$size:r=30000/1001:d=1" "${outputs[@]}"

# ffmpeg has no gbrap14le: the planes of gbrp14le with a gray14le alpha plane.
plane=$((66 * 38 * 2))
for f in 0 1; do
  dd if=gbrp14le.raw bs=$plane skip=$((3 * f)) count=3 status=none
  dd if=gray14le.raw bs=$plane skip=$f count=1 status=none
done > gbrap14le.raw

# Audio: 0.2 s (the video is 2 / 29.97 s), one file that ends inside the second
# video frame, and one that ends inside the first.
tone=(-v error -y -f lavfi -i "sine=f=440:d=0.2:sample_rate=48000")
ffmpeg "${tone[@]}" -af "aformat=channel_layouts=stereo" -c:a pcm_s16le stereo16.wav
ffmpeg "${tone[@]}" -af "aformat=channel_layouts=5.1(side)" -c:a pcm_s24le side51-24.wav
ffmpeg "${tone[@]}" -af "aformat=channel_layouts=7.1,aresample=44100" -c:a pcm_f32le float71.wav
ffmpeg "${tone[@]}" -c:a pcm_u8 mono8.wav
ffmpeg -v error -y -f lavfi -i "sine=d=0.05:sample_rate=48000" -c:a pcm_s32le short32.wav
ffmpeg -v error -y -f lavfi -i "sine=d=0.02:sample_rate=48000" -c:a pcm_s16le tooshort.wav
