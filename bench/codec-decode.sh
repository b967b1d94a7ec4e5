#!/usr/bin/env bash
# Decode speed of the Norvik codec library on 1920x1080 synthetic pictures and on
# real-looking footage, against ffmpeg's UT Video decoder on the same pictures and
# memcpy of the output size.
#
# Usage: bench/codec-decode.sh [BUILD_DIR] [RESULT_FILE]
#   BUILD_DIR    a Linux build with norvik_codec_bench and norvik-mkclip (default build/linux)
#   RESULT_FILE  markdown written (default bench/results/codec_decode.md)
#
# Cases, as the importer decodes them: 8-bit 4:2:2 (104) and 4:2:0 (105) into
# yuy2 Rec.601 (the streams are labelled Rec.709 as norvik-mkclip labels HD, so the
# decode includes the change of colour matrix), 8-bit RGBA (102) into BGRA, 10-bit
# 4:2:2 (108) into v210.
#
# Pictures: norvik_codec_bench --dump-raw writes the benchmark's synthetic pictures
# as raw yuv422p, gbrap, yuv420p, and yuv422p-10 (the 10-bit 4:2:2 pictures rounded
# to 8 bits: ffmpeg's UT Video encoder has no 10-bit input). Footage: ffmpeg's
# testsrc2 averaged with smptehdbars, with temporal noise of strength 12, 24
# frames, piped into norvik-mkclip. ffmpeg encodes the same pictures with
# -c:v utvideo -pred median and decodes them with -threads 1 and 2, looping the
# input; its user CPU time and wall time give frames per second.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
result=${2:-$root/bench/results/codec_decode.md}
bench=$build/bin/norvik_codec_bench
frames=8          # synthetic pictures
footageFrames=24
loops=3           # each UT Video decode plays its input 4 times
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bench" --dump-raw "$work" "$frames"
for fmt in yuv422p gbrap yuv420p yuv422p10le; do
  ffmpeg -v error -y -f lavfi -i testsrc2=s=1920x1080:r=25 -f lavfi -i smptehdbars=s=1920x1080:r=25 \
    -filter_complex "[0][1]blend=all_mode=average,noise=alls=12:allf=t+u:all_seed=7,format=$fmt" \
    -frames:v "$footageFrames" -f rawvideo "$work/f-$fmt.raw"
done
for pair in yuv422p:104 gbrap:102 yuv420p:105 yuv422p10le:108; do
  "$build/bin/norvik-mkclip" -i - --input-format "${pair%%:*}" -s 1920x1080 "$work/footage-${pair##*:}.avi" \
    < "$work/f-${pair%%:*}.raw" 2> /dev/null
done
# UT Video takes 8-bit 4:2:2 for the 10-bit case.
ffmpeg -v error -y -f rawvideo -pix_fmt yuv422p10le -s 1920x1080 -i "$work/f-yuv422p10le.raw" \
  -f rawvideo -pix_fmt yuv422p "$work/f-yuv422p-10.raw"
