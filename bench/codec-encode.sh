#!/usr/bin/env bash
# Encode speed of the Norvik codec library through norvik-mkclip, against ffmpeg's
# UT Video encoder on the same pictures, one thread and two.
#
# Usage: bench/codec-encode.sh [BUILD_DIR] [RESULT_FILE]
#   BUILD_DIR    a Linux build with norvik-mkclip and norvik_codec_bench (default build/linux)
#   RESULT_FILE  markdown written (default bench/results/codec_encode.md)
#
# Pictures: the footage of bench/codec-decode.sh (testsrc2 averaged with
# smptehdbars, temporal noise of strength 12, 24 frames of 1920x1080) and the
# synthetic pictures of norvik_codec_bench --dump-raw, as raw frames read from a
# file by both encoders, each writing an AVI file. CPU time is the process's user
# time (/usr/bin/time for norvik-mkclip, ffmpeg -benchmark for ffmpeg).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
result=${2:-$root/bench/results/codec_encode.md}
frames=24
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bin/norvik_codec_bench" --dump-raw "$work" 8
for fmt in yuv422p gbrap yuv420p yuv422p10le; do
  ffmpeg -v error -y -f lavfi -i testsrc2=s=1920x1080:r=25 -f lavfi -i smptehdbars=s=1920x1080:r=25 \
    -filter_complex "[0][1]blend=all_mode=average,noise=alls=12:allf=t+u:all_seed=7,format=$fmt" \
    -frames:v "$frames" -f rawvideo "$work/f-$fmt.raw"
done
ffmpeg -v error -y -f rawvideo -pix_fmt yuv422p10le -s 1920x1080 -i "$work/f-yuv422p10le.raw" \
  -f rawvideo -pix_fmt yuv422p "$work/f-yuv422p-10.raw"

# Each input played several times over (96 frames), so that the processes run long
# enough for their CPU time (counted in hundredths of a second) to be precise.
for raw in yuv422p gbrap yuv420p; do
  for _ in 1 2 3 4 5 6 7 8 9 10 11; do cat "$work/$raw.raw"; done >> "$work/$raw.raw.more"
  cat "$work/$raw.raw.more" >> "$work/$raw.raw" && rm "$work/$raw.raw.more"
done
for raw in f-yuv422p f-gbrap f-yuv420p f-yuv422p10le f-yuv422p-10; do
  for _ in 1 2 3; do cat "$work/$raw.raw"; done >> "$work/$raw.raw.more"
  cat "$work/$raw.raw.more" >> "$work/$raw.raw" && rm "$work/$raw.raw.more"
done

