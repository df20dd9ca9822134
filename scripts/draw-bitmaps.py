#!/usr/bin/env python3
"""Draws the toolbar's button bitmaps and the address book's pictures into res.

The buttons are 110 x 18; the contacts dialog's strip is five cells of 18 x 16
(contact, new, delete, edit, download) and the recipient picker's contact icon
is 16 x 16. All are 24-bit bottom-up BMPs; pure green is the colour the image
lists mask out, so every other pixel is drawn fully opaque, never blended with it.

Each picture is drawn for 100 % (NAME.bmp), 150 % (NAME-150.bmp) and 200 %
(NAME-200.bmp) display scaling: 200 % doubles every pixel; 150 % averages the
opaque pixels each new pixel covers (a box filter) and leaves it transparent
where less than half of it was drawn.
Run: python3 scripts/draw-bitmaps.py
"""
import pathlib
import struct

WIDTH, HEIGHT = 110, 18
GREEN = (0, 255, 0)
RES = pathlib.Path(__file__).resolve().parent.parent / "res"

# Icons are 16 x 16 pixel art; '.' lets the toolbar show through.
ICON_COLOURS = {
    "k": (40, 40, 48),      # outline
    "w": (255, 255, 255),   # paper
    "l": (214, 214, 220),   # shaded paper
    "g": (140, 140, 150),   # lines of text
    "b": (40, 90, 170),     # book cover
    "d": (20, 50, 110),     # book cover, dark edge
    "y": (250, 222, 130),   # card
    "o": (200, 150, 50),    # card, shaded edge
    "s": (250, 212, 170),   # face
    "h": (110, 70, 30),     # hair
    "p": (240, 120, 0),     # orange of the word-mark: new
    "r": (210, 30, 30),     # delete
    "c": (30, 130, 220),    # download
}

PAGE = """
..kkkkkkkkk.....
..kwwwwwwwkk....
..kwwwwwwwklk...
..kwggggwwkllk..
..kwwwwwwwkkkkk.
..kwgggggwwwwwk.
..kwwwwwwwwwwwk.
..kwgggggggggwk.
..kwwwwwwwwwwwk.
..kwgggggggggwk.
..kwwwwwwwwwwwk.
..kwgggggggggwk.
..kwwwwwwwwwwwk.
..kwggggggwwwwk.
..kwwwwwwwwwwwk.
..kkkkkkkkkkkkk.
"""

BOOK = """
................
.kkkk......kkkk.
kbwwwkk..kkwwwbk
kbwwwwwkkwwwwwbk
kbwgggwkkwgggwbk
kbwwwwwkkwwwwwbk
kbwgggwkkwgggwbk
kbwwwwwkkwwwwwbk
kbwgggwkkwgggwbk
kbwwwwwkkwwwwwbk
kbkkkwwkkwwkkkbk
kbbbbkkkkkkbbbbk
.kddddbbbbddddk.
..kkkkddddkkkk..
......kkkk......
................
"""

CARD = """
................
................
.........kkkkk..
......kkkyyyyk..
...kkkyyyyyyyk..
kkkyyykkkyyyyyk.
kyyyykwwwkyyyyk.
kyyykwwkwwkyyyk.
.kyykwwkkwkyyyok
.kyykwwwwwkyyyok
.kyyykwwwkyyoook
..kyyykkkoookkk.
..kyyyoookkk....
..koookkk.......
...kkk..........
................
"""

ENVELOPE = """
................
................
kkkkkkkkkkkkkkkk
kkwwwwwwwwwwwwkk
kwkwwwwwwwwwwkwk
kwwkwwwwwwwwkwwk
kwwwkwwwwwwkwwwk
kwwwwkkwwkkwwwwk
kwwwkllkkllkwwwk
kwwkllllllllkwwk
kwkllllllllllkwk
kkllllllllllllkk
kkkkkkkkkkkkkkkk
................
................
................
"""

PERSON = """
.....hhhhhh.....
....hhhhhhhh....
...khhhhhhhhk...
...khssssssk....
...ksskssksk....
...kssssssssk...
....kssssssk....
.....kssssk.....
......kkkk......
...kkbbbbbbkk...
..kbbbwwwwbbbk..
.kbbbbbwwbbbbbk.
.kbbbbbbbbbbbbk.
.kbbbbbbbbbbbbk.
.kkkkkkkkkkkkkk.
................
"""

# Marks drawn over the contact's lower right corner for the dialog's buttons.
PLUS = """
..kkk..
..kpk..
kkkpkkk
kpppppk
kkkpkkk
..kpk..
..kkk..
"""

CROSS = """
kk...kk
krk.krk
.krkrk.
..krk..
.krkrk.
krk.krk
kk...kk
"""

PENCIL = """
......kk
.....kyk
....kyk.
...kyk..
..kyk...
.kyk....
kwk.....
kk......
"""

ARROW = """
..kkk..
..kck..
..kck..
kkkckkk
kccccck
.kccck.
..kck..
...k...
"""

# Upright bold letters of the word-mark; '#' is ink. Rows are aligned on the
# baseline; the tallest letter sets the cap height.
LETTERS = {
    "T": """
#############
#############
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....
.....###.....
""",
    "e": """
..######..
.########.
###....###
###....###
##########
##########
###.......
###.....##
.#########
..#######.
""",
    "x": """
###....###
###....###
.###..###.
..######..
...####...
...####...
..######..
.###..###.
###....###
###....###
""",
    "t": """
..###...
..###...
..###...
########
########
..###...
..###...
..###...
..###...
..###...
..###...
..######
...#####
""",
    "a": """
.#######..
.########.
.......###
..########
.#########
###....###
###....###
###...####
.#########
..#####.##
""",
    "r": """
###.####
########
#####...
####....
###.....
###.....
###.....
###.....
###.....
###.....
""",
    "o": """
..######..
.########.
###....###
###....###
###....###
###....###
###....###
###....###
.########.
..######..
""",
}
WORD = "Textaro"
LETTER_GAP = 3
SLANT = 3                  # rows per pixel of italic lean
INK_TOP = (255, 160, 40)   # the orange lightens towards the top of the letters
INK = (240, 120, 0)
RIM = (120, 50, 0)


