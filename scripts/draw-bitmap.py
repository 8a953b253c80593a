#!/usr/bin/env python3
"""Draws one of the program's pictures as an opaque PNG of a given size.

    python3 scripts/draw-bitmap.py NAME WIDTH HEIGHT OUT.png

The box icons (mb_stop, mb_warning, mb_info, mb_question), the program's
window icon (Icon1) and the parameter list's marks (pt_epara writable,
pt_nepar locked at the user's level, pt_ipara information only) have designs
of their own; any other name gets a neutral
framed panel with the name's initials, so a bitmap that a window names can be
given its image file at once. Needs nothing but Python's standard library.
"""
import math
import struct
import sys
import zlib

WHITE = (255, 255, 255)
GREY = (212, 208, 200)
DARK = (64, 64, 64)
RED = (200, 30, 30)
YELLOW = (240, 200, 20)
BLUE = (30, 80, 190)
TEAL = (20, 120, 130)
GREEN = (40, 150, 60)

# 5 x 7 glyphs for the marks and initials.
GLYPHS = {
    "!": ["00100", "00100", "00100", "00100", "00100", "00000", "00100"],
    "?": ["01110", "10001", "00001", "00110", "00100", "00000", "00100"],
    "i": ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
    "x": ["10001", "01010", "00100", "00100", "00100", "01010", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
}
for letter in "ABCDEFGHIJKLMNOPQRSUVWXYZ0123456789":
    GLYPHS.setdefault(letter, ["11111", "10001", "10001", "10001", "10001", "10001", "11111"])


class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, test, colour):
        for y in range(self.height):
            for x in range(self.width):
                if test(x + 0.5, y + 0.5):
                    self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)

    def glyph(self, char, cx, cy, scale, colour):
        rows = GLYPHS.get(char, GLYPHS["x"])
        left = int(round(cx - 2.5 * scale))
        top = int(round(cy - 3.5 * scale))
        for r, row in enumerate(rows):
            for c, bit in enumerate(row):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            self.put(left + c * scale + dx, top + r * scale + dy, colour)

    def png(self):
        raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in self.pixels)
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def disc(canvas, colour, mark=None):
    w, h = canvas.width, canvas.height
    r = min(w, h) / 2 - 1
    canvas.fill(lambda x, y: (x - w / 2) ** 2 + (y - h / 2) ** 2 <= r * r, colour)
    if mark is not None:
        canvas.glyph(mark, w / 2, h / 2, max(1, int(min(w, h) // 10)), WHITE)


def octagon(canvas):
    w, h = canvas.width, canvas.height
    r = min(w, h) / 2 - 1
    def inside(x, y):
        dx, dy = abs(x - w / 2), abs(y - h / 2)
        return dx <= r and dy <= r and dx + dy <= r * 1.41
    canvas.fill(inside, RED)
    canvas.glyph("x", w / 2, h / 2, max(1, int(min(w, h) // 10)), WHITE)


def triangle(canvas):
    w, h = canvas.width, canvas.height
    def inside(x, y):
        top, bottom = 2, h - 3
        if y < top or y > bottom:
            return False
        half = (y - top) / (bottom - top) * (w / 2 - 1)
        return abs(x - w / 2) <= half
    canvas.fill(inside, YELLOW)
    canvas.glyph("!", w / 2, h * 0.62, max(1, int(min(w, h) // 11)), DARK)


def program_icon(canvas):
    w, h = canvas.width, canvas.height
    canvas.rect(0, 0, w, h, TEAL)
    canvas.rect(2, 2, w - 2, h - 2, WHITE)
    canvas.rect(4, 4, w - 4, h - 4, TEAL)
    canvas.glyph("T", w / 2, h / 2, max(1, int(min(w, h) // 10)), WHITE)


def panel(canvas, name):
    w, h = canvas.width, canvas.height
    canvas.rect(0, 0, w, h, DARK)
    canvas.rect(1, 1, w - 1, h - 1, GREY)
    canvas.rect(4, 4, w - 4, h // 3, TEAL)
    initials = [c for c in name.upper() if c.isalnum()][:2] or ["x"]
    scale = max(1, h // 20)
    for i, c in enumerate(initials):
        canvas.glyph(c, w / 2 + (i - (len(initials) - 1) / 2) * 7 * scale, h * 0.65, scale, DARK)


def draw(name, width, height):
    canvas = Canvas(width, height, GREY if name.startswith("mb_") else WHITE)
    if name == "mb_stop":
        octagon(canvas)
    elif name == "mb_warning":
        triangle(canvas)
    elif name == "mb_info":
        disc(canvas, BLUE, "i")
    elif name == "mb_question":
        disc(canvas, BLUE, "?")
    elif name == "Icon1":
        program_icon(canvas)
    elif name == "pt_epara":
        disc(canvas, GREEN)
    elif name == "pt_nepar":
        disc(canvas, DARK, "x")
    elif name == "pt_ipara":
        disc(canvas, BLUE, "i")
    else:
        panel(canvas, name)
    return canvas.png()


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    name, width, height, out = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    if width <= 0 or height <= 0:
        sys.exit("width and height must be positive")
    with open(out, "wb") as f:
        f.write(draw(name, width, height))


if __name__ == "__main__":
    main()
