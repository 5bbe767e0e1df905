#!/usr/bin/env python3
"""Draws Quillet's icon (a page of text with a quill pen, 16, 32 and 48 px)
and its pointing-hand cursor (32 x 32), and writes them as .ico and .cur
bytes: draw_resources.py ICON_FILE CURSOR_FILE."""
import struct
import sys

# A few clear colours, as (r, g, b).
OUTLINE = (0x2B, 0x3F, 0x66)
PAGE = (0xFF, 0xFF, 0xFF)
FOLD = (0xC9, 0xD6, 0xEC)
TEXT_LINE = (0x3F, 0x78, 0xD0)
PEN = (0xE8, 0x6F, 0x1E)
PEN_EDGE = (0x8A, 0x3A, 0x08)
NIB = (0x30, 0x30, 0x30)


def inside(polygon, x, y):
    """Even-odd rule: is the point inside the polygon?"""
    result = False
    j = len(polygon) - 1
    for i, (xi, yi) in enumerate(polygon):
        xj, yj = polygon[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


class Canvas:
    """Straight-alpha RGBA pixels; shapes are painted with 4 x 4 samples a
    pixel so that the pen's slanted edges stay smooth at 16 px."""
    SAMPLES = 4

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def blend(self, x, y, colour, coverage):
        if coverage <= 0:
            return
        r, g, b, a = self.pixels[y][x]
        src_a = coverage
        out_a = src_a + a / 255 * (1 - src_a)
        mix = [(c * src_a + d * a / 255 * (1 - src_a)) / out_a for c, d in zip(colour, (r, g, b))]
        self.pixels[y][x] = (round(mix[0]), round(mix[1]), round(mix[2]), round(out_a * 255))

    def polygon(self, points, colour):
        n = self.SAMPLES
        for y in range(self.size):
            for x in range(self.size):
                hits = sum(inside(points, x + (i + 0.5) / n, y + (j + 0.5) / n)
                           for i in range(n) for j in range(n))
                self.blend(x, y, colour, hits / (n * n))

    def rect(self, left, top, right, bottom, colour):
        self.polygon([(left, top), (right, top), (right, bottom), (left, bottom)], colour)


def draw_icon(size):
    """The page on the left, lines of text on it, the quill across its lower
    right corner. Rectangles sit on whole pixels so lines stay crisp."""
    c = Canvas(size)
    u = size / 16
    px = max(1, round(u))  # an outline's width
    left, top, right, bottom = round(2 * u), round(1 * u), round(12 * u), size - round(1 * u)
    fold = round(3 * u)
    page = [(left, top), (right - fold, top), (right, top + fold), (right, bottom), (left, bottom)]
    c.polygon(page, OUTLINE)
    inner = [(left + px, top + px), (right - fold - px / 2, top + px), (right - px, top + fold + px / 2),
             (right - px, bottom - px), (left + px, bottom - px)]
    c.polygon(inner, PAGE)
    c.polygon([(right - fold, top), (right - fold, top + fold), (right, top + fold)], OUTLINE)
    c.polygon([(right - fold + px, top + 2 * px), (right - fold + px, top + fold),
               (right - 2 * px, top + fold)], FOLD)
    # Lines of text, one pixel high at 16 px, of differing lengths.
    line_height = max(1, round(u))
    for row, length in enumerate((7, 5, 7, 4)):
        y = round((5 + 2.5 * row) * u)
        c.rect(left + 2 * px, y, left + 2 * px + round(length * u * 0.95), y + line_height, TEXT_LINE)
    # The quill: a slanted body from the upper right down to a dark nib.
    def at(x, y):
        return (x * u, y * u)
    body = [at(15.6, 4.2), at(13.8, 2.4), at(7.9, 10.4), at(9.6, 12.1)]
    c.polygon([at(15.9, 4.1), at(13.9, 2.1), at(7.6, 10.5), at(9.5, 12.4)], PEN_EDGE)
    c.polygon(body, PEN)
    c.polygon([at(7.6, 10.5), at(9.5, 12.4), at(6.2, 14.0)], NIB)
    return c


# The hand: 1 black outline, 2 white inside, 0 clear; 32 x 32, the fingertip
# of the pointing finger at the hot spot (column 9, row 0).
HAND = """
........1111....................
.......122221...................
.......122221...................
.......122221...................
.......122221...................
.......122221...................
.......1222211111...............
.......12222122221111...........
.......122221222212221111.......
.......1222212222122212221......
.111...12222122221222122221.....
12221..12222222222222222221.....
122221.12222222222222222221.....
.122221122222222222222222221....
..12222122222222222222222221....
..12222222222222222222222221....
...1222222222222222222222221....
...1222222222222222222222221....
....122222222222222222222221....
....12222222222222222222221.....
.....1222222222222222222221.....
.....1222222222222222222221.....
......12222222222222222221......
......12222222222222222221......
.......122222222222222221.......
.......122222222222222221.......
.......111111111111111111.......
................................
................................
................................
................................
................................
"""
HAND_HOTSPOT = (9, 0)


def hand_rows():
    rows = [line for line in HAND.split("\n") if line]
    assert len(rows) == 32 and all(len(row) == 32 for row in rows)
    return rows


def bitmap_header(width, height, bits, image_bytes):
    # The height counts the colour image and the mask together.
    return struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0, image_bytes, 0, 0, 0, 0)


def mask_rows(size, transparent):
    """The AND mask, bottom row first, rows padded to 4 bytes."""
    stride = (size + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def icon_image(canvas):
    size = canvas.size
    colour = bytearray()
    for y in reversed(range(size)):
        for r, g, b, a in canvas.pixels[y]:
            colour += bytes((b, g, r, a))
    mask = mask_rows(size, lambda x, y: canvas.pixels[y][x][3] == 0)
    return bitmap_header(size, size, 32, len(colour) + len(mask)) + bytes(colour) + mask


def cursor_image(rows):
    """Monochrome: XOR bits (white where 2) over the AND mask (set where clear)."""
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    xor = mask_rows(32, lambda x, y: rows[y][x] == "2")
    mask = mask_rows(32, lambda x, y: rows[y][x] == ".")
    return bitmap_header(32, 32, 1, len(xor) + len(mask)) + palette + xor + mask


def directory(kind, entries):
    """An .ico (kind 1) or .cur (kind 2) file: entries are (size, word1, word2, image);
    the two words are planes and bit count for icons, the hot spot for cursors."""
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    images = b""
    for size, word1, word2, image in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, word1, word2, len(image), offset)
        offset += len(image)
        images += image
    return out + images


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: draw_resources.py ICON_FILE CURSOR_FILE")
    icon = directory(1, [(size, 1, 32, icon_image(draw_icon(size))) for size in (16, 32, 48)])
    cursor = directory(2, [(32, HAND_HOTSPOT[0], HAND_HOTSPOT[1], cursor_image(hand_rows()))])
    with open(sys.argv[1], "wb") as f:
        f.write(icon)
    with open(sys.argv[2], "wb") as f:
        f.write(cursor)


if __name__ == "__main__":
    main()
