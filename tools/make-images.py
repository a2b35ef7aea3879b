#!/usr/bin/env python3
"""Draws the program's pictures: icon, tool cursors, start picture, toolbar
and status bitmaps. Pure Python, deterministic: running it again gives the
same bytes. Output goes to resources/images/."""
import math
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "images")
MAGENTA = (255, 0, 255)


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

    def line(self, x0, y0, x1, y1, c, dash=0):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err, i = dx + dy, 0
        while True:
            if not dash or (i // dash) % 2 == 0:
                self.set(x0, y0, c)
            i += 1
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                p = other.get(x, y)
                if p[3]:
                    self.set(ox + x, oy + y, p)


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


def arrow(c):
    """The standard pointer shape at the hotspot (0, 0), black with a white rim."""
    shape = [
        "X", "XX", "X.X", "X..X", "X...X", "X....X", "X.....X", "X......X", "X.......X",
        "X........X", "X.....XXXXX", "X..X..X", "X.X X..X", "XX  X..X", "X    X..X", "     X..X",
        "      XX",
    ]
    for y, row in enumerate(shape):
        for x, ch in enumerate(row):
            if ch == "X":
                c.set(x, y, (0, 0, 0))
            elif ch == ".":
                c.set(x, y, WHITE)


def tool_glyph(i):
    """A 14 x 14 symbol of tool i (0-11), drawn at the cursor's lower right."""
    g = Canvas(14, 14)
    if i == 0:  # frame
        g.frame(0, 0, 13, 13, EDGE, 2)
    elif i in (1, 3):  # vertical mullion, fixed or false
        g.frame(0, 0, 13, 13, GREY)
        g.rect(6, 0, 7, 13, BLUE if i == 1 else GREEN)
        if i == 3:
            for y in range(1, 13, 3):
                g.rect(6, y, 7, y, WHITE)
    elif i in (2, 4):  # horizontal mullion, fixed or false
        g.frame(0, 0, 13, 13, GREY)
        g.rect(0, 6, 13, 7, BLUE if i == 2 else GREEN)
        if i == 4:
            for x in range(1, 13, 3):
                g.rect(x, 6, x, 7, WHITE)
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
        for k in range(-1, 2):
            g.line(1 + k, 1, 12 + k, 12, RED)
            g.line(12 + k, 1, 1 + k, 12, RED)
    elif i == 10:  # dimension
        g.line(0, 7, 13, 7, BLUE)
        g.line(0, 7, 3, 4, BLUE)
        g.line(0, 7, 3, 10, BLUE)
        g.line(13, 7, 10, 4, BLUE)
        g.line(13, 7, 10, 10, BLUE)
        g.rect(0, 2, 0, 12, BLUE)
        g.rect(13, 2, 13, 12, BLUE)
    else:  # change an element
        g.frame(0, 0, 13, 13, EDGE)
        g.line(3, 10, 10, 3, (200, 120, 0))
        g.line(4, 10, 10, 4, (200, 120, 0))
        g.rect(2, 10, 3, 11, EDGE)
    return g


def cursor(i):
    c = Canvas(32, 32)
    g = tool_glyph(i)
    # A white backing so the symbol reads on any canvas colour.
    c.rect(12, 14, 12 + g.w + 1, 14 + g.h + 1, WHITE)
    c.blit(g, 13, 15)
    arrow(c)
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


def strip(glyphs, grey=False):
    """Images of 16 x 16 side by side on magenta, optionally greyed."""
    c = Canvas(16 * len(glyphs), 16, MAGENTA + (255,))
    for n, draw in enumerate(glyphs):
        g = Canvas(16, 16)
        draw(g)
        for y in range(16):
            for x in range(16):
                p = g.get(x, y)
                if p[3]:
                    if grey:
                        v = (p[0] * 30 + p[1] * 59 + p[2] * 11) // 100
                        v = 128 + v // 2
                        p = [v, v, v, 255]
                    c.set(16 * n + x, y, p)
    return c


def upscale(c, w, h):
    """The picture c at w x h, each pixel taken from its nearest source
    pixel: edges stay hard (no blur), as toolbar pictures should."""
    out = Canvas(w, h, MAGENTA + (255,))
    for y in range(h):
        for x in range(w):
            out.set(x, y, c.get(x * c.w // w, y * c.h // h))
    return out


def scaled_strip(strip_canvas, count, w, h, scale_num, scale_den):
    """A strip of `count` pictures of w x h redrawn at scale_num/scale_den:
    each picture is scaled on its own so the pictures keep their places."""
    sw, sh = w * scale_num // scale_den, h * scale_num // scale_den
    out = Canvas(sw * count, sh, MAGENTA + (255,))
    for n in range(count):
        one = Canvas(w, h, MAGENTA + (255,))
        for y in range(h):
            for x in range(w):
                one.set(x, y, strip_canvas.get(n * w + x, y))
        out.blit(upscale(one, sw, sh), n * sw, 0)
    return out


def g_new(g):
    g.rect(3, 1, 12, 14, WHITE)
    g.frame(3, 1, 12, 14, EDGE)
    g.line(9, 1, 12, 4, EDGE)
    g.rect(5, 5, 10, 5, GREY)
    g.rect(5, 8, 10, 8, GREY)
    g.rect(5, 11, 8, 11, GREY)


def g_preview(g):
    g.frame(1, 1, 9, 9, EDGE)
    g.rect(2, 2, 8, 8, GLASS_HI)
    for k in range(4):
        g.rect(9 + k, 9 + k, 10 + k, 10 + k, EDGE)


def g_status(g):
    g.rect(3, 1, 3, 14, EDGE)
    g.rect(4, 2, 12, 7, (230, 120, 20))
    g.rect(12, 11, 14, 13, EDGE)


def g_print(g):
    g.rect(4, 1, 11, 5, WHITE)
    g.frame(4, 1, 11, 5, EDGE)
    g.rect(1, 6, 14, 11, (190, 190, 200))
    g.frame(1, 6, 14, 11, EDGE)
    g.rect(4, 10, 11, 14, WHITE)
    g.frame(4, 10, 11, 14, EDGE)
    g.set(12, 8, GREEN)


def g_settings(g):
    g.rect(5, 1, 10, 14, GREY)
    g.rect(1, 5, 14, 10, GREY)
    g.rect(3, 3, 12, 12, (110, 110, 120))
    g.rect(6, 6, 9, 9, WHITE)


def g_exit(g):
    g.rect(2, 1, 9, 14, (150, 100, 60))
    g.frame(2, 1, 9, 14, EDGE)
    g.set(8, 8, (250, 220, 80))
    g.line(10, 8, 14, 8, RED)
    g.line(14, 8, 12, 6, RED)
    g.line(14, 8, 12, 10, RED)


def g_help(g):
    g.rect(2, 2, 13, 13, BLUE)
    for (x, y) in ((2, 2), (13, 2), (2, 13), (13, 13)):
        g.set(x, y, (0, 0, 0, 0))
    for x, y in ((6, 4), (7, 4), (8, 4), (9, 5), (9, 6), (8, 7), (7, 8), (7, 9), (7, 11)):
        g.set(x, y, WHITE)


def g_add_window(g):
    w = window_picture(13)
    g.blit(w, 0, 0)
    g.rect(11, 12, 15, 12, GREEN)
    g.rect(13, 10, 13, 14, GREEN)


def g_add_accessory(g):
    g.rect(2, 4, 11, 12, (200, 170, 110))
    g.frame(2, 4, 11, 12, EDGE)
    g.rect(2, 7, 11, 7, EDGE)
    g.rect(11, 12, 15, 12, GREEN)
    g.rect(13, 10, 13, 14, GREEN)


def g_save(g):
    g.rect(1, 1, 14, 14, BLUE)
    g.rect(4, 1, 11, 6, WHITE)
    g.rect(4, 9, 11, 14, (200, 200, 210))


def g_cancel(g):
    for k in range(-1, 1):
        g.line(3 + k, 3, 12 + k, 12, RED)
        g.line(12 + k, 3, 3 + k, 12, RED)


STATUS_COLOURS = [(0, 120, 215), (230, 140, 0), (0, 160, 80), (110, 80, 200), (60, 60, 60), (200, 30, 30)]


def status_dot(col):
    def draw(g):
        for y in range(16):
            for x in range(16):
                d = (x - 7.5) ** 2 + (y - 7.5) ** 2
                if d <= 30:
                    g.set(x, y, col if d <= 20 else EDGE)
    return draw


# The print preview's toolbar (pagora.dll): three zoom modes, four page
# moves, print and close.
def page_outline(g, x0, y0, x1, y1):
    g.rect(x0, y0, x1, y1, WHITE)
    g.frame(x0, y0, x1, y1, EDGE)


def g_zoom_complete(g):
    page_outline(g, 4, 1, 11, 14)
    for y in (4, 6, 8, 10):
        g.rect(6, y, 9, y, GREY)
    for (x, y, dx, dy) in ((1, 1, 1, 1), (14, 1, -1, 1), (1, 14, 1, -1), (14, 14, -1, -1)):
        g.set(x, y, BLUE)
        g.set(x + dx, y, BLUE)
        g.set(x, y + dy, BLUE)


def g_zoom_natural(g):
    page_outline(g, 2, 1, 13, 14)
    for x in (4, 11):
        g.rect(x, 4, x, 10, BLUE)
    g.set(3, 5, BLUE)
    g.set(10, 5, BLUE)
    g.set(7, 5, BLUE)
    g.set(7, 9, BLUE)


def g_zoom_width(g):
    page_outline(g, 3, 3, 12, 15)
    for y in (6, 9, 12):
        g.rect(5, y, 10, y, GREY)
    g.line(0, 1, 15, 1, BLUE)
    g.line(0, 1, 2, 0, BLUE)
    g.line(0, 1, 2, 2, BLUE)
    g.line(15, 1, 13, 0, BLUE)
    g.line(15, 1, 13, 2, BLUE)


def triangle(g, tip_x, base_x, colour):
    step = 1 if base_x > tip_x else -1
    for k, x in enumerate(range(tip_x, base_x + step, step)):
        g.rect(x, 8 - k, x, 7 + k if k else 8, colour)


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
    for k in range(0, 2):
        g.line(5 + k, 5, 10 + k, 10, RED)
        g.line(10 + k, 5, 5 + k, 10, RED)


# ---- Designer toolbar: 26 x 25 images --------------------------------------------


def strip_sized(glyphs, w, h, grey=False):
    """Images of w x h side by side on magenta, optionally greyed."""
    c = Canvas(w * len(glyphs), h, MAGENTA + (255,))
    for n, draw in enumerate(glyphs):
        g = Canvas(w, h)
        draw(g)
        for y in range(h):
            for x in range(w):
                p = g.get(x, y)
                if p[3]:
                    if grey:
                        v = (p[0] * 30 + p[1] * 59 + p[2] * 11) // 100
                        v = 128 + v // 2
                        p = [v, v, v, 255]
                    c.set(w * n + x, y, p)
    return c


def d_pointer(g):
    a = Canvas(26, 25)
    arrow(a)
    g.blit(a, 8, 4)


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
    g.line(9, 15, 15, 9, WHITE)
    g.line(10, 15, 16, 9, WHITE)


def d_muntin(g):
    d_filling(g)
    g.rect(6, 12, 19, 12, EDGE)
    g.rect(12, 6, 12, 18, EDGE)


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
    for k in range(-1, 2):
        g.line(6 + k, 5, 19 + k, 19, RED)
        g.line(19 + k, 5, 6 + k, 19, RED)


def d_help(g):
    for y in range(25):
        for x in range(26):
            if (x - 12.5) ** 2 + (y - 12) ** 2 <= 90:
                g.set(x, y, BLUE)
    for x, y in ((10, 6), (11, 6), (12, 6), (13, 6), (14, 6), (15, 7), (15, 8), (15, 9), (14, 10), (13, 11),
                 (12, 12), (12, 13), (12, 14), (12, 17), (12, 18), (13, 17), (13, 18), (9, 7), (9, 8)):
        g.set(x, y, WHITE)
        g.set(x + 1 if x < 12 else x, y + 1 if y < 14 else y, WHITE)


def d_undo(g, mirror=False):
    """A hooked arrow turning back to the left (redo: to the right)."""
    col = (0, 110, 60)

    def put(x, y):
        for dx in (0, 1):
            for dy in (0, 1):
                xx = x + dx
                g.set(25 - xx if mirror else xx, y + dy, col + (255,))

    # The hook: half a circle round (14, 13), open to the left.
    for step in range(0, 181, 4):
        a = math.radians(90 - step)
        put(int(round(14 + 6 * math.cos(a))), int(round(13 - 6 * math.sin(a))))
    for x in range(7, 15):
        put(x, 7)
    for x in range(9, 15):
        put(x, 19)
    # The head at the top line's left end.
    for k in range(5):
        put(5 + k, 7 - k)
        put(5 + k, 7 + k)


def d_redo(g):
    d_undo(g, mirror=True)


# Undo and Redo come last, so that the older pictures keep their places.
DESIGNER_BAR = [d_pointer, d_frame, d_mullion, d_sash, d_filling, d_muntin, d_factors, d_save, d_cancel, d_help,
                d_undo, d_redo]


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {
        # 16 to 48 as drawn before; 24, 64, 128 and 256 for larger display scales.
        "app.ico": ico([window_picture(s) for s in (16, 32, 48, 24, 64, 128, 256)]),
        "start.bmp": bmp24(start_picture()),
    }
    for i in range(12):
        # 32 pixels at 96 dpi; 48 and 64 for 150 % and 200 %, scaled by
        # their nearest pixels (the hot spot stays the top left corner).
        c = cursor(i)
        files["tool%02d.cur" % (i + 1)] = ico([c, upscale(c, 48, 48), upscale(c, 64, 64)], cursor_hotspot=(0, 0))
    main_bar = [g_new, g_preview, g_status, g_print, g_settings, g_exit, g_help]
    files["toolbar.bmp"] = bmp24(strip(main_bar))
    files["toolbar_disabled.bmp"] = bmp24(strip(main_bar, grey=True))
    files["status.bmp"] = bmp24(strip([status_dot(c) for c in STATUS_COLOURS]))
    order_bar = [g_add_window, g_add_accessory, g_status, g_print, g_save, g_cancel, g_help]
    files["order_toolbar.bmp"] = bmp24(strip(order_bar))
    files["order_toolbar_disabled.bmp"] = bmp24(strip(order_bar, grey=True))
    preview_bar = [g_zoom_complete, g_zoom_natural, g_zoom_width, g_first, g_back, g_next, g_last,
                   g_print, g_close]
    files["preview_toolbar.bmp"] = bmp24(strip(preview_bar))
    files["preview_toolbar_disabled.bmp"] = bmp24(strip(preview_bar, grey=True))
    files["preview.ico"] = ico([preview_icon(s) for s in (16, 32)])
    files["designer_toolbar.bmp"] = bmp24(strip_sized(DESIGNER_BAR, 26, 25))
    files["designer_toolbar_disabled.bmp"] = bmp24(strip_sized(DESIGNER_BAR, 26, 25, grey=True))
    # The toolbar strips again at 150 % and 200 % of the display scale.
    for base, count, w, h in (("toolbar", len(main_bar), 16, 16), ("order_toolbar", len(order_bar), 16, 16),
                              ("preview_toolbar", len(preview_bar), 16, 16),
                              ("designer_toolbar", len(DESIGNER_BAR), 26, 25)):
        for grey in (False, True):
            if base == "designer_toolbar":
                src = strip_sized(DESIGNER_BAR, 26, 25, grey=grey)
            else:
                glyphs = {"toolbar": main_bar, "order_toolbar": order_bar, "preview_toolbar": preview_bar}[base]
                src = strip(glyphs, grey=grey)
            for pct, num, den in (("150", 3, 2), ("200", 2, 1)):
                name = "%s%s_%s.bmp" % (base, "_disabled" if grey else "", pct)
                files[name] = bmp24(scaled_strip(src, count, w, h, num, den))
    for name, data in sorted(files.items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print("make-images: %d files in %s" % (len(files), os.path.normpath(OUT)))


if __name__ == "__main__":
    sys.exit(main())
