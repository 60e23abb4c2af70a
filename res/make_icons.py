#!/usr/bin/env python3
"""Draws the program's icons as PNG files (run from anywhere; writes beside
this script). Pixel art on a small palette, as the original 256-colour icons."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
YELLOW = (255, 255, 0, 255)
BLUE = (0, 0, 255, 255)
DARK_BLUE = (0, 0, 128, 255)
RED = (255, 0, 0, 255)
GREY = (128, 128, 128, 255)
SILVER = (192, 192, 192, 255)
CYAN = (0, 255, 255, 255)


def canvas(size, colour=CLEAR):
    return [[colour] * size for _ in range(size)]


def rect(img, x0, y0, x1, y1, colour):
    """Fills the rectangle from (x0, y0) to (x1, y1), both inclusive."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = colour
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = colour


def speaker(img, scale):
    """The loudspeaker and red block on a yellow square with a black border."""
    n = len(img)
    rect(img, 0, 0, n - 1, n - 1, YELLOW)
    frame(img, 0, 0, n - 1, n - 1, BLACK)
    s = scale
    # magnet: a blue box framed in white
    rect(img, 4 * s - 1, 5 * s, 7 * s - 1, 9 * s, WHITE)
    rect(img, 4 * s, 5 * s + 1, 7 * s - 2, 9 * s - 1, BLUE)
    # cone: dark blue, opening to the right
    for i in range(4 * s):
        x = 7 * s + i
        half = (i * 3) // 4 + s
        cy = 7 * s
        for y in range(cy - half, cy + half + 1):
            if 0 < y < n - 1 and x < n - 1:
                img[y][x] = DARK_BLUE
    # red block at the lower left
    rect(img, 2 * s, 12 * s - 1, 6 * s - 1, n - 2 * s - 1 if s > 1 else n - 3, RED)


def magnifier_over_paper(img):
    """16 x 16: a sheet of paper with a magnifying glass over it."""
    rect(img, 2, 1, 11, 14, WHITE)
    frame(img, 2, 1, 11, 14, GREY)
    for y in (4, 6, 8, 10, 12):
        rect(img, 4, y, 9, y, SILVER)
    # the glass
    for y in range(16):
        for x in range(16):
            d = (x - 9) ** 2 + (y - 7) ** 2
            if 9 <= d <= 16:
                img[y][x] = BLACK
            elif d < 9:
                img[y][x] = CYAN
    for i in range(4):
        rect(img, 12 + i, 10 + i, 12 + i, 10 + i, BLACK)
        if 13 + i < 16:
            img[10 + i][13 + i if 13 + i < 16 else 15] = BLACK


def write_png(path, img):
    n = len(img)
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *px) for px in row) for row in img)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


def speaker_svg():
    """The loudspeaker picture as a vector drawing on a 16-unit grid, for the
    scalable desktop icon; the same shapes as speaker() draws in pixels."""
    return """<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 16 16">
  <rect x="0.125" y="0.125" width="15.75" height="15.75" fill="#ffff00" stroke="#000000" stroke-width="0.25"/>
  <rect x="3.75" y="4.75" width="3.25" height="4.5" fill="#ffffff"/>
  <rect x="4" y="5" width="2.75" height="4" fill="#0000ff"/>
  <polygon points="7,6 11,3 11,11 7,8" fill="#000080"/>
  <rect x="2" y="12" width="4" height="2" fill="#ff0000"/>
</svg>
"""


def main():
    icons = os.path.join(HERE, "icons")
    big = canvas(32)
    speaker(big, 2)
    write_png(os.path.join(icons, "vocaline-32.png"), big)
    small_main = canvas(16)
    magnifier_over_paper(small_main)
    write_png(os.path.join(icons, "vocaline-16.png"), small_main)
    small_speaker = canvas(16)
    speaker(small_speaker, 1)
    write_png(os.path.join(icons, "speaker-16.png"), small_speaker)
    # The desktop's larger sizes: the 32 x 32 picture drawn at a larger scale.
    for size in (48, 64, 128, 256):
        img = canvas(size)
        speaker(img, size // 16)
        write_png(os.path.join(icons, "vocaline-%d.png" % size), img)
    with open(os.path.join(icons, "vocaline.svg"), "w", encoding="ascii") as out:
        out.write(speaker_svg())


if __name__ == "__main__":
    main()