# case: Norvik input (raw file, ffmpeg pixel format) and UT Video input.
cases="yuv422p:yuv422p:yuv422p gbrap:gbrap:gbrap yuv420p:yuv420p:yuv420p"
cases="$cases f-yuv422p:yuv422p:f-yuv422p f-gbrap:gbrap:f-gbrap f-yuv420p:yuv420p:f-yuv420p"
cases="$cases f-yuv422p10le:yuv422p10le:f-yuv422p-10"
: > "$work/times.txt"
for rep in 1 2 3; do
  for c in $cases; do
    IFS=: read -r nraw npix uraw <<< "$c"
    upix=${uraw#f-}; upix=${upix%-10}
    for t in 1 2; do
      n=$( { /usr/bin/time -f "%U %e" "$build/bin/norvik-mkclip" -j "$t" -i "$work/$nraw.raw" --input-format "$npix" \
             -s 1920x1080 --color-space 2 "$work/n-$nraw.avi" > /dev/null; } 2>&1 | tail -1)
      u=$(ffmpeg -hide_banner -nostats -benchmark -y -f rawvideo -pix_fmt "$upix" -s 1920x1080 -r 25 -i "$work/$uraw.raw" \
            -threads "$t" -c:v utvideo -pred median "$work/u-$uraw.avi" 2>&1 |
          sed -n 's/^bench: utime=\([0-9.]*\)s stime=[0-9.]*s rtime=\([0-9.]*\)s$/\1 \2/p')
      echo "$nraw $t $n $u $(stat -c %s "$work/$nraw.raw") $(stat -c %s "$work/n-$nraw.avi") $(stat -c %s "$work/u-$uraw.avi")" \
        >> "$work/times.txt"
    done
  done
done
"$build/bin/norvik_codec_bench" --benchmark_filter=BM_Memcpy --benchmark_format=json > "$work/memcpy.json"

python3 - "$work" "$result" "$(nproc)" <<'PY'
import json, sys, datetime, platform, subprocess
work, result, cores = sys.argv[1:4]
rows = {}
for line in open(f"{work}/times.txt"):
    name, t, nu, nr, uu, ur, raw, nsize, usize = line.split()
    rows.setdefault((name, int(t)), []).append((float(nu), float(nr), float(uu), float(ur), int(raw), int(nsize), int(usize)))
mem = {b["name"]: 1e9 / b["real_time"] for b in json.load(open(f"{work}/memcpy.json"))["benchmarks"]}
labels = {"yuv422p": "8-bit 4:2:2 (104)", "gbrap": "8-bit RGBA (102)", "yuv420p": "8-bit 4:2:0 (105)",
          "yuv422p10le": "10-bit 4:2:2 (108)"}
memcase = {"yuv422p": 0, "gbrap": 1, "yuv420p": 2, "yuv422p10le": 3}
out = ["# Codec encode speed\n",
       f"Recorded {datetime.datetime.utcnow():%Y-%m-%d %H:%M} UTC on {platform.machine()}, {cores} cores, a shared "
       "machine: each figure is the best of three runs; compare the ratios within this run.\n",
       "Norvik: `norvik-mkclip -j 1|2 -i FILE.raw --input-format FMT -s 1920x1080` (reads raw frames, encodes with "
       "the encoder's automatic choices, writes the AVI clip). UT Video: `ffmpeg -f rawvideo ... -i FILE.raw "
       "-threads 1|2 -c:v utvideo -pred median out.avi`. Footage: 24 frames (testsrc2 averaged with smptehdbars, "
       "temporal noise of strength 12) played 4 times; synthetic: the eight pictures of norvik_codec_bench played "
       "12 times (96 frames each). The 10-bit case is "
       "encoded by UT Video from the same pictures at 8 bits (its encoder takes no 10-bit input). fps from user "
       "CPU time and from wall time of the whole process.\n",
       "| case | Norvik 1 thread, fps (CPU) | Norvik 1 thread, fps (wall) | Norvik 2 threads, fps (wall) | "
       "UT Video 1 thread, fps (CPU) | UT Video 1 thread, fps (wall) | UT Video 2 threads, fps (wall) | "
       "1-thread speed-up vs UT Video (CPU) | memcpy of a frame of the case's output type, fps | Norvik file, MB | UT Video file, MB |",
       "|---|---|---|---|---|---|---|---|---|---|---|"]
for name in ["yuv422p", "gbrap", "yuv420p", "f-yuv422p", "f-gbrap", "f-yuv420p", "f-yuv422p10le"]:
    fmt = name.removeprefix("f-")
    one, two = rows[(name, 1)], rows[(name, 2)]
    frames = 96  # 24 footage frames 4 times, 8 synthetic pictures 12 times
    n1c = frames / min(r[0] for r in one); n1w = frames / min(r[1] for r in one)
    n2w = frames / min(r[1] for r in two)
    u1c = frames / min(r[2] for r in one); u1w = frames / min(r[3] for r in one)
    u2w = frames / min(r[3] for r in two)
    m = mem[f"BM_Memcpy/case:{memcase[fmt]}/real_time"]
    label = ("footage: " if name.startswith("f-") else "synthetic: ") + labels[fmt]
    out.append(f"| {label} | {n1c:.1f} | {n1w:.1f} | {n2w:.1f} | {u1c:.1f} | {u1w:.1f} | {u2w:.1f} | "
               f"**{n1c / u1c:.2f}x** | {m:.0f} | {one[0][5] / 1e6:.1f} | {one[0][6] / 1e6:.1f} |")
load = open("/proc/loadavg").read().split()[0]
out.append(f"\nLoad average at the end of the run: {load} on {cores} cores.\n")
out.append("The encoder's choices (method from one pass over the three predictors' residual sums, Rice parameter "
           "from exact bit counts of four candidates) are the ones the former try-everything encoder made, so the "
           "files are byte for byte those it wrote: no size change.\n")
out.append("Command: `bench/codec-encode.sh build/linux`.\n")
ver = subprocess.run(["ffmpeg", "-version"], capture_output=True, text=True).stdout.splitlines()[0]
out.append(f"ffmpeg: `{ver}`.\n")
open(result, "w").write("\n".join(out))
print("\n".join(out))
PY
