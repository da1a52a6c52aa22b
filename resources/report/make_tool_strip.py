#!/usr/bin/env python3
"""Draws the preview window's tool-bar pictures and writes them as one strip.

The pictures are drawn here from simple shapes on a 16 x 16 grid, rendered
with 4 x 4 supersampling at 16 and at 32 pixels (for screens with two device
pixels per pixel), and stored gzip-compressed so that the program inflates
them with zlib at start.

File layout after inflating (all numbers little-endian):
    "VTS1"                       magic
    u16 count                    pictures per strip
    u16 strips                   number of strips that follow
    strips x {
        u16 tile                 side of one picture in pixels
        tile rows of count*tile RGBA8888 pixels (not premultiplied)
    }
The order of the pictures is report::ToolImage in tool_images.h.

Usage: make_tool_strip.py OUTPUT.gz
"""
import gzip
import math
import struct
import sys

SS = 4  # supersampling per axis


class Canvas:
    def __init__(self, tile):
        self.tile = tile
        self.n = tile * SS
        self.k = self.n / 16.0  # sub-samples per grid unit
        self.px = [(0.0, 0.0, 0.0, 0.0)] * (self.n * self.n)  # premultiplied

    def _cover(self, inside, box, color):
        x0, y0, x1, y1 = box
        r, g, b = (c / 255.0 for c in color[:3])
        a = color[3] / 255.0 if len(color) > 3 else 1.0
        ix0 = max(0, int(math.floor(x0 * self.k)))
        iy0 = max(0, int(math.floor(y0 * self.k)))
        ix1 = min(self.n, int(math.ceil(x1 * self.k)) + 1)
        iy1 = min(self.n, int(math.ceil(y1 * self.k)) + 1)
        for iy in range(iy0, iy1):
            y = (iy + 0.5) / self.k
            for ix in range(ix0, ix1):
                x = (ix + 0.5) / self.k
                if inside(x, y):
                    i = iy * self.n + ix
                    pr, pg, pb, pa = self.px[i]
                    self.px[i] = (r * a + pr * (1 - a), g * a + pg * (1 - a),
                                  b * a + pb * (1 - a), a + pa * (1 - a))

    def rect(self, x0, y0, x1, y1, color):
        self._cover(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1), color)

    def frame(self, x0, y0, x1, y1, color, w=1.0):
        self.rect(x0, y0, x1, y0 + w, color)
        self.rect(x0, y1 - w, x1, y1, color)
        self.rect(x0, y0, x0 + w, y1, color)
        self.rect(x1 - w, y0, x1, y1, color)

    def box(self, x0, y0, x1, y1, fill, edge):
        self.rect(x0, y0, x1, y1, fill)
        self.frame(x0, y0, x1, y1, edge)

    def disc(self, cx, cy, r, color):
        self._cover(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                    (cx - r, cy - r, cx + r, cy + r), color)

    def ring(self, cx, cy, r, w, color):
        ri = r - w
        self._cover(lambda x, y: ri * ri <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                    (cx - r, cy - r, cx + r, cy + r), color)

    def line(self, x0, y0, x1, y1, w, color):
        dx, dy = x1 - x0, y1 - y0
        ll = dx * dx + dy * dy or 1.0
        h = w / 2.0

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
            return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= h * h

        self._cover(inside, (min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h),
                    color)

    def poly(self, pts, color):
        def inside(x, y):
            c = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c

        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self._cover(inside, (min(xs), min(ys), max(xs), max(ys)), color)

    def rgba(self):
        out = bytearray()
        n, t = self.n, self.tile
        for ty in range(t):
            for tx in range(t):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SS):
                    row = (ty * SS + sy) * n + tx * SS
                    for sx in range(SS):
                        p = self.px[row + sx]
                        for c in range(4):
                            acc[c] += p[c]
                a = acc[3] / (SS * SS)
                if a <= 0:
                    out += b"\0\0\0\0"
                    continue
                out += bytes(min(255, int(round(acc[c] / (SS * SS) / a * 255))) for c in range(3))
                out += bytes([int(round(a * 255))])
        return bytes(out)


