#!/usr/bin/env python3
"""Draws the tool bar's pixel art: the four glyphs and the two hand cursors as XPM
files, and the wallpaper as a palette PNG. Run it from anywhere; it rewrites the
files beside itself. The XPM files can also be edited by hand afterwards.

Glyphs use the sixteen standard colours. A glyph's transparent colour is that of its
bottom-left pixel; a glyph of two cells has its disabled look in the second cell,
an embossed grey copy of the first.
"""

import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

COLOURS = {
    "k": "#000000",  # black
    "r": "#800000",  # maroon
    "g": "#008000",  # green
    "o": "#808000",  # olive
    "n": "#000080",  # navy
    "p": "#800080",  # purple
    "t": "#008080",  # teal
    "s": "#C0C0C0",  # silver
    "d": "#808080",  # grey
    "R": "#FF0000",  # red
    "G": "#00FF00",  # lime
    "Y": "#FFFF00",  # yellow
    "B": "#0000FF",  # blue
    "M": "#FF00FF",  # magenta
    "C": "#00FFFF",  # cyan
    "w": "#FFFFFF",  # white
}

# "." is each glyph's transparent colour.
CALCULER = """
................
.kkkkkkk.kkkkkk.
.kCCCCCk..kkkkk.
.kCCCCCk...kkkk.
.kCCCCCk....kkk.
.kCCCCCk.....kk.
.kCCCCCk......k.
.kkkkkkk........
........k.......
.......kwk......
......kwwwk.....
.....kwRRRwk....
....kwwRRRwwk...
...kwwwRRRwwwk..
..kkkkkkkkkkkkk.
................
"""

APROPOS = """
.....nnnnnn.....
...nnBBBBBBnn...
..nBBooBBBBBBn..
.nBwoooBBBooBBn.
.nBoooooBBoooBn.
nBBoooooBBBoooBn
nBBBoooBBBBBooBn
nBBBBooBBBBBBBBn
nBBBBBooBBBBBBBn
nBBBBBBoooBBBBBn
nBBBBBBooooBBBBn
.nBBBBBBoooBBBn.
.nBBBBBBBooBBBn.
..nBBBBBBBBBBn..
...nnBBBBBBnn...
.....nnnnnn.....
"""

AIDE = """
.....dddddd.....
...ddYYYYYYdd...
..dYwwRRRRYYYd..
.dYwwRRYYRRYYYd.
.dYwRRYYYYRRYYd.
dYYYRRYYYYRRYYYd
dYYYYYYYYRRYYYYd
dYYYYYYYRRYYYYYd
dYYYYYYRRYYYYYYd
dYYYYYYRRYYYYYYd
dYYYYYYYYYYYYYYd
.dYYYYYRRYYYYYd.
.dYYYYYRRYYYYYd.
..dYYYYYYYYYYd..
...ddYYYYYYdd...
.....dddddd.....
"""

QUITTER = """
....................
.......kkkkkkkkkkkk.
.......kddddddddddk.
.......kdrrrrrrrrdk.
.......kdrkkkkkkrdk.
....g..kdrkrrrrkrdk.
...gg..kdrkrrrrkrdk.
..gGg..kdrkkkkkkrdk.
.gGGgggggggggggrrdk.
gGGGGGGGGGGGGGgrrdk.
.gGGgggggggggggYrdk.
..gGg..kdrrrrrrrrdk.
...gg..kdrkkkkkkrdk.
....g..kdrkrrrrkrdk.
.......kdrkrrrrkrdk.
.......kdrkkkkkkrdk.
.......kdrrrrrrrrdk.
.......kddddddddddk.
.......kkkkkkkkkkkk.
....................
"""

# Cursors: "k" black, "w" white, "." transparent.
HAND_POINTING = """
kkkkk...........................
kwwwk...........................
kwwwk...........................
kwwwk...........................
kwwwk...........................
kwwwk...........................
kwwwkkk.........................
kwwwkwwkkk......................
kwwwkwwkwwkkk...................
kwwwkwwkwwkwwk..................
kwwwkwwkwwkwwk..................
kwwwwwwwwwkwwk..................
kwwwwwwwwwwwwk..................
kwwwwwwwwwwwwk..................
.kwwwwwwwwwwwk..................
.kwwwwwwwwwwwk..................
..kwwwwwwwwwk...................
..kwwwwwwwwwk...................
...kwwwwwwwk....................
...kwwwwwwwk....................
...kkkkkkkkk....................
................................
................................
................................
................................
................................
................................
................................
................................
................................
................................
................................
"""

