#!/usr/bin/env python3
"""Draws the skins of the progress bar and the status bar:
draw_bar_skins.py OUTDIR writes
  PROGBACK.bmp  4 x 18   the track: column 0 left edge, 1-2 stretched middle, 3 right edge
  PROGCHUNK.bmp 50 x 18  the fill; rows 0-15 are used, every column alike
  RESGRIP.bmp   17 x 17  the size grip, magenta (255, 0, 255) where the bar shows through
  PROGFLASH.png 123 x 17 the glint sweeping along the fill, with alpha
  MARQUEE.png   198 x 18 the marquee block, with alpha"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skin_files import MAGENTA, mix, write_bmp, write_png  # noqa: E402


def track():
    """A sunken grey channel with a darker rim."""
    rim = (134, 142, 150)
    top, bottom = (214, 218, 222), (246, 247, 248)
    px = [[None] * 4 for _ in range(18)]
    for y in range(18):
        for x in range(4):
            if y in (0, 17) or x in (0, 3):
                px[y][x] = rim
            else:
                px[y][x] = mix(top, bottom, (y - 1) / 15)
    # Rounded corners: the corner pixels take the middle of rim and inside.
    for y, x in ((0, 0), (0, 3), (17, 0), (17, 3)):
        px[y][x] = mix(rim, (232, 234, 236), 0.5)
    return px


def chunk_fill():
    """A green fill, lighter at the top, a shade darker at the bottom."""
    stops = [(0, (186, 240, 170)), (6, (96, 200, 70)), (15, (38, 150, 30))]
    px = []
    for y in range(18):
        yy = min(y, 15)
        for (y0, c0), (y1, c1) in zip(stops, stops[1:]):
            if y0 <= yy <= y1:
                colour = mix(c0, c1, (yy - y0) / (y1 - y0))
                break
        px.append([colour] * 50)
    return px


def grip():
    """Six raised dots in a triangle against the bottom-right corner."""
    px = [[MAGENTA] * 17 for _ in range(17)]
    dark, light = (128, 132, 136), (255, 255, 255)
    for row in range(3):
        for col in range(3 - row):
            # dots 4 px apart, counted from the corner
            x, y = 13 - 4 * col, 13 - 4 * row
            for dy in range(2):
                for dx in range(2):
                    px[y + dy + 1][x + dx + 1] = light
            for dy in range(2):
                for dx in range(2):
                    px[y + dy][x + dx] = dark
    return px


def glint():
    """A soft white sheen, brightest in its middle, fading to nothing at both ends."""
    px = []
    for y in range(17):
        row = []
        v = 1.0 - 0.45 * abs(y - 6) / 10
        for x in range(123):
            h = math.sin(math.pi * x / 122) ** 2
            row.append((255, 255, 255, round(170 * h * v)))
        px.append(row)
    return px


def marquee():
    """A green block whose ends fade out, so it slides in and out smoothly."""
    fill = chunk_fill()
    px = []
    for y in range(18):
        row = []
        for x in range(198):
            edge = min(x, 197 - x)
            a = 255 if edge >= 40 else round(255 * math.sin(math.pi / 2 * edge / 40))
            if y in (0, 17):
                a = 0
            r, g, b = fill[min(y - 1, 15) if y else 0][0]
            row.append((r, g, b, a))
        px.append(row)
    return px


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "PROGBACK.bmp"), 4, 18, track())
    write_bmp(os.path.join(out, "PROGCHUNK.bmp"), 50, 18, chunk_fill())
    write_bmp(os.path.join(out, "RESGRIP.bmp"), 17, 17, grip())
    write_png(os.path.join(out, "PROGFLASH.png"), 123, 17, glint())
    write_png(os.path.join(out, "MARQUEE.png"), 198, 18, marquee())


if __name__ == "__main__":
    main()
