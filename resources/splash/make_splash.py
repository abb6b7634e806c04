#!/usr/bin/env python3
"""Writes Splash.Opn: the start-up picture, an 8-bit Windows bitmap with a
colour table (so the splash builds its palette from it) showing the program's
name over a small bar graph. Run: python3 make_splash.py [OUTPUT]"""
import struct
import sys

W, H = 480, 240
GLYPHS = {
    'L': ["X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"],
    'u': [".....", ".....", "X...X", "X...X", "X...X", "X..XX", ".XX.X"],
    'm': [".....", ".....", "XX.X.", "X.X.X", "X.X.X", "X.X.X", "X.X.X"],
    'e': [".....", ".....", ".XXX.", "X...X", "XXXXX", "X....", ".XXX."],
    't': [".X...", ".X...", "XXXX.", ".X...", ".X...", ".X..X", "..XX."],
    'r': [".....", ".....", "X.XX.", "XX..X", "X....", "X....", "X...."],
    'a': [".....", ".....", ".XXX.", "....X", ".XXXX", "X...X", ".XXXX"],
}
WHITE, SHADOW, GREEN, ORANGE, BASE = 200, 201, 202, 203, 204

palette = []
for i in range(256):
    if i < 128:  # background gradient, dark blue at the top to a lighter blue
        palette.append((20 + i // 2, 50 + i // 2, 110 + i))
    elif i == WHITE:
        palette.append((255, 255, 255))
    elif i == SHADOW:
        palette.append((10, 25, 60))
    elif i == GREEN:
        palette.append((70, 190, 110))
    elif i == ORANGE:
        palette.append((245, 170, 40))
    elif i == BASE:
        palette.append((230, 236, 245))
    else:
        palette.append((0, 0, 0))

pixels = [[(y * 127) // (H - 1) for _ in range(W)] for y in range(H)]  # row 0 = top


def fill(x0, y0, w, h, colour):
    for y in range(max(0, y0), min(H, y0 + h)):
        row = pixels[y]
        for x in range(max(0, x0), min(W, x0 + w)):
            row[x] = colour


def text(s, x0, y0, scale, colour):
    x = x0
    for ch in s:
        for gy, line in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(line):
                if bit == 'X':
                    fill(x + gx * scale, y0 + gy * scale, scale, scale, colour)
        x += 6 * scale


name = "Lumetra"
scale = 8
width = len(name) * 6 * scale - scale
x0 = (W - width) // 2
text(name, x0 + 4, 40 + 4, scale, SHADOW)
text(name, x0, 40, scale, WHITE)
# a small bar graph under the name
bars = [18, 30, 24, 40, 34, 46, 28, 38]
bx = (W - len(bars) * 22) // 2
for i, h in enumerate(bars):
    fill(bx + i * 22, 200 - h, 14, h, ORANGE if i == 5 else GREEN)
fill(bx - 8, 200, len(bars) * 22 + 8, 3, BASE)

row_size = (W + 3) // 4 * 4
data = bytearray()
for y in range(H - 1, -1, -1):  # bottom-up rows
    data += bytes(pixels[y]) + bytes(row_size - W)
colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
offset = 14 + 40 + len(colour_table)
header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 0, len(data), 2835, 2835, 256, 0)
out = sys.argv[1] if len(sys.argv) > 1 else "Splash.Opn"
with open(out, "wb") as f:
    f.write(header + info + colour_table + data)