utfmts="yuv422p gbrap yuv420p yuv422p-10 f-yuv422p f-gbrap f-yuv420p f-yuv422p-10"
for fmt in $utfmts; do
  pix=${fmt#f-}; pix=${pix%-10}
  ffmpeg -v error -y -f rawvideo -pix_fmt "$pix" -s 1920x1080 -r 25 -i "$work/$fmt.raw" \
    -c:v utvideo -pred median "$work/$fmt.avi"
done

ffmpeg_run() {  # format threads -> "utime rtime"
  ffmpeg -hide_banner -nostats -benchmark -threads "$2" -stream_loop "$loops" -i "$work/$1.avi" -f null - 2>&1 |
    sed -n 's/^bench: utime=\([0-9.]*\)s stime=[0-9.]*s rtime=\([0-9.]*\)s$/\1 \2/p'
}

: > "$work/ffmpeg.txt"
for rep in 1 2 3; do
  for fmt in $utfmts; do
    for t in 1 2; do
      echo "$fmt $t $(ffmpeg_run "$fmt" "$t")" >> "$work/ffmpeg.txt"
    done
  done
  NORVIK_BENCH_FOOTAGE=$work "$bench" --benchmark_format=json --benchmark_out="$work/norvik$rep.json" --benchmark_out_format=json \
    --benchmark_min_time=2 > /dev/null
done
for fmt in $utfmts; do
  n=$([ "${fmt#f-}" = "$fmt" ] && echo "$frames" || echo "$footageFrames")
  echo "$fmt $n $(stat -c %s "$work/$fmt.raw") $(stat -c %s "$work/$fmt.avi")" >> "$work/sizes.txt"
done

python3 - "$work" "$loops" "$result" "$(nproc)" <<'PY'
import json, sys, datetime, platform, subprocess
work, loops, result, cores = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
ff = {}
for line in open(f"{work}/ffmpeg.txt"):
    fmt, t, ut, rt = line.split()
    ff.setdefault((fmt, int(t)), []).append((float(ut), float(rt)))
sizes = {l.split()[0]: tuple(int(v) for v in l.split()[1:]) for l in open(f"{work}/sizes.txt")}
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
    decoded = sizes[fmt][0] * (loops + 1)
    ut = min(u for u, _ in ff[(fmt, t)]); rt = min(r for _, r in ff[(fmt, t)])
    return decoded / ut, decoded / rt
cases = [(0, "8-bit 4:2:2 (104) into yuy2 (4), Rec.709 -> Rec.601", "yuv422p"),
         (1, "8-bit RGBA (102) into BGRA (2)", "gbrap"),
         (2, "8-bit 4:2:0 (105) into yuy2 (4), Rec.709 -> Rec.601", "yuv420p"),
         (3, "10-bit 4:2:2 (108) into v210 (11)", "yuv422p-10")]
cases += [(c + 4, "footage: " + label, "f-" + fmt) for c, label, fmt in cases]
out = []
out.append("# Codec decode speed\n")
out.append(f"Recorded {datetime.datetime.utcnow():%Y-%m-%d %H:%M} UTC on {platform.machine()}, {cores} cores "
           "(a shared machine, whose load varies: each figure is the best of three runs, and the comparison "
           "that holds is the ratio to UT Video measured in the same run).\n")
out.append("Pictures: 1920x1080. Synthetic: eight natural-looking frames (gradients, texture, moving shapes, mild "
           "noise) from `clipmaker::syntheticFrame`. Footage: 24 frames of ffmpeg's testsrc2 averaged with "
           "smptehdbars, with temporal noise of strength 12 (`noise=alls=12:allf=t+u`), piped into norvik-mkclip "
           "(`norvik-mkclip -i - --input-format FMT`), which labels them Rec.709. Norvik streams use the encoder's "
           "automatic choices and the default slice height (68 rows, 16 slices). The Norvik decode writes the "
           "importer's output (yuy2 Rec.601 for 4:2:2 and 4:2:0, so the change of colour matrix is included); "
           "UT Video decodes to its planar format.\n")
out.append("| case | Norvik 1 thread, fps (CPU) | Norvik 1 thread, fps (wall) | Norvik 2 threads, fps (wall) | "
           "UT Video 1 thread, fps (CPU) | UT Video 1 thread, fps (wall) | UT Video 2 threads, fps (wall) | "
           "1-thread speed-up vs UT Video (CPU) | memcpy of the output, fps | Norvik ratio | UT Video ratio |")
out.append("|---|---|---|---|---|---|---|---|---|---|---|")
for case, label, fmt in cases:
    n1c, n1w, ratio = norvik(case, 1)
    n2c, n2w, _ = norvik(case, 2)
    u1c, u1w = ffm(fmt, 1)
    _, u2w = ffm(fmt, 2)
    mem = 1e9 / best(f"BM_Memcpy/case:{case % 4}/real_time", "real_time")
    _, raw, avi = sizes[fmt]
    out.append(f"| {label} vs UT Video {fmt.removeprefix('f-')} | {n1c:.1f} | {n1w:.1f} | {n2w:.1f} | {u1c:.1f} | "
               f"{u1w:.1f} | {u2w:.1f} | **{n1c / u1c:.2f}x** | {mem:.0f} | {ratio:.2f} | {raw / avi:.2f} |")
load = open("/proc/loadavg").read().split()[0]
out.append(f"\nLoad average at the end of the run: {load} on {cores} cores. With other work on the machine a "
           "second thread often finds no free core, so the two-thread figures are only as good as the machine "
           "was quiet; the one-thread CPU figures are the fairest comparison.\n")
out.append("Ratio: raw planar bytes (10-bit samples counted at 10 bits) / coded bytes; for UT Video raw bytes / "
           "AVI file size. The UT Video stream of the 10-bit case is 8-bit (yuv422p), so it codes less.\n")
out.append("Commands:\n")
out.append("```\nbench/codec-decode.sh build/linux        # this script; it runs:\n"
           "norvik_codec_bench --dump-raw DIR 8\n"
           "ffmpeg -f lavfi -i testsrc2=s=1920x1080:r=25 -f lavfi -i smptehdbars=s=1920x1080:r=25 -filter_complex "
           "'[0][1]blend=all_mode=average,noise=alls=12:allf=t+u:all_seed=7,format=FMT' -frames:v 24 -f rawvideo "
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
