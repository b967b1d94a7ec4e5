#!/usr/bin/env bash
# Decode speed of the Norvik codec library on 1920x1080 synthetic pictures and on
# real-looking footage, against ffmpeg's UT Video decoder on the same pictures and
# memcpy of the output size.
#
# Usage: bench/codec-decode.sh [BUILD_DIR] [RESULT_FILE]
#   BUILD_DIR    a Linux build with norvik_codec_bench (default build/linux)
#   RESULT_FILE  markdown written (default bench/results/codec_decode.md)
#
# Pictures: norvik_codec_bench --dump-raw writes the benchmark's eight pictures as raw
# yuv422p (8-bit 4:2:2), gbrap (8-bit RGBA) and yuv420p (the 10-bit 4:2:0 pictures
# rounded to 8 bits: ffmpeg's UT Video encoder has no 10-bit 4:2:0). ffmpeg encodes
# them with -c:v utvideo -pred median and decodes them with -threads 1 and 2,
# looping the input; its user CPU time and wall time give frames per second.
#
# Footage: ffmpeg's testsrc2 (moving gradients, shapes, text) averaged with
# smptehdbars, with temporal noise as a camera adds, eight frames as raw yuv422p,
# gbrap, yuv420p10le (and yuv420p for UT Video), piped into norvik-mkclip for the
# Norvik clips (footage-104/102/123.avi) and encoded by ffmpeg for UT Video.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
result=${2:-$root/bench/results/codec_decode.md}
bench=$build/bin/norvik_codec_bench
frames=8
loops=11   # each decode run plays the 8 pictures 12 times
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bench" --dump-raw "$work" "$frames"
for fmt in yuv422p gbrap yuv420p10le yuv420p; do
  ffmpeg -v error -y -f lavfi -i testsrc2=s=1920x1080:r=25 -f lavfi -i smptehdbars=s=1920x1080:r=25 \
    -filter_complex "[0][1]blend=all_mode=average,noise=alls=10:allf=t+u:all_seed=7,format=$fmt" \
    -frames:v "$frames" -f rawvideo "$work/f-$fmt.raw"
done
for pair in yuv422p:104 gbrap:102 yuv420p10le:123; do
  "$build/bin/norvik-mkclip" -i - --input-format "${pair%%:*}" -s 1920x1080 "$work/footage-${pair##*:}.avi" \
    < "$work/f-${pair%%:*}.raw"
done
for fmt in yuv422p gbrap yuv420p f-yuv422p f-gbrap f-yuv420p; do
  ffmpeg -v error -y -f rawvideo -pix_fmt "${fmt#f-}" -s 1920x1080 -r 25 -i "$work/$fmt.raw" \
    -c:v utvideo -pred median "$work/$fmt.avi"
done

ffmpeg_run() {  # format threads -> "utime rtime"
  ffmpeg -hide_banner -nostats -benchmark -threads "$2" -stream_loop "$loops" -i "$work/$1.avi" -f null - 2>&1 |
    sed -n 's/^bench: utime=\([0-9.]*\)s stime=[0-9.]*s rtime=\([0-9.]*\)s$/\1 \2/p'
}

: > "$work/ffmpeg.txt"
for rep in 1 2 3; do
  for fmt in yuv422p gbrap yuv420p f-yuv422p f-gbrap f-yuv420p; do
    for t in 1 2; do
      echo "$fmt $t $(ffmpeg_run "$fmt" "$t")" >> "$work/ffmpeg.txt"
    done
  done
  NORVIK_BENCH_FOOTAGE=$work "$bench" --benchmark_format=json --benchmark_out="$work/norvik$rep.json" --benchmark_out_format=json \
    --benchmark_min_time=2 > /dev/null
done
for fmt in yuv422p gbrap yuv420p f-yuv422p f-gbrap f-yuv420p; do
  echo "$fmt $(stat -c %s "$work/$fmt.raw") $(stat -c %s "$work/$fmt.avi")" >> "$work/sizes.txt"
done

python3 - "$work" "$frames" "$loops" "$result" "$(nproc)" <<'PY'
import json, sys, statistics, datetime, platform, subprocess
work, frames, loops, result, cores = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]
decoded = frames * (loops + 1)
ff = {}
for line in open(f"{work}/ffmpeg.txt"):
    fmt, t, ut, rt = line.split()
    ff.setdefault((fmt, int(t)), []).append((float(ut), float(rt)))
sizes = {l.split()[0]: (int(l.split()[1]), int(l.split()[2])) for l in open(f"{work}/sizes.txt")}
runs = {}
for rep in (1, 2, 3):
    for b in json.load(open(f"{work}/norvik{rep}.json"))["benchmarks"]:
        runs.setdefault(b["name"], []).append(b)
def best(name, key):  # best of the three runs (least disturbed by other load)
    return min(r[key] for r in runs[name])
def norvik(case, threads):
    n = f"BM_Decode/case:{case}/threads:{threads}/min_time:1.000/process_time/real_time"
    return 1e9 / best(n, "cpu_time"), 1e9 / best(n, "real_time"), runs[n][0]["ratio"]