INK = (40, 44, 52)
PAPER = (255, 255, 255)
GREY = (150, 156, 166)
LIGHT = (214, 218, 226)
BLUE = (46, 104, 184)
DARKBLUE = (24, 58, 112)
YELLOW = (236, 190, 74)
DARKYELLOW = (176, 128, 30)
RED = (200, 48, 40)
GREEN = (52, 150, 72)
GLASS = (196, 222, 246)


def page(c, x0=3, y0=1, x1=13, y1=15):
    c.poly([(x0, y0), (x1 - 3, y0), (x1, y0 + 3), (x1, y1), (x0, y1)], INK)
    c.poly([(x0 + 1, y0 + 1), (x1 - 3.4, y0 + 1), (x1 - 1, y0 + 3.4), (x1 - 1, y1 - 1),
            (x0 + 1, y1 - 1)], PAPER)
    c.poly([(x1 - 3.5, y0 + 0.5), (x1 - 0.5, y0 + 3.5), (x1 - 3.5, y0 + 3.5)], LIGHT)


def text_lines(c, x0, x1, ys):
    for y in ys:
        c.rect(x0, y, x1, y + 1, GREY)


def print_(c):
    c.box(4, 1, 12, 7, PAPER, INK)
    text_lines(c, 5.5, 10.5, [3, 5])
    c.poly([(1, 6), (15, 6), (15, 12), (1, 12)], INK)
    c.rect(2, 7, 14, 11, LIGHT)
    c.disc(12.5, 8.5, 0.9, GREEN)
    c.box(4, 10, 12, 15, PAPER, INK)
    text_lines(c, 5.5, 10.5, [12])


def open_(c):
    c.poly([(1, 3), (6, 3), (7.5, 5), (14, 5), (14, 14), (1, 14)], DARKYELLOW)
    c.poly([(2, 4), (5.5, 4), (7, 6), (13, 6), (13, 13), (2, 13)], YELLOW)
    c.poly([(1, 14), (4, 8), (16, 8), (13.5, 14)], DARKYELLOW)
    c.poly([(2, 13.2), (4.6, 9), (14.6, 9), (12.8, 13.2)], (248, 214, 120))


def save(c):
    c.poly([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)], DARKBLUE)
    c.rect(2, 2, 14, 14, BLUE)
    c.box(4, 1, 12, 7, PAPER, INK)
    c.rect(9, 2, 11, 6, GREY)
    c.box(3.5, 9.5, 12.5, 15, LIGHT, INK)
    text_lines(c, 5, 11, [11.5])


def export(c):
    page(c, 1, 1, 11, 15)
    text_lines(c, 3, 8, [5, 7, 9, 11])
    c.poly([(8, 7.5), (12, 7.5), (12, 5), (16, 9), (12, 13), (12, 10.5), (8, 10.5)], GREEN)


def pdf(c):
    page(c)
    c.rect(1, 8, 12, 13, RED)
    for x0 in (2.5, 6, 9.5):
        c.rect(x0, 9.5, x0 + 2, 11.5, PAPER)
    text_lines(c, 5, 11, [4, 6])


def email(c):
    c.box(1, 3, 15, 13, PAPER, INK)
    c.line(1.5, 3.5, 8, 9, 1.1, INK)
    c.line(14.5, 3.5, 8, 9, 1.1, INK)
    c.line(1.5, 12.5, 6, 8, 0.9, GREY)
    c.line(14.5, 12.5, 10, 8, 0.9, GREY)


def magnifier(c):
    c.line(9.5, 9.5, 14.5, 14.5, 2.6, INK)
    c.disc(6.5, 6.5, 5.5, INK)
    c.disc(6.5, 6.5, 4.2, GLASS)


