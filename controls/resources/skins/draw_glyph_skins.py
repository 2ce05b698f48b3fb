#!/usr/bin/env python3
"""Draws the glyph strips of the check box and the option button:
draw_glyph_skins.py OUTDIR writes
  CHECKBOX.bmp 13 x 156, 24-bit: Unchecked (rows 0-51), Checked (52-103) and
               Grayed (104-155), each as four 13 x 13 cells: normal, hot,
               pressed, disabled. Opaque squares: a framed box, a tick when
               checked (and as a preview in the Unchecked pressed cell), a
               filled square when grayed.
  OPTION.png   13 x 104, RGBA: unselected (rows 0-51) and selected (52-103),
               the same four states; a round button on a transparent ground,
               a dot in the middle when selected."""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skin_files import mix, write_bmp, write_png  # noqa: E402

SIZE = 13
STATES = ("normal", "hot", "pressed", "disabled")

# Frame and face colours per state: grey, light blue, darker blue, pale grey.
FRAME = {"normal": (112, 118, 124), "hot": (86, 170, 230), "pressed": (30, 96, 160), "disabled": (190, 194, 198)}
FACE_TOP = {"normal": (236, 238, 240), "hot": (226, 242, 252), "pressed": (184, 214, 238), "disabled": (244, 244, 244)}
FACE_BOTTOM = {"normal": (255, 255, 255), "hot": (250, 253, 255), "pressed": (216, 234, 248), "disabled": (244, 244, 244)}
TICK = (20, 56, 120)          # dark blue
TICK_PREVIEW = (108, 140, 186)  # the tick as pressing an unchecked box shows it
TICK_DISABLED = (160, 164, 168)
GRAYED = (58, 120, 200)       # filled square
GRAYED_DISABLED = (176, 182, 188)
DOT = (36, 104, 196)
DOT_DISABLED = (150, 154, 158)

TICK_PIXELS = [(3, 6), (3, 7), (4, 7), (4, 8), (5, 8), (5, 9), (6, 8), (6, 7), (7, 7), (7, 6), (8, 6), (8, 5),
               (9, 5), (9, 4), (4, 6), (5, 7), (6, 6), (7, 5), (8, 4), (9, 3)]


def check_cell(group, state):
    px = [[None] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if x in (0, SIZE - 1) or y in (0, SIZE - 1):
                px[y][x] = FRAME[state]
            else:
                px[y][x] = mix(FACE_TOP[state], FACE_BOTTOM[state], (y - 1) / (SIZE - 3))
    disabled = state == "disabled"
    if group == "checked" or (group == "unchecked" and state == "pressed"):
        colour = TICK_DISABLED if disabled else TICK if group == "checked" else TICK_PREVIEW
        for x, y in TICK_PIXELS:
            px[y][x] = colour
    elif group == "grayed":
        for y in range(3, 10):
            for x in range(3, 10):
                px[y][x] = GRAYED_DISABLED if disabled else GRAYED
    return px


def option_cell(selected, state):
    """Straight-alpha RGBA rows; the ring's edge is antialiased by coverage."""
    c = (SIZE - 1) / 2
    outer, ring = 6.3, 1.2
    px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    disabled = state == "disabled"
    for y in range(SIZE):
        for x in range(SIZE):
            # 4 x 4 samples per pixel for the coverage of the disc.
            covered = ring_cov = 0
            for sy in range(4):
                for sx in range(4):
                    d = math.hypot(x + (sx + 0.5) / 4 - 0.5 - c, y + (sy + 0.5) / 4 - 0.5 - c)
                    if d <= outer:
                        covered += 1
                        if d > outer - ring:
                            ring_cov += 1
            if not covered:
                continue
            face = mix(FACE_TOP[state], FACE_BOTTOM[state], y / (SIZE - 1))
            colour = mix(face, FRAME[state], ring_cov / covered)
            if selected and math.hypot(x - c, y - c) <= 2.3:
                colour = DOT_DISABLED if disabled else DOT
            px[y][x] = colour + (round(255 * covered / 16),)
    return px


def main(out):
    os.makedirs(out, exist_ok=True)
    strip = []
    for group in ("unchecked", "checked", "grayed"):
        for state in STATES:
            strip += check_cell(group, state)
    write_bmp(os.path.join(out, "CHECKBOX.bmp"), SIZE, len(strip), strip)
    strip = []
    for selected in (False, True):
        for state in STATES:
            strip += option_cell(selected, state)
    write_png(os.path.join(out, "OPTION.png"), SIZE, len(strip), strip)


if __name__ == "__main__":
    main(sys.argv[1])