def ffm(fmt, t):
    ut = min(u for u, _ in ff[(fmt, t)]); rt = min(r for _, r in ff[(fmt, t)])
    return decoded / ut, decoded / rt
cases = [(0, "8-bit 4:2:2 (104) into YUYV (4)", "yuv422p"), (1, "8-bit RGBA (102) into BGRA (2)", "gbrap"),
         (2, "10-bit 4:2:0 (123) into v210 (11)", "yuv420p (8-bit)")]
cases += [(c + 3, "footage: " + label, "f-" + fmt) for c, label, fmt in cases]
out = []
out.append("# Codec decode speed\n")
out.append(f"Recorded {datetime.datetime.utcnow():%Y-%m-%d %H:%M} UTC on {platform.machine()}, {cores} cores "
           "(a shared machine: other builds ran at the same time, so each figure is the best of three runs and "
           "the comparison that holds is the ratio to UT Video measured in the same run).\n")
out.append("Pictures: 1920x1080, eight frames of each kind. Synthetic: natural-looking frames (gradients, texture, "
           "moving shapes, mild noise) from `clipmaker::syntheticFrame`. Footage: ffmpeg's testsrc2 averaged with "
           "smptehdbars, with temporal noise (`noise=alls=10:allf=t+u`), as raw frames piped into norvik-mkclip "
           "(`norvik-mkclip -i - --input-format FMT`). Norvik streams use the encoder's automatic choices "
           "and the default slice height (68 rows, 16 slices).\n")
out.append("| case | Norvik 1 thread, fps (CPU) | Norvik 1 thread, fps (wall) | Norvik 2 threads, fps (wall) | "
           "UT Video 1 thread, fps (CPU) | UT Video 1 thread, fps (wall) | UT Video 2 threads, fps (wall) | "
           "1-thread speed-up vs UT Video (CPU) | Norvik 2 threads, CPU per frame vs 1 thread | memcpy of the output, fps | "
           "Norvik ratio | UT Video ratio |")
out.append("|---|---|---|---|---|---|---|---|---|---|---|---|")
for case, label, fmt in cases:
    n1c, n1w, ratio = norvik(case, 1)
    n2c, n2w, _ = norvik(case, 2)
    u1c, u1w = ffm(fmt.split()[0], 1)
    _, u2w = ffm(fmt.split()[0], 2)
    mem = 1e9 / best(f"BM_Memcpy/case:{case % 3}/real_time", "real_time")
    raw, avi = sizes[fmt.split()[0]]
    out.append(f"| {label} vs UT Video {fmt.removeprefix('f-')} | {n1c:.1f} | {n1w:.1f} | {n2w:.1f} | {u1c:.1f} | {u1w:.1f} | "
               f"{u2w:.1f} | {n1c / u1c:.2f}x | {n1c / n2c:.2f} | {mem:.0f} | {ratio:.2f} | {raw / avi:.2f} |")
load = open("/proc/loadavg").read().split()[0]
out.append(f"\nLoad average at the end of the run: {load} on {cores} cores. With other work on the machine a "
           "second thread often finds no free core, so the two-thread figures are only as good as the machine "
           "was quiet; the one-thread CPU figures are the fairest comparison. "
           "The column 'CPU per frame vs 1 thread' is the process CPU time of a one-thread decode divided by that "
           "of a two-thread decode (both workers summed): near 1.00 means splitting the slices costs nothing, so "
           "two free cores give close to twice the one-thread rate.\n")
out.append("\nRatio: raw planar bytes (10-bit samples counted at 10 bits) / coded bytes; for UT Video raw bytes / "
           "AVI file size. The UT Video 4:2:0 stream is 8-bit, so it codes less than the 10-bit Norvik stream.\n")
out.append("Commands:\n")
out.append("```\nbench/codec-decode.sh build/linux        # this script; it runs:\n"
           "norvik_codec_bench --dump-raw DIR 8\n"
           "ffmpeg -f lavfi -i testsrc2=s=1920x1080:r=25 -f lavfi -i smptehdbars=s=1920x1080:r=25 -filter_complex "
           "'[0][1]blend=all_mode=average,noise=alls=10:allf=t+u:all_seed=7,format=FMT' -frames:v 8 -f rawvideo "
           "DIR/f-FMT.raw\n"
           "norvik-mkclip -i - --input-format FMT -s 1920x1080 DIR/footage-TYPE.avi < DIR/f-FMT.raw\n"
           "ffmpeg -f rawvideo -pix_fmt FMT -s 1920x1080 -r 25 -i DIR/FMT.raw -c:v utvideo -pred median FMT.avi\n"
           f"ffmpeg -benchmark -threads 1|2 -stream_loop {loops} -i FMT.avi -f null -   # utime and rtime\n"
           "NORVIK_BENCH_FOOTAGE=DIR norvik_codec_bench --benchmark_min_time=2   # BM_Decode case/threads, BM_Memcpy\n```\n")
ver = subprocess.run(["ffmpeg", "-version"], capture_output=True, text=True).stdout.splitlines()[0]
out.append(f"ffmpeg: `{ver}`.\n")
open(result, "w").write("\n".join(out))
print("\n".join(out))
PY