def find(c):
    magnifier(c)
    c.ring(6.5, 6.5, 3.2, 0.5, PAPER)


def zoom_in(c):
    magnifier(c)
    c.rect(4, 5.8, 9, 7.2, INK)
    c.rect(5.8, 4, 7.2, 9, INK)


def zoom_out(c):
    magnifier(c)
    c.rect(4, 5.8, 9, 7.2, INK)


def full_screen(c):
    c.box(1, 2, 15, 14, LIGHT, INK)
    c.rect(2, 3, 14, 5, BLUE)
    for (x, y, dx, dy) in ((4, 7, 1, 1), (12, 7, -1, 1), (4, 12, 1, -1), (12, 12, -1, -1)):
        c.poly([(x, y), (x + 2.5 * dx, y), (x, y + 2.5 * dy)], INK)


def outline(c):
    c.rect(3.5, 4, 4.5, 13, GREY)
    for y in (7, 12):
        c.rect(4, y, 7, y + 1, GREY)
    c.box(1, 1, 7, 5, BLUE, DARKBLUE)
    for y in (5.5, 10.5):
        c.box(7, y, 11, y + 4, YELLOW, DARKYELLOW)
    text_lines(c, 12, 15, [7, 12])


def thumbnails(c):
    for x0 in (1, 9):
        for y0 in (1, 9):
            c.box(x0, y0, x0 + 6, y0 + 6, PAPER, INK)
            c.rect(x0 + 1.5, y0 + 2, x0 + 4.5, y0 + 3, GREY)


def page_settings(c):
    page(c, 1, 1, 12, 15)
    for y in range(4, 14, 2):
        c.rect(3, y, 3.8, y + 0.6, BLUE)
        c.rect(9.2, y, 10, y + 0.6, BLUE)
    c.poly([(11, 8), (16, 8), (16, 16), (11, 16)], INK)
    c.rect(12, 9, 15, 15, YELLOW)
    for y in (10, 12, 14):
        c.rect(12, y, 13.6, y + 0.6, INK)


def edit(c):
    page(c, 1, 1, 11, 15)
    text_lines(c, 3, 8, [5, 7, 9])
    c.line(6.5, 13.5, 14, 6, 3.2, INK)
    c.line(7.3, 12.7, 13.3, 6.7, 1.6, YELLOW)
    c.poly([(4.5, 15.5), (5.2, 12.1), (7.9, 14.8)], INK)
    c.line(12.9, 4.9, 15.1, 7.1, 3.2, RED)


def triangle(c, tip, base, color=BLUE):
    c.poly([(tip, 8), (base, 3), (base, 13)], color)


def first(c):
    c.rect(3, 3, 5, 13, BLUE)
    triangle(c, 5.5, 12.5)


def prior(c):
    triangle(c, 4, 11.5)


def next_(c):
    triangle(c, 12, 4.5)


def last(c):
    triangle(c, 10.5, 3.5)
    c.rect(11, 3, 13, 13, BLUE)


PICTURES = [print_, open_, save, export, pdf, email, find, zoom_in, zoom_out, full_screen,
            outline, thumbnails, page_settings, edit, first, prior, next_, last]
TILES = [16, 32]


def strip(tile):
    tiles = []
    for draw in PICTURES:
        c = Canvas(tile)
        draw(c)
        tiles.append(c.rgba())
    rows = bytearray()
    row_bytes = tile * 4
    for y in range(tile):
        for t in tiles:
            rows += t[y * row_bytes:(y + 1) * row_bytes]
    return struct.pack("<H", tile) + bytes(rows)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    data = b"VTS1" + struct.pack("<HH", len(PICTURES), len(TILES))
    data += b"".join(strip(t) for t in TILES)
    with open(sys.argv[1], "wb") as out:
        # mtime 0 keeps the file the same byte for byte on every run
        out.write(gzip.compress(data, compresslevel=9, mtime=0))


if __name__ == "__main__":
    main()
