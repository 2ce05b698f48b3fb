#!/usr/bin/env python3
"""Draws the skinned frame of LumioBasicForm as 24-bit pixel strips and
writes them as a C++ include: draw_form_skin.py OUT.inc [PREVIEWDIR]
(PNG previews of each strip go to PREVIEWDIR when given).

  Top     21 x 58   title strip; rows 0-28 inactive, 29-57 active;
                    columns 0-7 left corner, 8-12 middle, 13-20 right corner
  Left    16 x 88   left edge; columns 0-7 inactive, 8-15 active
  Right   16 x 88   right edge, the same blocks
  Bottom  21 x 16   bottom edge; rows 0-7 inactive, 8-15 active; columns as Top
  Menu    45 x 19   menu-bar background
  Close, Maximise, Restore, Minimise  224 x 15 each: eight 28 x 15 cells,
                    normal, hot, pressed, disabled for the active window,
                    then the same four for an inactive one"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "skins"))
from skin_files import write_png  # noqa: E402

# Active: a deep teal; inactive: a muted slate. Our own palette.
ACTIVE = {"top": (38, 120, 128), "bottom": (22, 84, 92), "edge": (12, 48, 54), "light": (120, 196, 200)}
INACTIVE = {"top": (150, 160, 166), "bottom": (124, 134, 140), "edge": (84, 90, 96), "light": (200, 206, 210)}


def lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def canvas(w, h, colour=(0, 0, 0)):
    return [[colour] * w for _ in range(h)]


def draw_top():
    img = canvas(21, 58)
    for f, pal in ((0, INACTIVE), (1, ACTIVE)):
        for y in range(29):
            c = lerp(pal["top"], pal["bottom"], y / 28)
            for x in range(21):
                img[f * 29 + y][x] = c
        for x in range(21):
            img[f * 29][x] = pal["edge"]
            img[f * 29 + 1][x] = pal["light"]
        for y in range(29):
            img[f * 29 + y][0] = pal["edge"]
            img[f * 29 + y][20] = pal["edge"]
            if y > 0:
                img[f * 29 + y][1] = pal["light"]
    return img


def draw_side(left):
    img = canvas(16, 88)
    for block, pal in ((0, INACTIVE), (1, ACTIVE)):
        for y in range(88):
            for i in range(8):
                # i counts from the outside in
                if i == 0:
                    c = pal["edge"]
                elif i == 1:
                    c = pal["light"]
                elif i == 7:
                    c = pal["edge"]
                else:
                    c = pal["bottom"]
                x = i if left else 7 - i
                img[y][block * 8 + x] = c
    return img


def draw_bottom():
    img = canvas(21, 16)
    for block, pal in ((0, INACTIVE), (1, ACTIVE)):
        for r in range(8):
            # r counts from the inside (top) out
            y = block * 8 + r
            for x in range(21):
                if r == 7 or x == 0 or x == 20:
                    c = pal["edge"]
                elif r == 0 and 7 <= x <= 13:
                    c = pal["edge"]
                elif x == 1:
                    c = pal["light"]
                else:
                    c = pal["bottom"]
                img[y][x] = c
    return img


def draw_menu():
    img = canvas(45, 19)
    for y in range(19):
        c = lerp((246, 248, 248), (222, 228, 230), y / 18)
        for x in range(45):
            img[y][x] = c
    for x in range(45):
        img[18][x] = (190, 198, 200)
    return img


GLYPHS = {
    "close": [
        "x.....x",
        ".x...x.",
        "..x.x..",
        "...x...",
        "..x.x..",
        ".x...x.",
        "x.....x",
    ],
    "maximise": [
        "xxxxxxx",
        "xxxxxxx",
        "x.....x",
        "x.....x",
        "x.....x",
        "x.....x",
        "xxxxxxx",
    ],
    "restore": [
        "..xxxxx",
        "..x...x",
        "xxxxx.x",
        "xxxxx.x",
        "x...xxx",
        "x...x..",
        "xxxxx..",
    ],
    "minimise": [
        ".......",
        ".......",
        ".......",
        ".......",
        ".......",
        "xxxxxxx",
        "xxxxxxx",
    ],
}


def draw_buttons(kind):
    img = canvas(224, 15)
    for cell in range(8):
        pal = ACTIVE if cell < 4 else INACTIVE
        state = cell % 4
        base = lerp(pal["top"], pal["bottom"], 0.3)
        if state == 1:
            face = (200, 60, 50) if kind == "close" else lerp(base, (255, 255, 255), 0.25)
        elif state == 2:
            face = (150, 36, 30) if kind == "close" else lerp(base, (0, 0, 0), 0.25)
        else:
            face = base
        ink = (255, 255, 255) if state != 3 else lerp(base, (255, 255, 255), 0.35)
        x0 = cell * 28
        for y in range(15):
            for x in range(28):
                edge = x in (0, 27) or y in (0, 14)
                img[y][x0 + x] = pal["edge"] if edge and state in (1, 2) else face
        glyph = GLYPHS[kind]
        gx, gy = x0 + 10 + (1 if state == 2 else 0), 4 + (1 if state == 2 else 0)
        for j, row in enumerate(glyph):
            for i, ch in enumerate(row):
                if ch == "x":
                    img[gy + j][gx + i] = ink
    return img


STRIPS = [
    ("Top", draw_top()),
    ("Left", draw_side(True)),
    ("Right", draw_side(False)),
    ("Bottom", draw_bottom()),
    ("Menu", draw_menu()),
    ("Close", draw_buttons("close")),
    ("Maximise", draw_buttons("maximise")),
    ("Restore", draw_buttons("restore")),
    ("Minimise", draw_buttons("minimise")),
]


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: draw_form_skin.py OUT.inc [PREVIEWDIR]")
    out = sys.argv[1]
    os.makedirs(os.path.dirname(out) or ".", exist_ok=True)
    lines = ["// Written by draw_form_skin.py; rows top-down, 3 bytes a pixel (blue, green, red).", ""]
    for name, img in STRIPS:
        h, w = len(img), len(img[0])
        data = [v for row in img for (r, g, b) in row for v in (b, g, r)]
        body = ",".join(str(v) for v in data)
        lines.append(f"inline constexpr unsigned char k{name}Pixels[] = {{{body}}};")
        lines.append(f"inline constexpr SkinStrip k{name}{{{w}, {h}, k{name}Pixels}};")
    text = "\n".join(lines) + "\n"
    # Leave an unchanged file alone so that nothing rebuilds.
    if not os.path.exists(out) or open(out).read() != text:
        with open(out, "w") as f:
            f.write(text)
    if len(sys.argv) > 2:
        os.makedirs(sys.argv[2], exist_ok=True)
        for name, img in STRIPS:
            write_png(os.path.join(sys.argv[2], name + ".png"), len(img[0]), len(img), img)


if __name__ == "__main__":
    main()
