#!/usr/bin/env bash
# Usage: kit_snapshot_test.sh <kit_snapshot> <source-dir>   (run inside an X server)
# Draws a one-sprite level and checks the whole frame and the sprite's crop: sizes, and that the
# crop shows the sprite's colour where the quad lies and the clear colour outside it. The game's
# own first level, which runs before it, must leave nothing behind.
set -euo pipefail
snapshot="$1"
source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/assets"
# A 10 x 5 sheet of 20 x 20 cells, all opaque red.
python3 - "$work/assets/Red.png" <<'PY'
import struct, sys, zlib
w, h = 200, 100
raw = b"".join(b"\0" + b"\xff\x00\x00\xff" * w for _ in range(h))
chunk = lambda t, d: struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) + \
    chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
PY
printf 'Red\n' >"$work/assets/TextureList"
printf 'Red Red 0 1 1.0\n' >"$work/assets/AnimationList"
cat >"$work/assets/kit_one" <<'LEVEL'
Block
{
Transform2D 100.000000000 50.000000000 3.000000000 40.000000000 20.000000000 0.000000000
TextureComponent filename "Red" 
}
LEVEL
cat >"$work/assets/BrelSplashLevel" <<'LEVEL'
Leftover
{
Transform2D -300.000000000 0.000000000 3.000000000 40.000000000 20.000000000 0.000000000
TextureComponent filename "Red" 
}
LEVEL

cp "$source/assets/PixelShader.fx" "$work/assets/"
# Sheets and the effect are read from assets/ below the working directory.
(cd "$work" && "$snapshot" assets kit_one 3 out >/dev/null) || fail "kit_snapshot exited with $?"
[ ! -e "$work/out/Leftover.png" ] || fail "the first level's object is still drawn"
python3 - "$work/out" <<'PY' || fail "pictures wrong"
import struct, sys, zlib
def read(path):
    data = open(path, "rb").read()
    w, h = struct.unpack(">II", data[16:24])
    idat, pos = b"", 8
    while pos < len(data):
        n = struct.unpack(">I", data[pos:pos + 4])[0]
        if data[pos + 4:pos + 8] == b"IDAT":
            idat += data[pos + 8:pos + 8 + n]
        pos += 12 + n
    raw, rows, prev = zlib.decompress(idat), [], bytearray(w * 3)
    for y in range(h):
        f, line = raw[y * (w * 3 + 1)], bytearray(raw[y * (w * 3 + 1) + 1:(y + 1) * (w * 3 + 1)])
        for i in range(len(line)):
            a = line[i - 3] if i >= 3 else 0
            b, c = prev[i], prev[i - 3] if i >= 3 else 0
            p = a + b - c
            pred = [0, a, b, (a + b) // 2, a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c)
                    else (b if abs(p - b) <= abs(p - c) else c)][f]
            line[i] = (line[i] + pred) & 255
        rows.append(bytes(line)); prev = line
    return w, h, rows
w, h, _ = read(sys.argv[1] + "/kit_one.png")
assert (w, h) == (1600, 900), (w, h)
w, h, rows = read(sys.argv[1] + "/Block.png")
assert (w, h) == (80 + 24, 40 + 24), (w, h)
centre = rows[h // 2][(w // 2) * 3:(w // 2) * 3 + 3]
corner = rows[2][6:9]
assert centre[0] > 200 and centre[1] < 40, centre
assert corner[0] < 40, corner
PY
echo "kit_snapshot: ok"
