#!/usr/bin/env python3
"""Draws the program's pictures: icon, tool cursors, start picture, toolbar
and status bitmaps. Pure Python, deterministic: running it again gives the
same bytes. Output goes to resources/images/.

Toolbar, status and cursor pictures are drawn once for each display scale
(100, 150 and 200 %), not enlarged: each is given in the pixels of its
96-dpi size and a Grid puts that on the larger canvas, cell edges on whole
pixels and every line as many whole pixels wide as its scale allows."""
import math
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "images")
MAGENTA = (255, 0, 255)


def walk(x0, y0, x1, y1):
    """The pixels of a line from one end to the other (Bresenham)."""
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        yield x0, y0
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


class Canvas:
    def __init__(self, w, h, fill=(255, 255, 255, 0)):
        self.w, self.h = w, h
        self.px = [list(fill) for _ in range(w * h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = list(c) if len(c) == 4 else list(c) + [255]

    def get(self, x, y):
        return self.px[y * self.w + x]

    def rect(self, x0, y0, x1, y1, c):  # filled, inclusive
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c, t=1):
        self.rect(x0, y0, x1, y0 + t - 1, c)
        self.rect(x0, y1 - t + 1, x1, y1, c)
        self.rect(x0, y0, x0 + t - 1, y1, c)
        self.rect(x1 - t + 1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c):
        for x, y in walk(x0, y0, x1, y1):
            self.set(x, y, c)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                p = other.get(x, y)
                if p[3]:
                    self.set(ox + x, oy + y, p)


class Grid:
    """Draws on `canvas` a picture given in cells, the pixels of its 96-dpi
    size, at num/den of that size. Cell v starts at pixel e(v) (half up), an
    area covers its cells' pixels, and a line t cells wide is w(t) = t * scale
    whole pixels (at least one), so that every line of a picture keeps one
    width. At 1/1 every call draws exactly the pixels it names."""

    def __init__(self, canvas, num=1, den=1, ox=0, oy=0):
        self.c = canvas
        self.num, self.den = num, den
        self.ox, self.oy = ox, oy  # the picture's origin, in cells
        self.native = num == den

    def e(self, v):
        return (2 * v * self.num + self.den) // (2 * self.den)

    def ex(self, x):
        return self.e(self.ox + x)

    def ey(self, y):
        return self.e(self.oy + y)

    def w(self, t=1):
        return max(1, t * self.num // self.den)

    def scaled(self, v):  # a length in cells, in pixels (not snapped)
        return v * self.num / self.den

    def rect(self, x0, y0, x1, y1, c):  # filled, cells inclusive
        self.c.rect(self.ex(x0), self.ey(y0), self.ex(x1 + 1) - 1, self.ey(y1 + 1) - 1, c)

    def frame(self, x0, y0, x1, y1, c, t=1):  # the outline inside the cells' area
        self.c.frame(self.ex(x0), self.ey(y0), self.ex(x1 + 1) - 1, self.ey(y1 + 1) - 1, c, self.w(t))

    def hline(self, x0, x1, y, c, t=1):
        top = self.ey(y)
        self.c.rect(self.ex(x0), top, self.ex(x1 + 1) - 1, top + self.w(t) - 1, c)

    def vline(self, x, y0, y1, c, t=1):
        left = self.ex(x)
        self.c.rect(left, self.ey(y0), left + self.w(t) - 1, self.ey(y1 + 1) - 1, c)

    def dot(self, x, y, c):
        left, top, w = self.ex(x), self.ey(y), self.w()
        self.c.rect(left, top, left + w - 1, top + w - 1, c)

    def line(self, x0, y0, x1, y1, c, t=1, offset=0, square=False):
        """A line between the cells' first pixels, w(t) pixels across it:
        a run across its longer direction from `offset` cells on, or a
        square of w(t) at each pixel."""
        w = self.w(t)
        off = self.e(offset) if offset >= 0 else -self.e(-offset)
        ax, ay, bx, by = self.ex(x0), self.ey(y0), self.ex(x1), self.ey(y1)
        across_x = abs(by - ay) >= abs(bx - ax)
        for x, y in walk(ax, ay, bx, by):
            if square:
                self.c.rect(x, y, x + w - 1, y + w - 1, c)
            elif across_x:
                self.c.rect(x + off, y, x + off + w - 1, y, c)
            else:
                self.c.rect(x, y + off, x, y + off + w - 1, c)

    def cell_of(self, px, py):  # a pixel's centre, in cells
        return ((px + 0.5) * self.den / self.num - self.ox, (py + 0.5) * self.den / self.num - self.oy)

    def disc(self, cx, cy, r2, c, edge=None):
        """Pixels whose centres lie within sqrt(r2) cells of (cx, cy); with
        `edge`, those less than w(1) pixels inside the rim take it."""
        rim = math.sqrt(r2) - self.w() * self.den / self.num
        for py in range(self.c.h):
            for px in range(self.c.w):
                u, v = self.cell_of(px, py)
                d = (u - cx) ** 2 + (v - cy) ** 2
                if d <= r2:
                    self.c.set(px, py, c if edge is None or d <= rim * rim else edge)

    def inside(self, points, px, py):
        u, v = self.cell_of(px, py)
        hit = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > v) != (by > v) and u < ax + (v - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit

    def polygon(self, points, c, edge=None, t=1):
        """Pixels whose centres lie in the polygon (cells); with `edge`, the
        ones within w(t) pixels of one outside (counted along rows and
        columns) take it."""
        inside = [[self.inside(points, px, py) for px in range(self.c.w)] for py in range(self.c.h)]
        w = self.w(t)

        def out(px, py):
            return not (0 <= px < self.c.w and 0 <= py < self.c.h and inside[py][px])

        for py in range(self.c.h):
            for px in range(self.c.w):
                if not inside[py][px]:
                    continue
                rim = edge is not None and any(
                    out(px + dx, py + dy)
                    for dx in range(-w, w + 1) for dy in range(-w, w + 1) if abs(dx) + abs(dy) <= w)
                self.c.set(px, py, edge if rim else c)


def bmp24(c, bg=(255, 255, 255)):
    """Bottom-up 24-bit BMP; transparent pixels become bg."""
    row = (c.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(c.h - 1, -1, -1):
        line = bytearray()
        for x in range(c.w):
            r, g, b, a = c.get(x, y)
            if not a:
                r, g, b = bg
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    hdr = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return hdr + info + bytes(data)


def dib32(c):
    """The DIB of one icon or cursor image: 32-bit colour and a 1-bit AND mask."""
    xor = bytearray()
    for y in range(c.h - 1, -1, -1):
        for x in range(c.w):
            r, g, b, a = c.get(x, y)
            xor += bytes((b, g, r, a))
    mrow = ((c.w + 31) // 32) * 4
    mask = bytearray()
    for y in range(c.h - 1, -1, -1):
        bits = bytearray(mrow)
        for x in range(c.w):
            if c.get(x, y)[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(images, cursor_hotspot=None):
    kind = 2 if cursor_hotspot else 1
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for c in images:
        d = dib32(c)
        p1, p2 = (cursor_hotspot if cursor_hotspot else (1, 32))
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, p1, p2, len(d), offset)
        offset += len(d)
        blobs.append(d)
    return out + b"".join(blobs)


# ---- Pictures ----------------------------------------------------------------

WHITE = (255, 255, 255)
FRAME = (236, 236, 236)
EDGE = (60, 60, 70)
GLASS = (170, 200, 240)
GLASS_HI = (215, 232, 252)
BLUE = (0, 0, 128)
GREEN = (0, 128, 0)
RED = (200, 30, 30)
GREY = (128, 128, 128)


def window_picture(size):
    """A white two-sash window with blue glass: the program's icon."""
    c = Canvas(size, size)
    m = max(1, size // 16)
    c.rect(m, m, size - 1 - m, size - 1 - m, FRAME)
    c.frame(m, m, size - 1 - m, size - 1 - m, EDGE, max(1, size // 32))
    mid = size // 2
    t = max(2, size // 10)
    for x0, x1 in ((m + t, mid - t // 2), (mid + t // 2, size - 1 - m - t)):
        c.rect(x0, m + t, x1, size - 1 - m - t, GLASS)
        for k in range(0, (x1 - x0) // 2):  # a highlight across the pane
            c.set(x0 + k + 1, m + t + (x1 - x0) // 2 - k, GLASS_HI)
        c.frame(x0, m + t, x1, size - 1 - m - t, EDGE)
    c.rect(mid - t // 4, m, mid + t // 4, size - 1 - m, EDGE if size < 24 else (200, 200, 200))
    c.frame(m, m, size - 1 - m, size - 1 - m, EDGE, max(1, size // 32))
    return c


# The pointer at the hotspot (0, 0), black with a white rim: the pixels
# drawn at 96 dpi, and the outline they follow (cell corners) for larger
# scales.
ARROW_ROWS = [
    "X", "XX", "X.X", "X..X", "X...X", "X....X", "X.....X", "X......X", "X.......X",
    "X........X", "X.....XXXXX", "X..X..X", "X.X X..X", "XX  X..X", "X    X..X", "     X..X",
    "      XX",
]
ARROW_OUTLINE = [(0, 0), (11, 11), (7, 11), (9, 16), (8, 17), (6, 17), (4, 12), (1, 15), (0, 15)]


def arrow(g):
    if g.native:
        for y, row in enumerate(ARROW_ROWS):
            for x, ch in enumerate(row):
                if ch == "X":
                    g.c.set(g.ox + x, g.oy + y, (0, 0, 0))
                elif ch == ".":
                    g.c.set(g.ox + x, g.oy + y, WHITE)
    else:
        g.polygon(ARROW_OUTLINE, WHITE, edge=(0, 0, 0))


def tool_glyph(i, g):
    """The 14 x 14 symbol of tool i (0-11), drawn at the cursor's lower right."""
    if i == 0:  # frame
        g.frame(0, 0, 13, 13, EDGE, 2)
    elif i in (1, 3):  # vertical mullion, fixed or false
        g.frame(0, 0, 13, 13, GREY)
        g.rect(6, 0, 7, 13, BLUE if i == 1 else GREEN)
        if i == 3:
            for y in range(1, 13, 3):
                g.hline(6, 7, y, WHITE)
    elif i in (2, 4):  # horizontal mullion, fixed or false
        g.frame(0, 0, 13, 13, GREY)
        g.rect(0, 6, 13, 7, BLUE if i == 2 else GREEN)
        if i == 4:
            for x in range(1, 13, 3):
                g.vline(x, 6, 7, WHITE)
    elif i == 5:  # sash with its opening symbol
        g.frame(0, 0, 13, 13, EDGE)
        g.frame(2, 2, 11, 11, BLUE)
        g.line(2, 2, 11, 6, BLUE)
        g.line(11, 6, 2, 11, BLUE)
    elif i == 6:  # glass
        g.rect(1, 1, 12, 12, (217, 217, 255))
        g.frame(0, 0, 13, 13, EDGE)
        g.line(3, 9, 9, 3, WHITE)
    elif i == 7:  # acrylic
        g.rect(1, 1, 12, 12, WHITE)
        g.frame(0, 0, 13, 13, EDGE)
        for k in range(0, 14, 4):
            g.line(k, 13, 13, k, (190, 190, 190))
    elif i == 8:  # muntins
        g.rect(1, 1, 12, 12, (217, 217, 255))
        g.frame(0, 0, 13, 13, EDGE)
        g.rect(0, 6, 13, 7, EDGE)
        g.rect(6, 0, 7, 13, EDGE)
    elif i == 9:  # delete
        g.line(1, 1, 12, 12, RED, t=3, offset=-1)
        g.line(12, 1, 1, 12, RED, t=3, offset=-1)
    elif i == 10:  # dimension
        g.hline(0, 13, 7, BLUE)
        g.line(0, 7, 3, 4, BLUE)
        g.line(0, 7, 3, 10, BLUE)
        g.line(13, 7, 10, 4, BLUE)
        g.line(13, 7, 10, 10, BLUE)
        g.vline(0, 2, 12, BLUE)
        g.vline(13, 2, 12, BLUE)
    else:  # change an element
        g.frame(0, 0, 13, 13, EDGE)
        g.line(3, 10, 10, 3, (200, 120, 0))
        g.line(4, 10, 10, 4, (200, 120, 0))
        g.rect(2, 10, 3, 11, EDGE)


def cursor(i, num=1, den=1):
    """Tool i's cursor, 32 x 32 at 96 dpi, at num/den of that size."""
    size = 32 * num // den
    c = Canvas(size, size)
    g = Grid(c, num, den)
    # A white backing so the symbol reads on any canvas colour.
    g.rect(12, 14, 27, 29, WHITE)
    glyph = Canvas(g.e(14), g.e(14))
    tool_glyph(i, Grid(glyph, num, den))
    c.blit(glyph, g.e(13), g.e(15))
    arrow(g)
    return c


def start_picture():
    w, h = 360, 270
    c = Canvas(w, h)
    for y in range(h):  # a soft vertical gradient
        t = y / (h - 1)
        col = (int(250 - 22 * t), int(251 - 16 * t), int(255 - 8 * t))
        c.rect(0, y, w - 1, y, col)
    # A band behind the program's name.
    c.rect(0, 70, w - 1, 160, (255, 255, 255))
    c.rect(0, 70, w - 1, 71, (200, 210, 230))
    c.rect(0, 159, w - 1, 160, (200, 210, 230))
    # Two small windows at the bottom corners.
    for ox in (18, 282):
        win = window_picture(60)
        c.blit(win, ox, 180)
    c.frame(0, 0, w - 1, h - 1, (150, 160, 180))
    return c


def strip(glyphs, w=16, h=16, num=1, den=1, grey=False):
    """Pictures of w x h at 96 dpi, drawn at num/den of that size side by
    side on magenta, optionally greyed."""
    pw, ph = w * num // den, h * num // den
    c = Canvas(pw * len(glyphs), ph, MAGENTA + (255,))
    for n, draw in enumerate(glyphs):
        g = Canvas(pw, ph)
        draw(Grid(g, num, den))
        for y in range(ph):
            for x in range(pw):
                p = g.get(x, y)
                if p[3]:
                    if grey:
                        v = (p[0] * 30 + p[1] * 59 + p[2] * 11) // 100
                        v = 128 + v // 2
                        p = [v, v, v, 255]
                    c.set(pw * n + x, y, p)
    return c


def g_new(g):
    g.rect(3, 1, 12, 14, WHITE)
    g.frame(3, 1, 12, 14, EDGE)
    g.line(9, 1, 12, 4, EDGE)
    g.hline(5, 10, 5, GREY)
    g.hline(5, 10, 8, GREY)
    g.hline(5, 8, 11, GREY)


def g_preview(g):
    g.frame(1, 1, 9, 9, EDGE)
    g.rect(2, 2, 8, 8, GLASS_HI)
    g.line(9, 9, 12, 12, EDGE, t=2, square=True)


def g_status(g):
    g.vline(3, 1, 14, EDGE)
    g.rect(4, 2, 12, 7, (230, 120, 20))
    g.rect(12, 11, 14, 13, EDGE)


def g_print(g):
    g.rect(4, 1, 11, 5, WHITE)
    g.frame(4, 1, 11, 5, EDGE)
    g.rect(1, 6, 14, 11, (190, 190, 200))
    g.frame(1, 6, 14, 11, EDGE)
    g.rect(4, 10, 11, 14, WHITE)
    g.frame(4, 10, 11, 14, EDGE)
    g.dot(12, 8, GREEN)


def g_settings(g):
    g.rect(5, 1, 10, 14, GREY)
    g.rect(1, 5, 14, 10, GREY)
    g.rect(3, 3, 12, 12, (110, 110, 120))
    g.rect(6, 6, 9, 9, WHITE)


def g_exit(g):
    g.rect(2, 1, 9, 14, (150, 100, 60))
    g.frame(2, 1, 9, 14, EDGE)
    g.dot(8, 8, (250, 220, 80))
    g.hline(10, 14, 8, RED)
    g.line(14, 8, 12, 6, RED)
    g.line(14, 8, 12, 10, RED)


def g_help(g):
    g.rect(2, 2, 13, 13, BLUE)
    for (x, y) in ((2, 2), (13, 2), (2, 13), (13, 13)):
        g.dot(x, y, (0, 0, 0, 0))
    g.hline(6, 8, 4, WHITE)
    g.vline(9, 5, 6, WHITE)
    g.line(8, 7, 7, 8, WHITE)
    g.vline(7, 8, 9, WHITE)
    g.dot(7, 11, WHITE)


def g_add_window(g):
    g.c.blit(window_picture(g.e(13)), 0, 0)
    g.hline(11, 15, 12, GREEN)
    g.vline(13, 10, 14, GREEN)


def g_add_accessory(g):
    g.rect(2, 4, 11, 12, (200, 170, 110))
    g.frame(2, 4, 11, 12, EDGE)
    g.hline(2, 11, 7, EDGE)
    g.hline(11, 15, 12, GREEN)
    g.vline(13, 10, 14, GREEN)


def g_save(g):
    g.rect(1, 1, 14, 14, BLUE)
    g.rect(4, 1, 11, 6, WHITE)
    g.rect(4, 9, 11, 14, (200, 200, 210))


def g_cancel(g):
    g.line(3, 3, 12, 12, RED, t=2, offset=-1)
    g.line(12, 3, 3, 12, RED, t=2, offset=-1)


STATUS_COLOURS = [(0, 120, 215), (230, 140, 0), (0, 160, 80), (110, 80, 200), (60, 60, 60), (200, 30, 30)]


def status_dot(col):
    def draw(g):
        g.disc(8, 8, 30, col, edge=EDGE)
    return draw


# The print preview's toolbar (pagora.dll): three zoom modes, four page
# moves, print and close.
def page_outline(g, x0, y0, x1, y1):
    g.rect(x0, y0, x1, y1, WHITE)
    g.frame(x0, y0, x1, y1, EDGE)


def g_zoom_complete(g):
    page_outline(g, 4, 1, 11, 14)
    for y in (4, 6, 8, 10):
        g.hline(6, 9, y, GREY)
    for (x, y, dx, dy) in ((1, 1, 1, 1), (14, 1, -1, 1), (1, 14, 1, -1), (14, 14, -1, -1)):
        g.dot(x, y, BLUE)
        g.dot(x + dx, y, BLUE)
        g.dot(x, y + dy, BLUE)


def g_zoom_natural(g):
    page_outline(g, 2, 1, 13, 14)
    for x in (4, 11):
        g.vline(x, 4, 10, BLUE)
    g.dot(3, 5, BLUE)
    g.dot(10, 5, BLUE)
    g.dot(7, 5, BLUE)
    g.dot(7, 9, BLUE)


def g_zoom_width(g):
    page_outline(g, 3, 3, 12, 15)
    for y in (6, 9, 12):
        g.hline(5, 10, y, GREY)
    g.hline(0, 15, 1, BLUE)
    g.line(0, 1, 2, 0, BLUE)
    g.line(0, 1, 2, 2, BLUE)
    g.line(15, 1, 13, 0, BLUE)
    g.line(15, 1, 13, 2, BLUE)


def triangle(g, tip_x, base_x, colour):
    """A triangle pointing at column tip_x, its base on column base_x, 13
    rows high there and centred on row 8."""
    if g.native:
        step = 1 if base_x > tip_x else -1
        for k, x in enumerate(range(tip_x, base_x + step, step)):
            g.c.rect(x, 8 - k, x, 7 + k if k else 8, colour)
        return
    half = abs(base_x - tip_x)
    tip, base = (tip_x, base_x + 1) if base_x > tip_x else (tip_x + 1, base_x)
    g.polygon([(tip, 8), (base, 8 - half), (base, 8 + half)], colour)


def preview_icon(size):
    """The program's window on a sheet of paper under a magnifier."""
    c = Canvas(size, size)
    m = size // 16
    c.rect(m * 2, 0, size - 1 - m * 4, size - 1, WHITE)
    c.frame(m * 2, 0, size - 1 - m * 4, size - 1, EDGE)
    w = window_picture(size // 2)
    c.blit(w, m * 4, m * 3)
    r = size // 5
    cx, cy = size - 1 - r - m, size - 1 - r - m * 2
    for y in range(size):
        for x in range(size):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if d <= r * r:
                c.set(x, y, GLASS_HI if d < (r - max(1, size // 16)) ** 2 else EDGE)
    for k in range(max(2, size // 6)):
        for t in range(max(1, size // 16) + 1):
            c.set(cx - r - k + t, cy + r + k, EDGE)
    return c


def g_first(g):
    g.rect(3, 3, 4, 12, GREEN)
    triangle(g, 5, 11, GREEN)


def g_back(g):
    triangle(g, 4, 10, GREEN)


def g_next(g):
    triangle(g, 11, 5, GREEN)


def g_last(g):
    triangle(g, 10, 4, GREEN)
    g.rect(11, 3, 12, 12, GREEN)


def g_close(g):
    g.rect(2, 2, 13, 13, (240, 240, 240))
    g.frame(2, 2, 13, 13, EDGE)
    g.line(5, 5, 10, 10, RED, t=2)
    g.line(10, 5, 5, 10, RED, t=2)


# ---- Designer toolbar: 26 x 25 images --------------------------------------------


def d_pointer(g):
    arrow(Grid(g.c, g.num, g.den, 8, 4))


def d_window_outline(g):
    g.rect(3, 3, 22, 21, FRAME)
    g.frame(3, 3, 22, 21, EDGE, 2)


def d_frame(g):
    d_window_outline(g)
    g.rect(7, 7, 18, 17, (255, 236, 221))
    g.frame(7, 7, 18, 17, EDGE)


def d_mullion(g):
    d_frame(g)
    g.rect(12, 3, 13, 21, BLUE)


def d_sash(g):
    d_frame(g)
    g.frame(8, 8, 17, 16, BLUE)
    g.line(8, 8, 17, 12, BLUE)
    g.line(17, 12, 8, 16, BLUE)


def d_filling(g):
    d_window_outline(g)
    g.rect(6, 6, 19, 18, (217, 217, 255))
    g.frame(6, 6, 19, 18, EDGE)
    g.line(9, 15, 15, 9, WHITE, t=2)


def d_muntin(g):
    d_filling(g)
    g.hline(6, 19, 12, EDGE)
    g.vline(12, 6, 18, EDGE)


def d_factors(g):
    g.rect(4, 4, 21, 20, (250, 230, 200))
    g.frame(4, 4, 21, 20, EDGE)
    for k, col in enumerate(((200, 30, 30), (230, 140, 0), (0, 120, 215))):
        g.rect(7 + 5 * k, 16 - 4 * k, 9 + 5 * k, 18, col)


def d_save(g):
    g.rect(4, 3, 21, 21, BLUE)
    g.rect(8, 3, 17, 10, WHITE)
    g.rect(14, 4, 16, 9, BLUE)
    g.rect(8, 14, 17, 21, (200, 200, 210))


def d_cancel(g):
    g.line(6, 5, 19, 19, RED, t=3, offset=-1)
    g.line(19, 5, 6, 19, RED, t=3, offset=-1)


def d_help(g):
    g.disc(13, 12.5, 90, BLUE)
    if g.native:
        for x, y in ((10, 6), (11, 6), (12, 6), (13, 6), (14, 6), (15, 7), (15, 8), (15, 9), (14, 10), (13, 11),
                     (12, 12), (12, 13), (12, 14), (12, 17), (12, 18), (13, 17), (13, 18), (9, 7), (9, 8)):
            g.c.set(x, y, WHITE)
            g.c.set(x + 1 if x < 12 else x, y + 1 if y < 14 else y, WHITE)
        return
    g.hline(10, 14, 6, WHITE, t=2)
    g.vline(9, 7, 8, WHITE, t=2)
    g.vline(14, 7, 9, WHITE, t=2)
    g.line(14, 10, 12, 12, WHITE, t=2, square=True)
    g.vline(12, 12, 14, WHITE, t=2)
    g.rect(12, 17, 13, 18, WHITE)


def d_undo(g, mirror=False):
    """A hooked arrow turning back to the left (redo: to the right)."""
    col = (0, 110, 60)
    w = g.w(2)

    def put(x, y):  # a dot of the stroke's width, pixel (x, y) its top left
        for dx in range(w):
            for dy in range(w):
                xx = x + dx
                g.c.set(g.c.w - 1 - xx if mirror else xx, y + dy, col + (255,))

    def px(v):
        return int(math.floor(g.scaled(v) + 0.5))

    # The hook: half a circle round (14, 13), open to the left.
    for step in range(0, 181, 4) if g.native else range(0, 181):
        a = math.radians(90 - step)
        put(px(14 + 6 * math.cos(a)), px(13 - 6 * math.sin(a)))
    for x in range(g.e(7), g.e(14) + 1):
        put(x, g.e(7))
    for x in range(g.e(9), g.e(14) + 1):
        put(x, g.e(19))
    # The head at the top line's left end.
    for x, y in walk(g.e(5), g.e(7), g.e(9), g.e(3)):
        put(x, y)
    for x, y in walk(g.e(5), g.e(7), g.e(9), g.e(11)):
        put(x, y)


def d_redo(g):
    d_undo(g, mirror=True)


# Undo and Redo come last, so that the older pictures keep their places.
DESIGNER_BAR = [d_pointer, d_frame, d_mullion, d_sash, d_filling, d_muntin, d_factors, d_save, d_cancel, d_help,
                d_undo, d_redo]

# The display scales the toolbar and status strips are drawn for beside
# 100 %: the file name's suffix and the scale.
LARGER_SCALES = (("150", 3, 2), ("200", 2, 1))


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {
        # 16 to 48 as drawn before; 24, 64, 128 and 256 for larger display
        # scales, then 20 and 40, the small and large icons at 125 %.
        "app.ico": ico([window_picture(s) for s in (16, 32, 48, 24, 64, 128, 256, 20, 40)]),
        "start.bmp": bmp24(start_picture()),
        # 16 and 32 as drawn before, then the small and large icons at 125,
        # 150 and 200 %.
        "preview.ico": ico([preview_icon(s) for s in (16, 32, 20, 40, 24, 48, 64)]),
    }
    for i in range(12):
        # 32 pixels at 96 dpi; 48 and 64 for 150 % and 200 % (the hot spot
        # stays the top left corner).
        files["tool%02d.cur" % (i + 1)] = ico([cursor(i), cursor(i, 3, 2), cursor(i, 2, 1)],
                                              cursor_hotspot=(0, 0))
    main_bar = [g_new, g_preview, g_status, g_print, g_settings, g_exit, g_help]
    order_bar = [g_add_window, g_add_accessory, g_status, g_print, g_save, g_cancel, g_help]
    preview_bar = [g_zoom_complete, g_zoom_natural, g_zoom_width, g_first, g_back, g_next, g_last,
                   g_print, g_close]
    status = [status_dot(c) for c in STATUS_COLOURS]
    strips = (("toolbar", main_bar, 16, 16, True), ("order_toolbar", order_bar, 16, 16, True),
              ("preview_toolbar", preview_bar, 16, 16, True), ("designer_toolbar", DESIGNER_BAR, 26, 25, True),
              ("status", status, 16, 16, False))
    for base, glyphs, w, h, greyed in strips:
        for grey in (False, True) if greyed else (False,):
            name = base + ("_disabled" if grey else "")
            files[name + ".bmp"] = bmp24(strip(glyphs, w, h, grey=grey))
            for pct, num, den in LARGER_SCALES:
                files["%s_%s.bmp" % (name, pct)] = bmp24(strip(glyphs, w, h, num, den, grey))
    for name, data in sorted(files.items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print("make-images: %d files in %s" % (len(files), os.path.normpath(OUT)))


if __name__ == "__main__":
    sys.exit(main())
