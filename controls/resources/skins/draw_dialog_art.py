#!/usr/bin/env python3
"""Draws the pictures of the library's dialogs as 24-bit bitmaps:
draw_dialog_art.py OUTDIR writes
  WARNICON.bmp, ERRORICON.bmp, INFOICON.bmp, QUESICON.bmp  32 x 32, on the
      message box's white panel: a warning triangle, an error disc with a
      cross, an information disc and a question disc
  ABOUTBANNER.bmp  458 x 160, the about box's banner
Shapes are sampled 4 x 4 per pixel for smooth edges."""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skin_files import mix, write_bmp  # noqa: E402

WHITE = (255, 255, 255)


def render(width, height, background, layers):
    """layers: list of (inside(x, y) -> bool, colour), painted in order."""
    img = [[background] * width for _ in range(height)]
    n = 4
    for y in range(height):
        for x in range(width):
            c = img[y][x]
            for inside, colour in layers:
                hits = sum(inside(x + (i + 0.5) / n, y + (j + 0.5) / n) for i in range(n) for j in range(n))
                if hits:
                    c = mix(c, colour, hits / (n * n))
            img[y][x] = c
    return img


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def segment(ax, ay, bx, by, w):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2
    return inside


def triangle(p0, p1, p2):
    def side(a, b, x, y):
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])
    def inside(x, y):
        s0, s1, s2 = side(p0, p1, x, y), side(p1, p2, x, y), side(p2, p0, x, y)
        return (s0 >= 0 and s1 >= 0 and s2 >= 0) or (s0 <= 0 and s1 <= 0 and s2 <= 0)
    return inside


def ring(cx, cy, r0, r1, a0, a1):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return r0 <= d <= r1 and (a0 <= a <= a1 if a0 <= a1 else (a >= a0 or a <= a1))
    return inside


def icons():
    blue = (30, 100, 190)
    return {
        "WARNICON": render(32, 32, WHITE, [
            (triangle((16, 2), (30.5, 29), (1.5, 29)), (120, 90, 0)),
            (triangle((16, 4.5), (28.5, 27.5), (3.5, 27.5)), (250, 200, 40)),
            (rect(14.5, 11, 17.5, 21), (30, 30, 30)),
            (disc(16, 24, 1.7), (30, 30, 30)),
        ]),
        "ERRORICON": render(32, 32, WHITE, [
            (disc(16, 16, 14.5), (150, 20, 20)),
            (disc(16, 16, 13.3), (215, 45, 40)),
            (segment(10.5, 10.5, 21.5, 21.5, 3.2), WHITE),
            (segment(21.5, 10.5, 10.5, 21.5, 3.2), WHITE),
        ]),
        "INFOICON": render(32, 32, WHITE, [
            (disc(16, 16, 14.5), (20, 60, 130)),
            (disc(16, 16, 13.3), blue),
            (disc(16, 9.5, 2), WHITE),
            (rect(14.4, 13.5, 17.6, 24), WHITE),
        ]),
        "QUESICON": render(32, 32, WHITE, [
            (disc(16, 16, 14.5), (20, 60, 130)),
            (disc(16, 16, 13.3), blue),
            (ring(16, 12.5, 3.3, 6.2, 180, 90), WHITE),
            (rect(14.5, 17, 17.5, 20.5), WHITE),
            (disc(16, 24.2, 1.8), WHITE),
        ]),
    }


def banner():
    w, h = 458, 160
    img = []
    for y in range(h):
        row = []
        for x in range(w):
            t = x / (w - 1)
            base = mix((236, 244, 246), (196, 222, 228), t * 0.8 + y / h * 0.2)
            # Soft diagonal bands across the right part.
            band = 0.5 + 0.5 * math.sin((x * 0.9 + y * 1.6) / 26.0)
            if x > 260:
                base = mix(base, (150, 196, 206), 0.25 * band * min(1.0, (x - 260) / 120))
            row.append(base)
        img.append(row)
    # A teal bar along the bottom edge of the banner.
    for y in range(h - 6, h):
        for x in range(w):
            img[y][x] = mix((38, 120, 128), (22, 84, 92), (y - (h - 6)) / 5)
    return img


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: draw_dialog_art.py OUTDIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, img in icons().items():
        write_bmp(os.path.join(out, name + ".bmp"), 32, 32, img)
    write_bmp(os.path.join(out, "ABOUTBANNER.bmp"), 458, 160, banner())


if __name__ == "__main__":
    main()
