#!/usr/bin/env bash
# A recording cut at 60 % as people meet it: norvik-import check names what can be
# recovered (exit 1), norvik-repair recovers it, and the copy's frames (through
# imGetSourceVideo) and audio equal the uncut recording's; a clip of another codec
# is refused by check (exit 2) with its FourCC.
# Usage: cli_test.sh BIN_DIR
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$bin/norvik-mkclip" -s 320x240 -n 20 -a 2x48000x16 rec.avi
head -c $(( $(stat -c %s rec.avi) * 60 / 100 )) rec.avi > cut.avi

status=0
"$bin/norvik-import" check cut.avi > check.txt || status=$?
[ "$status" = 1 ] || { echo "check of the cut recording exited $status"; cat check.txt; exit 1; }
tail -1 check.txt | grep -Eq '^plays 0 of [0-9]+ frames; norvik-repair can recover [0-9]+$' || { cat check.txt; exit 1; }
{ "$bin/norvik-import" check cut.avi --json || true; } | python3 -c 'import json,sys; assert json.load(sys.stdin)["exitCode"] == 1'

"$bin/norvik-repair" cut.avi fixed.avi > summary.txt
recovered=$(tail -1 check.txt | sed 's/.*recover //')
grep -q "stream 0 (video): $recovered frames recovered" summary.txt || { cat check.txt summary.txt; exit 1; }
"$bin/norvik-import" frames fixed.avi --md5 --range "0:$((recovered - 1))" | grep -v '^frames' > fixed.md5
"$bin/norvik-import" frames rec.avi --md5 --range "0:$((recovered - 1))" | grep -v '^frames' > rec.md5
cmp fixed.md5 rec.md5 || { echo "repaired frames differ from the uncut recording's"; exit 1; }
"$bin/norvik-import" audio fixed.avi --raw fixed.raw > /dev/null
"$bin/norvik-import" audio rec.avi --raw rec.raw > /dev/null
[ -s fixed.raw ] && cmp -n "$(stat -c %s fixed.raw)" fixed.raw rec.raw || { echo "repaired audio differs"; exit 1; }
"$bin/norvik-import" check fixed.avi | tail -1 | grep -qx 'plays fully'

if "$bin/norvik-repair" cut.avi ./cut.avi 2> err.txt; then echo "OUT equal to IN was taken"; exit 1; fi
grep -q "same file" err.txt

# Zeros inside a frame's coded data: the structure holds, the codec refuses it.
python3 -c "
d = bytearray(open('cut.avi', 'rb').read())
at = d.find(b'00dc', d.find(b'00dc', d.find(b'movi')) + 8)
d[at + 3000:at + 3400] = bytes(400)
open('zeros.avi', 'wb').write(d)"
"$bin/norvik-repair" zeros.avi plain.avi | grep -q "$recovered frames recovered"
"$bin/norvik-repair" --verify zeros.avi verified.avi | grep -q "frame unsound (the codec refuses it"

python3 -c "
d = bytearray(open('rec.avi', 'rb').read())
d[:4096] = d[:4096].replace(b'NRVK', b'MJPG').replace(b'NVKS', b'JPEG')
open('mjpg.avi', 'wb').write(d)"
status=0
"$bin/norvik-import" check mjpg.avi > check.txt || status=$?
[ "$status" = 2 ] && tail -1 check.txt | grep -q "refused: .*'MJPG'" || { echo "exit $status"; cat check.txt; exit 1; }
echo "repair cli test passed"
