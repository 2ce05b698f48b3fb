#!/usr/bin/env python3
"""Draws the scroll bar's twelve skins as 24-bit bitmaps:
draw_scrollbar_skins.py OUTDIR writes <NAME>.bmp for each skin below.

Each skin is a strip of state cells, laid along x for a horizontal bar and
along y for a vertical one. Cells are drawn in bar terms (along, across) and
turned into place. Magenta (255, 0, 255) appears only in the glyphs and grips,
where it stands for transparency; every state cell has colours of its own."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skin_files import MAGENTA, mix, write_bmp  # noqa: E402


def strip(along, across, states, horizontal, cells_along, draw):
    """A strip of cells; cells_along: whether cells follow each other along the
    bar (True) or across it (False) in the bitmap."""
    if horizontal:
        # x = along, y = across
        w = along * (states if cells_along else 1)
        h = across * (1 if cells_along else states)
    else:
        w = across * (1 if cells_along else states)
        h = along * (states if cells_along else 1)
    pixels = [[(0, 0, 0)] * w for _ in range(h)]
    for s in range(states):
        for a in range(along):
            for c in range(across):
                colour = draw(s, a, c)
                if horizontal:
                    x = a + (along * s if cells_along else 0)
                    y = c + (0 if cells_along else across * s)
                else:
                    x = c + (0 if cells_along else across * s)
                    y = a + (along * s if cells_along else 0)
                pixels[y][x] = colour
    return w, h, pixels


# Track: normal, pressed.
TRACK = [((226, 230, 236), (212, 217, 226)), ((196, 204, 218), (178, 188, 206))]


def track(s, a, c):
    face, edge = TRACK[s]
    if c == 0 or c == 16:
        return edge
    if c < 3 or c > 13:
        return mix(edge, face, 0.5)
    return face


# Thumb: normal, hot, dragged, disabled (border, light, dark).
THUMB = [((112, 124, 148), (196, 204, 220), (160, 172, 194)),
         ((62, 102, 170), (178, 204, 244), (122, 160, 222)),
         ((40, 72, 136), (132, 166, 224), (84, 120, 190)),
         ((178, 180, 186), (232, 232, 234), (214, 215, 218))]


def thumb(s, a, c, along):
    border, light, dark = THUMB[s]
    corner = (a in (0, along - 1)) and (c in (0, 16))
    if corner:
        return TRACK[0][0]
    if a in (0, along - 1) or c in (0, 16):
        return border
    return mix(light, dark, (c - 1) / 14)


# Grip ridges: normal, hot, dragged, disabled (shadow, highlight).
GRIP = [((96, 108, 132), (236, 240, 248)), ((40, 78, 150), (226, 236, 255)),
        ((24, 52, 110), (196, 214, 250)), ((170, 172, 178), (246, 246, 247))]


def grip(s, a, c, along, across, ridge_axis_along):
    shadow, light = GRIP[s]
    # Three ridges running across the bar, spaced along it.
    if 1 <= c <= across - 2:
        if a in (2, 5, 8) and a < along:
            return shadow
        if a in (3, 6, 9) and a < along:
            return light
    return MAGENTA


# Button face: normal, bar hover, hot, pressed, disabled (border, face).
BUTTON = [((200, 206, 216), (236, 239, 244)), ((150, 162, 184), (224, 229, 238)),
          ((80, 124, 196), (206, 222, 248)), ((36, 76, 150), (92, 134, 206)),
          ((214, 216, 220), (242, 242, 243))]
GLYPH = [(72, 82, 104), (56, 66, 92), (28, 62, 140), (255, 255, 255), (176, 178, 184)]


def button(s, a, c):
    border, face = BUTTON[s]
    if c in (0, 16) or a in (0, 17):
        return border
    if c in (1, 2, 14, 15):
        return mix(border, face, 0.6)
    return face


def glyph(s, a, c, towards_start):
    # A triangle pointing to the bar's start (top/left) or its end.
    if towards_start:
        half = a - 6
    else:
        half = 11 - a
    if 0 <= half <= 4 and abs(c - 8) <= half:
        return GLYPH[s]
    return MAGENTA


def main(out):
    os.makedirs(out, exist_ok=True)
    skins = {}
    for horizontal, suffix in ((True, "H"), (False, "V")):
        skins["SCRBACK" + suffix] = strip(2, 17, 2, horizontal, True, track)
        # Thumb cells follow each other across the bar; grips too.
        skins["SCRTHUMB" + suffix] = strip(15, 17, 4, horizontal, False, lambda s, a, c: thumb(s, a, c, 15))
        if horizontal:
            skins["SCRGRIPH"] = strip(10, 9, 4, True, False, lambda s, a, c: grip(s, a, c, 10, 9, True))
        else:
            # Vertical grip cells (9 across, 10 along) are stacked along y.
            skins["SCRGRIPV"] = strip(10, 9, 4, False, True, lambda s, a, c: grip(s, a, c, 10, 9, True))
        skins["SCRARROW" + suffix] = strip(18, 17, 5, horizontal, True, button)
    skins["SCRARROWHL"] = strip(18, 17, 5, True, True, lambda s, a, c: glyph(s, a, c, True))
    skins["SCRARROWHR"] = strip(18, 17, 5, True, True, lambda s, a, c: glyph(s, a, c, False))
    skins["SCRARROWVT"] = strip(18, 17, 5, False, True, lambda s, a, c: glyph(s, a, c, True))
    skins["SCRARROWVB"] = strip(18, 17, 5, False, True, lambda s, a, c: glyph(s, a, c, False))
    for name, (w, h, pixels) in skins.items():
        write_bmp(os.path.join(out, name + ".bmp"), w, h, pixels)


if __name__ == "__main__":
    main(sys.argv[1])
