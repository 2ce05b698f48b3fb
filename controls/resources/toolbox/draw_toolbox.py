#!/usr/bin/env python3
"""Draws the designer toolbox pictures of the controls as 16 x 15 24-bit
bitmaps: draw_toolbox.py OUTDIR writes <Class>.bmp for each class below.
Each picture is a grid of palette letters; '.' is the toolbox grey that
designers treat as transparent."""
import os
import struct
import sys

PALETTE = {
    ".": (192, 192, 192),  # background
    "k": (0, 0, 0),
    "d": (96, 96, 96),
    "g": (160, 160, 160),
    "w": (255, 255, 255),
    "b": (40, 90, 180),
    "l": (150, 190, 240),
    "n": (20, 50, 110),
    "y": (230, 200, 60),
}

PICTURES = {
    "LumioButton": [
        "................",
        "................",
        "................",
        "..gggggggggggg..",
        ".gwwwwwwwwwwwwg.",
        ".gwllllllllllwg.",
        ".gwllllllllllwg.",
        ".gwlllnnnnlllwg.",
        ".gwbbbbbbbbbbbg.",
        ".gwbbbbbbbbbbbg.",
        ".gwbbbbbbbbbbbg.",
        "..gggggggggggg..",
        "................",
        "................",
        "................",
    ],
    "LumioCheckBox": [
        "................",
        "................",
        "................",
        ".ddddddd........",
        ".dwwwwwd........",
        ".dwwwwnd........",
        ".dwnwnwd..kkkkk.",
        ".dwnnwwd........",
        ".dwwnwwd........",
        ".ddddddd........",
        "................",
        "................",
        "................",
        "................",
        "................",
    ],
    "LumioOptionButton": [
        "................",
        "................",
        "................",
        "..ddddd.........",
        ".dwwwwwd........",
        "dwwwwwwwd.......",
        "dwwbbbwwd.kkkkk.",
        "dwwbbbwwd.......",
        "dwwbbbwwd.......",
        ".dwwwwwd........",
        "..ddddd.........",
        "................",
        "................",
        "................",
        "................",
    ],
    "LumioGroupBox": [
        "................",
        "................",
        ".gg.kkkkk.gggg..",
        ".g...........g..",
        ".g...........g..",
        ".g...........g..",
        ".g...........g..",
        ".g...........g..",
        ".g...........g..",
        ".g...........g..",
        ".g...........g..",
        ".g...........g..",
        ".ggggggggggggg..",
        "................",
        "................",
    ],
    "LumioTab": [
        "................",
        "................",
        ".ddddd..........",
        ".dwwwdddddddd...",
        ".dwwwwdgggggd...",
        ".dwwwwwdddddddd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dddddddddddddd.",
        "................",
        "................",
    ],
    "LumioListBox": [
        "................",
        ".ddddddddddddd..",
        ".dwwwwwwwwwdgd..",
        ".dwkkkkkkwwdld..",
        ".dwwwwwwwwwdgd..",
        ".dllllllllldgd..",
        ".dlnnnnnnlldgd..",
        ".dllllllllldgd..",
        ".dwwwwwwwwwdgd..",
        ".dwkkkkkwwwdgd..",
        ".dwwwwwwwwwdgd..",
        ".dwkkkkkkkwdld..",
        ".dwwwwwwwwwdgd..",
        ".ddddddddddddd..",
        "................",
    ],
    "LumioTextBox": [
        "................",
        "................",
        "................",
        "................",
        ".dddddddddddddd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwkwwwd.",
        ".dwkkwkkwwkwwwd.",
        ".dwwkwkwkwkwwwd.",
        ".dwkkwkkwwkwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dddddddddddddd.",
        "................",
        "................",
        "................",
    ],
    "LumioScrollbar": [
        "......ddddd.....",
        "......dlbld.....",
        "......dbbbd.....",
        "......ddddd.....",
        "......dgggd.....",
        "......dgggd.....",
        "......dllld.....",
        "......dbbbd.....",
        "......dllld.....",
        "......dgggd.....",
        "......dgggd.....",
        "......ddddd.....",
        "......dbbbd.....",
        "......dlbld.....",
        "......ddddd.....",
    ],
    "LumioStatusBar": [
        "................",
        ".dddddddddddddd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dwwwwwwwwwwwwd.",
        ".dddddddddddddd.",
        ".dggggggggggggd.",
        ".dgkkkkkggggdgd.",
        ".dggggggggdgdgd.",
        ".dddddddddddddd.",
        "................",
    ],
    "LumioProgressBar": [
        "................",
        "................",
        "................",
        "................",
        "................",
        ".dddddddddddddd.",
        ".dbbbbbbbbwwwwd.",
        ".dllllllllwwwwd.",
        ".dbbbbbbbbwwwwd.",
        ".dnnnnnnnnwwwwd.",
        ".dddddddddddddd.",
        "................",
        "................",
        "................",
        "................",
    ],
    "LumioBasicForm": [
        "................",
        ".nnnnnnnnnnnnnn.",
        ".nbbbbbbbbywyyn.",
        ".nbwwwwbbbyyyyn.",
        ".nnnnnnnnnnnnnn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nwwwwwwwwwwwwn.",
        ".nnnnnnnnnnnnnn.",
        "................",
        "................",
    ],
}

WIDTH, HEIGHT = 16, 15


def bitmap(rows):
    if len(rows) != HEIGHT or any(len(r) != WIDTH for r in rows):
        raise ValueError("every picture is 16 x 15")
    stride = (WIDTH * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for c in row:
            r, g, b = PALETTE[c]
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: draw_toolbox.py OUTDIR")
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, rows in PICTURES.items():
        data = bitmap(rows)
        path = os.path.join(sys.argv[1], name + ".bmp")
        try:
            with open(path, "rb") as f:
                if f.read() == data:
                    continue
        except FileNotFoundError:
            pass
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
