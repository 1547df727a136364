#!/usr/bin/env python3
"""Puts a sheet's layout into its PNG, as the text chunk "Vorl sheet" the game reads.

    embed_layout.py <sheet.png> <sheet.layout-file>

The chunk goes straight after the header; a chunk of that name already there is replaced, so the
tool can run again on its own output. Standard library only.
"""
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
KEYWORD = b"Vorl sheet"


def chunks(data):
    """(type, body) of every chunk after the signature."""
    at = len(SIGNATURE)
    while at + 12 <= len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind = data[at + 4:at + 8]
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b"IEND":
            return


def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def embed(png, layout):
    if not png.startswith(SIGNATURE):
        raise ValueError("not a PNG")
    out = [SIGNATURE]
    for kind, body in chunks(png):
        if kind == b"tEXt" and body.split(b"\0", 1)[0] == KEYWORD:
            continue
        out.append(chunk(kind, body))
        if kind == b"IHDR":
            out.append(chunk(b"tEXt", KEYWORD + b"\0" + layout.encode("latin-1")))
    return b"".join(out)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[2].strip())
    png_path, layout_path = sys.argv[1], sys.argv[2]
    with open(png_path, "rb") as f:
        png = f.read()
    with open(layout_path, encoding="utf-8") as f:
        layout = f.read()
    with open(png_path, "wb") as f:
        f.write(embed(png, layout))


if __name__ == "__main__":
    main()
