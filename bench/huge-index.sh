#!/usr/bin/env bash
# Opening a file whose OpenDML index claims 4 GiB: 25 Norvik frames whose super
# index names one standard index at 4.5 GiB declaring 536,870,907 entries (the
# stream's own 25, then a hole), in a sparse file of 8.5 GiB that takes a few KiB
# on disk (`clip_open_bench write-huge-index`). It is opened as a user would, with
# `norvik-import info` (imInit, imOpenFile8, imGetInfo8, ...), under /usr/bin/time.
# Prints a Markdown report (copy it to bench/results/huge_index.md).
#
# With OLD_BIN (a folder holding an older norvik-import and its module), that one
# opens the file too, under a 6 GiB address-space limit (ulimit -v), for comparison.
#
# Usage: bench/huge-index.sh [BUILD_DIR] [OLD_BIN]
#        (default build/linux; needs clip_open_bench, norvik-import, ImporterNorvik)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
old=${2:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
file=$tmp/huge-index.avi

"$build/bin/clip_open_bench" write-huge-index "$file"

# run_info NAME PROGRAM: runs `PROGRAM info FILE`, keeping its output and "wall_s peak_KiB exit".
run_info() {
  local name=$1 program=$2
  set +e
  /usr/bin/time -f "%e %M %x" -o "$tmp/$name.time" "$program" info "$file" >"$tmp/$name.out" 2>&1
  set -e
}
run_info now "$build/bin/norvik-import"
[ -z "$old" ] || (ulimit -v $((6 * 1024 * 1024)) && run_info old "$old/norvik-import")

echo "## Run: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores (shared with other jobs), $(uname -r)"
echo
echo "File: $(stat -c %s "$file") bytes (apparent), $(du -k "$file" | cut -f1) KiB on disk."
echo
echo "| program | imGetInfo8 | wall | peak RSS | exit |"
echo "|---|---|---|---|---|"
for name in now old; do
  [ -f "$tmp/$name.time" ] || continue
  read -r wall kb code < <(tail -1 "$tmp/$name.time")
  result=$(grep -m1 'imGetInfo8' "$tmp/$name.out" | sed 's/^ *//' || true)
  label="norvik-import info (this build)"
  [ "$name" = now ] || label="norvik-import info ($old, ulimit -v 6 GiB)"
  echo "| $label | ${result:-none} | ${wall} s | ${kb} KiB | $code |"
done
for name in now old; do
  [ -f "$tmp/$name.out" ] || continue
  echo
  echo "Output ($name):"
  echo '```'
  head -c 3000 "$tmp/$name.out"
  echo '```'
done
