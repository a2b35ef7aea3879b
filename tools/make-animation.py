#!/usr/bin/env python3
"""Writes the wait dialog's animation, widgora/animation.avi.

An uncompressed 8-bit AVI (the animation control plays those without a
codec): a row of squares with one lit square running along it. The file is
the same on every run; the control draws the colour of the first pixel as
transparent, so the background is whatever the dialog paints.

    tools/make-animation.py [OUTPUT]
"""
import os
import struct
import sys

WIDTH, HEIGHT = 96, 16          # pixels
SQUARES = 8
FPS = 8

BACKGROUND, IDLE, LIT, EDGE = 0, 1, 2, 3
PALETTE = [
    (0xF0, 0xF0, 0xF0),   # background, drawn transparent
    (0xC8, 0xD0, 0xD8),   # a square at rest
    (0x1E, 0x64, 0xC8),   # the lit square
    (0x8C, 0x96, 0xA0),   # square edges
]


def frame(lit):
    """Rows of palette indices, top row first."""
    rows = [[BACKGROUND] * WIDTH for _ in range(HEIGHT)]
    cell = WIDTH // SQUARES
    for s in range(SQUARES):
        x0, x1 = s * cell + 2, (s + 1) * cell - 2
        y0, y1 = 3, HEIGHT - 3
        colour = LIT if s == lit else IDLE
        for y in range(y0, y1):
            for x in range(x0, x1):
                edge = y in (y0, y1 - 1) or x in (x0, x1 - 1)
                rows[y][x] = EDGE if edge and s != lit else colour
    return rows


def dib_bits(rows):
    stride = (WIDTH + 3) & ~3
    out = bytearray()
    for row in reversed(rows):  # a DIB is stored bottom-up
        out += bytes(row) + bytes(stride - WIDTH)
    return bytes(out)


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def lst(kind, payload):
    return chunk(b"LIST", kind + payload)


def build():
    frames = [dib_bits(frame(i)) for i in range(SQUARES)]
    size = len(frames[0])
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)

    avih = struct.pack("<14I", 1000000 // FPS, size * FPS, 0, 0x10, len(frames), 0, 1, size,
                       WIDTH, HEIGHT, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIII4h", b"vids", b"DIB ", 0, 0, 0, 0, 1, FPS, 0,
                       len(frames), size, 0xFFFFFFFF, 0, 0, 0, WIDTH, HEIGHT)
    bih = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, size, 0, 0,
                      len(PALETTE), len(PALETTE))
    hdrl = lst(b"hdrl", chunk(b"avih", avih) +
               lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", bih + palette)))

    movi_items = b""
    index = b""
    offset = 4  # from the "movi" type code to each chunk
    for f in frames:
        c = chunk(b"00db", f)
        index += struct.pack("<4sIII", b"00db", 0x10, offset, len(f))
        movi_items += c
        offset += len(c)
    body = b"AVI " + hdrl + lst(b"movi", movi_items) + chunk(b"idx1", index)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "widgora", "animation.avi")
    with open(out, "wb") as f:
        f.write(build())


if __name__ == "__main__":
    main()
