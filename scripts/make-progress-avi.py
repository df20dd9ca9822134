#!/usr/bin/env python3
"""Writes res/progress.avi, the clip the send dialog loops while a message goes out.

Blue and white diagonal stripes inside a dark border slide right; twelve frames
move them by exactly one period, so the loop has no seam. The Windows animation
control plays only plain AVIs, so this is one uncompressed 8-bit video stream
with a 32-colour palette, no audio, and an index.
Run: python3 scripts/make-progress-avi.py
"""
import pathlib
import struct

WIDTH, HEIGHT = 281, 15
FRAMES = 12
FRAME_US = 80000
PERIOD = 24                  # pixels from one blue stripe to the next, along a row
STEP = PERIOD // FRAMES      # pixels the stripes move per frame
SAMPLES = 4                  # per pixel side, to soften the stripe edges into palette shades
BORDER = (20, 50, 120)       # also keeps the top-left pixel, the transparent key, the same in every frame
BLUE = (40, 100, 210)
WHITE = (255, 255, 255)
PALETTE = [BORDER] + [tuple(round(b + (w - b) * i / 30) for b, w in zip(BLUE, WHITE)) for i in range(31)]
STRIDE = (WIDTH + 3) & ~3
HAS_INDEX = 0x10             # main header flag
KEY_FRAME = 0x10             # index entry flag: every frame stands alone
OUT = pathlib.Path(__file__).resolve().parent.parent / "res" / "progress.avi"


def pixel(x, y, frame):
    """Palette index: 0 for the border, 1 (blue) to 31 (white) by how much of the pixel is white."""
    if x in (0, WIDTH - 1) or y in (0, HEIGHT - 1):
        return 0
    white = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            u = x + (sx + 0.5) / SAMPLES + y + (sy + 0.5) / SAMPLES - STEP * frame
            white += u % PERIOD >= PERIOD / 2
    return 1 + round(30 * white / SAMPLES**2)


def frame_bits(frame):
    rows = (bytes(pixel(x, y, frame) for x in range(WIDTH)) + bytes(STRIDE - WIDTH) for y in range(HEIGHT))
    return b"".join(reversed(list(rows)))


def chunk(fourcc, data):
    return fourcc + struct.pack("<I", len(data)) + data + bytes(len(data) % 2)


def riff_list(kind, form, *chunks):
    return chunk(kind, form + b"".join(chunks))


def main():
    size = STRIDE * HEIGHT
    avih = struct.pack(
        "<14I", FRAME_US, size * 1000000 // FRAME_US, 0, HAS_INDEX, FRAMES, 0, 1, size, WIDTH, HEIGHT, 0, 0, 0, 0
    )
    # Time base: FRAME_US / 1000000 seconds per frame; quality -1 is the default.
    strh = struct.pack(
        "<4s4sIHHIIIIIIII4h",
        b"vids", b"DIB ", 0, 0, 0, 0, FRAME_US, 1000000, 0, FRAMES, size, 0xFFFFFFFF, 0, 0, 0, WIDTH, HEIGHT,
    )
    strf = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, size, 0, 0, len(PALETTE), 0)
    strf += b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    frames = [chunk(b"00db", frame_bits(f)) for f in range(FRAMES)]
    movi = riff_list(b"LIST", b"movi", *frames)
    offsets = [4 + sum(len(c) for c in frames[:i]) for i in range(FRAMES)]
    idx1 = b"".join(struct.pack("<4sIII", b"00db", KEY_FRAME, off, size) for off in offsets)
    strl = riff_list(b"LIST", b"strl", chunk(b"strh", strh), chunk(b"strf", strf))
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih), strl)
    OUT.write_bytes(riff_list(b"RIFF", b"AVI ", hdrl, movi, chunk(b"idx1", idx1)))


if __name__ == "__main__":
    main()
