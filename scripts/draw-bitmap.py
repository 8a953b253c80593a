#!/usr/bin/env python3
"""Draws one of the program's pictures as an opaque PNG of a given size.

    python3 scripts/draw-bitmap.py NAME WIDTH HEIGHT OUT.png

The box icons (mb_stop, mb_warning, mb_info, mb_question), the program's
window icon (Icon1) and the parameter list's marks (pt_epara writable,
pt_nepar locked at the user's level, pt_ipara information only) and the main window's
toolbar tools and the status lamps (LED_ON lit, LED_OFF dark, LED_ERR failed read,
LED_HIDE no lamp) have designs of their own; any other name gets a neutral
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


def lamp(canvas, colour, mark=None):
    # A round lamp with a dark rim on the dialog grey.
    canvas.rect(0, 0, canvas.width, canvas.height, GREY)
    disc(canvas, DARK)
    w, h = canvas.width, canvas.height
    r = min(w, h) / 2 - 2
    canvas.fill(lambda x, y: (x - w / 2) ** 2 + (y - h / 2) ** 2 <= r * r, colour)
    if mark is not None:
        canvas.glyph(mark, w / 2, h / 2, 1, WHITE)


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


def line(canvas, x0, y0, x1, y1, colour, thickness=1.5):
    # Points within half the thickness of the segment.
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1
    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= (thickness / 2) ** 2
    canvas.fill(inside, colour)


def ring(canvas, cx, cy, r, colour, thickness=2):
    canvas.fill(lambda x, y: (r - thickness) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)


def dot(canvas, cx, cy, r, colour):
    canvas.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)


def page(canvas, x0, y0, x1, y1):
    canvas.rect(x0, y0, x1, y1, DARK)
    canvas.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, WHITE)
    for y in range(y0 + 3, y1 - 2, 3):
        canvas.rect(x0 + 3, y, x1 - 3, y + 1, GREY)


def device(canvas, x0, y0, x1, y1):
    canvas.rect(x0, y0, x1, y1, DARK)
    canvas.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, TEAL)
    canvas.rect(x0 + 2, y0 + 2, x1 - 2, y0 + 5, GREEN)


def arrow(canvas, x0, x1, y, colour):
    line(canvas, x0, y, x1, y, colour, 2)
    step = 1 if x1 > x0 else -1
    line(canvas, x1, y, x1 - 3 * step, y - 3, colour, 2)
    line(canvas, x1, y, x1 - 3 * step, y + 3, colour, 2)


# The toolbar's tools, drawn on a 24 x 24 grid and scaled to the size asked.
def tool(canvas, name):
    s = min(canvas.width, canvas.height) / 24
    def S(*values):
        return [v * s for v in values]
    if name == "TK_SeDev":
        ring(canvas, *S(10, 10, 7), BLUE, 2 * s)
        line(canvas, *S(15, 15, 21, 21), DARK, 3 * s)
    elif name == "TK_ScNet":
        line(canvas, *S(4, 12, 20, 12), DARK, 1.5 * s)
        for x in (4, 12, 20):
            line(canvas, *S(x, 12, x, 19), DARK, 1.5 * s)
            device(canvas, *[int(v) for v in S(x - 3, 17, x + 3, 22)])
        ring(canvas, *S(12, 6, 5), BLUE, 1.5 * s)
    elif name == "TK_Bdiag":
        canvas.rect(*[int(v) for v in S(2, 3, 22, 21)], DARK)
        canvas.rect(*[int(v) for v in S(3, 4, 21, 20)], (20, 40, 20))
        points = [(3, 15), (7, 15), (7, 8), (12, 8), (12, 15), (16, 15), (16, 8), (21, 8)]
        for (a, b), (c, d) in zip(points, points[1:]):
            line(canvas, *S(a, b, c, d), GREEN, 1.5 * s)
    elif name == "TK_SwLst":
        for y in (5, 11, 17):
            device(canvas, *[int(v) for v in S(3, y, 8, y + 4)])
            canvas.rect(*[int(v) for v in S(10, y + 1, 21, y + 3)], DARK)
    elif name in ("TB_Dv2Fi", "TB_Fi2Dv"):
        device(canvas, *[int(v) for v in S(1, 7, 9, 17)])
        page(canvas, *[int(v) for v in S(15, 3, 23, 21)])
        if name == "TB_Dv2Fi":
            arrow(canvas, *S(8, 15, 12), RED)
        else:
            arrow(canvas, *S(15, 8, 12), RED)
    elif name == "TK_ClAll":
        for off in (0, 4):
            canvas.rect(*[int(v) for v in S(2 + off, 2 + off, 16 + off, 14 + off)], DARK)
            canvas.rect(*[int(v) for v in S(3 + off, 5 + off, 15 + off, 13 + off)], WHITE)
            canvas.rect(*[int(v) for v in S(3 + off, 3 + off, 15 + off, 5 + off)], BLUE)
        line(canvas, *S(14, 14, 22, 22), RED, 2.5 * s)
        line(canvas, *S(22, 14, 14, 22), RED, 2.5 * s)
    elif name == "TD_Edit":
        page(canvas, *[int(v) for v in S(3, 2, 17, 22)])
        line(canvas, *S(10, 19, 21, 6), YELLOW, 3 * s)
        line(canvas, *S(9, 20, 11, 17), DARK, 1.5 * s)
    elif name == "TD_PPrn":
        page(canvas, *[int(v) for v in S(7, 2, 17, 11)])
        canvas.rect(*[int(v) for v in S(2, 10, 22, 19)], DARK)
        canvas.rect(*[int(v) for v in S(3, 11, 21, 18)], GREY)
        canvas.rect(*[int(v) for v in S(6, 16, 18, 22)], WHITE)
        dot(canvas, *S(18, 13, 1), GREEN)
    elif name == "CompareDeviceWithFile":
        device(canvas, *[int(v) for v in S(1, 5, 10, 19)])
        page(canvas, *[int(v) for v in S(14, 3, 23, 21)])
        canvas.rect(*[int(v) for v in S(10, 9, 14, 11)], RED)
        canvas.rect(*[int(v) for v in S(10, 13, 14, 15)], RED)
    elif name == "TD_Ctrl":
        canvas.rect(*[int(v) for v in S(3, 11, 21, 13)], DARK)
        dot(canvas, *S(9, 12, 4), BLUE)
        canvas.rect(*[int(v) for v in S(3, 18, 21, 20)], DARK)
        dot(canvas, *S(16, 19, 3), GREEN)
        canvas.rect(*[int(v) for v in S(3, 4, 21, 6)], DARK)
        dot(canvas, *S(13, 5, 3), RED)
    elif name == "TD_LdMot":
        canvas.rect(*[int(v) for v in S(3, 7, 17, 19)], DARK)
        canvas.rect(*[int(v) for v in S(4, 8, 16, 18)], TEAL)
        canvas.rect(*[int(v) for v in S(17, 12, 22, 14)], DARK)
        arrow(canvas, *S(6, 14, 4), RED)
    elif name == "TD_Scope":
        canvas.rect(*[int(v) for v in S(1, 3, 23, 21)], DARK)
        canvas.rect(*[int(v) for v in S(2, 4, 22, 20)], (10, 30, 10))
        previous = None
        for i in range(0, 21):
            x = 2 + i
            y = 12 - 6 * math.sin(i / 20 * 2 * math.pi)
            if previous:
                line(canvas, *S(previous[0], previous[1], x, y), GREEN, 1.5 * s)
            previous = (x, y)
    elif name == "TF_Part":
        page(canvas, *[int(v) for v in S(4, 2, 20, 22)])
        canvas.rect(*[int(v) for v in S(5, 12, 19, 21)], BLUE)
    else:
        return False
    return True


TOOLS = {"TK_SeDev", "TK_ScNet", "TK_Bdiag", "TK_SwLst", "TB_Dv2Fi", "TB_Fi2Dv", "TK_ClAll", "TD_Edit", "TD_PPrn",
         "CompareDeviceWithFile", "TD_Ctrl", "TD_LdMot", "TD_Scope", "TF_Part"}


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
    elif name == "LED_ON":
        lamp(canvas, GREEN)
    elif name == "LED_OFF":
        lamp(canvas, (90, 90, 90))
    elif name == "LED_ERR":
        lamp(canvas, RED, "x")
    elif name == "LED_HIDE":
        canvas = Canvas(width, height, GREY)
    elif name in TOOLS:
        canvas = Canvas(width, height, GREY)
        tool(canvas, name)
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