HAND_GRABBING = """
................................
................................
................................
................................
................................
................................
................................
................................
................................
...........kk.kk.kk.............
..........kwwkwwkwwkk...........
..........kwwkwwkwwkwk..........
.........kkwwwwwwwwwwk..........
........kwkwwwwwwwwwwk..........
........kwwwwwwwwwwwwk..........
.........kwwwwwwwwwwwk..........
..........kwwwwwwwwwwk..........
..........kwwwwwwwwwk...........
...........kwwwwwwwwk...........
...........kwwwwwwwk............
............kwwwwwwk............
............kkkkkkkk............
................................
................................
................................
................................
................................
................................
................................
................................
................................
................................
"""


def rows(art):
    lines = [line for line in art.strip("\n").split("\n")]
    width = len(lines[0])
    assert all(len(line) == width for line in lines), "ragged art"
    return lines


def brightness(code):
    value = COLOURS[code]
    return sum(int(value[i:i + 2], 16) for i in (1, 3, 5))


def embossed(cell):
    """The disabled look: the dark parts of a cell in grey, with a white edge below
    and to the right of them; everything else transparent."""
    height, width = len(cell), len(cell[0])
    dark = [[c != "." and brightness(c) <= 384 for c in line] for line in cell]
    out = [["."] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            if dark[y][x] and x + 1 < width and y + 1 < height:
                out[y + 1][x + 1] = "w"
    for y in range(height):
        for x in range(width):
            if dark[y][x]:
                out[y][x] = "d"
    return ["".join(line) for line in out]


def write_xpm(name, lines, transparent, comment):
    codes = sorted(set("".join(lines)))
    path = os.path.join(HERE, name)
    variable = os.path.splitext(name)[0].replace("-", "_")
    with open(path, "w", encoding="ascii") as out:
        out.write("/* XPM */\n")
        out.write("/* %s */\n" % comment)
        out.write("static const char *const %s[] = {\n" % variable)
        out.write('"%d %d %d 1",\n' % (len(lines[0]), len(lines), len(codes)))
        for code in codes:
            colour = transparent if code == "." else COLOURS[code]
            out.write('"%s c %s",\n' % (code, colour))
        out.write(",\n".join('"%s"' % line for line in lines))
        out.write("\n};\n")


def write_glyph(name, art, transparent, comment, cells):
    cell = rows(art)
    lines = cell if cells == 1 else [a + b for a, b in zip(cell, embossed(cell))]
    assert lines[-1][0] == ".", "the bottom-left pixel gives the transparent colour"
    write_xpm(name, lines, transparent, comment)


def write_cursor(name, art, comment):
    lines = rows(art)
    assert len(lines) == 32 and len(lines[0]) == 32
    write_xpm(name, lines, "None", comment)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_wallpaper(name, width, height):
    """Silver with lighter grey flecks, a few pixels long, scattered at random."""
    palette = [(192, 192, 192), (200, 200, 200), (208, 208, 208), (216, 216, 216)]
    pixels = [[0] * width for _ in range(height)]
    rng = random.Random(1998)
    for _ in range(width * height // 9):
        x, y = rng.randrange(width), rng.randrange(height)
        shade = rng.choice((1, 1, 1, 2, 2, 3))
        length = rng.choice((1, 1, 2, 2, 3))
        horizontal = rng.random() < 0.6
        for i in range(length):
            px, py = (x + i, y) if horizontal else (x, y + i)
            if px < width and py < height:
                pixels[py][px] = max(pixels[py][px], shade)
    raw = b"".join(b"\x00" + bytes(line) for line in pixels)
    png = b"\x89PNG\r\n\x1a\n"
    png += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
    png += png_chunk(b"PLTE", b"".join(bytes(colour) for colour in palette))
    png += png_chunk(b"IDAT", zlib.compress(raw, 9))
    png += png_chunk(b"IEND", b"")
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(png)


def main():
    write_glyph("calculer.xpm", CALCULER, COLOURS["o"],
                "Calculer: a cyan square, a black wedge, a white triangle with a red square",
                cells=2)
    write_glyph("apropos.xpm", APROPOS, COLOURS["p"],
                "A propos: a blue globe with olive land", cells=2)
    write_glyph("aide.xpm", AIDE, COLOURS["o"],
                "Aide: a red question mark on a yellow disc", cells=2)
    write_glyph("quitter.xpm", QUITTER, COLOURS["M"],
                "Quitter: a green arrow leaving a door", cells=1)
    write_cursor("handpnt.xpm", HAND_POINTING, "pointing hand, hot spot (0, 0)")
    write_cursor("sb_drag.xpm", HAND_GRABBING, "grabbing hand, hot spot (15, 16)")
    write_wallpaper("background.png", 640, 125)


if __name__ == "__main__":
    main()