def rows(art):
    return art.strip("\n").split("\n")


def blank(width=WIDTH, height=HEIGHT):
    return [[GREEN] * width for _ in range(height)]


def stamp(canvas, art, left, top):
    for y, line in enumerate(rows(art)):
        for x, ch in enumerate(line):
            if ch != ".":
                canvas[top + y][left + x] = ICON_COLOURS[ch]
    return canvas


def enclosed(shape):
    """Pixels walled in by the shape: counters too small to keep a see-through hole."""
    xs = [x for x, _ in shape]
    ys = [y for _, y in shape]
    box = {(x, y) for x in range(min(xs) - 1, max(xs) + 2) for y in range(min(ys) - 1, max(ys) + 2)}
    outside = set()
    todo = [(min(xs) - 1, min(ys) - 1)]
    while todo:
        p = todo.pop()
        if p in box and p not in shape and p not in outside:
            outside.add(p)
            x, y = p
            todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    return box - shape - outside


def word_mark():
    glyphs = [rows(LETTERS[c]) for c in WORD]
    cap = max(len(g) for g in glyphs)
    ink = set()
    left = 0
    for glyph in glyphs:
        for y, line in enumerate(glyph, start=cap - len(glyph)):
            lean = (cap - 1 - y) // SLANT
            ink.update((left + x + lean, y) for x, ch in enumerate(line) if ch == "#")
        left += len(glyph[0]) + LETTER_GAP
    rim = {(x + dx, y + dy) for x, y in ink for dx in (-1, 0, 1) for dy in (-1, 0, 1)} - ink
    rim |= enclosed(ink | rim)
    xs = [x for x, _ in rim]
    ys = [y for _, y in rim]
    dx = (WIDTH - (max(xs) - min(xs) + 1)) // 2 - min(xs)
    dy = (HEIGHT - (max(ys) - min(ys) + 1)) // 2 - min(ys)
    canvas = blank()
    for x, y in rim:
        canvas[y + dy][x + dx] = RIM
    for x, y in ink:
        t = y / (cap - 1)
        canvas[y + dy][x + dx] = tuple(round(a + (b - a) * t) for a, b in zip(INK_TOP, INK))
    return canvas


def contact_strip():
    """The contacts dialog's five cells of 18 x 16: the contact, then new, delete, edit, download."""
    cell = 18
    canvas = blank(5 * cell, 16)
    for n, mark in enumerate([None, PLUS, CROSS, PENCIL, ARROW]):
        stamp(canvas, PERSON, n * cell + 1, 0)
        if mark:
            art = rows(mark)
            stamp(canvas, mark, (n + 1) * cell - len(art[0]), 16 - len(art))
    return canvas


def scaled(canvas, percent):
    """The canvas at 150 or 200 % (see the top of this file)."""
    if percent == 200:
        return [[pixel for pixel in row for _ in (0, 1)] for row in canvas for _ in (0, 1)]
    factor = percent / 100
    width, height = len(canvas[0]), len(canvas)
    out = blank(round(width * factor), round(height * factor))

    def spans(start):
        """Source pixels under [start, start + 1) of the new grid, with their share of it."""
        low, high = start / factor, (start + 1) / factor
        return [(i, min(high, i + 1) - max(low, i)) for i in range(int(low), int(-(-high // 1)))
                if min(high, i + 1) > max(low, i)]

    for y, row in enumerate(out):
        for x in range(len(row)):
            total = [0.0, 0.0, 0.0]
            drawn = 0.0
            for sy, wy in spans(y):
                for sx, wx in spans(x):
                    pixel = canvas[sy][sx]
                    if pixel != GREEN:
                        w = wx * wy
                        drawn += w
                        total = [t + c * w for t, c in zip(total, pixel)]
            area = 1 / (factor * factor)
            if drawn >= area / 2:
                colour = tuple(round(t / drawn) for t in total)
                row[x] = colour if colour != GREEN else (0, 254, 0)
    return out


def write_bmp(path, canvas):
    width, height = len(canvas[0]), len(canvas)
    assert all(len(row) == width for row in canvas)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(canvas):
        pixels += b"".join(bytes((b, g, r)) for r, g, b in row)
        pixels += bytes(stride - width * 3)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    path.write_bytes(head + info + pixels)


def main():
    bitmaps = {
        "bitmap215.bmp": stamp(blank(), ENVELOPE, 2, 1),  # send; "Odeslat" is drawn to its right at run time
        "bitmap221.bmp": stamp(blank(), PAGE, 1, 1),      # text view
        "bitmap231.bmp": stamp(blank(), CARD, 1, 1),      # delayed send
        "bitmap233.bmp": stamp(blank(), BOOK, 1, 1),      # address book
        "bitmap237.bmp": word_mark(),                     # main menu
        "contacts.bmp": contact_strip(),                  # the contacts dialog's toolbar and rows
        "contact.bmp": stamp(blank(16, 16), PERSON, 0, 0),  # the recipient picker's rows
    }
    for name, canvas in bitmaps.items():
        write_bmp(RES / name, canvas)
        for percent in (150, 200):
            write_bmp(RES / name.replace(".bmp", f"-{percent}.bmp"), scaled(canvas, percent))


if __name__ == "__main__":
    main()
