#!/usr/bin/env python3
"""Writes the benchmark inputs of the codecs into the given folder: a text corpus and
large PNG images of several kinds. Deterministic; only the standard library is used."""
import math
import os
import random
import struct
import sys
import zlib

WORDS = ("the of and to in is that for it as was with be by on not he this are or his from at which "
         "but have an they you were her she there been one all we their has would when if so no "
         "will more can out some time could them only into other than then now its also over two "
         "image surface window control pixel alpha palette chunk colour render region frame caption "
         "button scroll list tab status progress message input border shadow gradient bitmap cursor").split()


def text_corpus(size, rng):
    # Zipf-like word choice, sentences and paragraphs.
    weights = [1.0 / (i + 1) for i in range(len(WORDS))]
    out, length = [], 0
    while length < size:
        n = rng.randint(4, 18)
        words = rng.choices(WORDS, weights, k=n)
        s = " ".join(words).capitalize() + rng.choice([". ", ". ", ", ", "; ", "? ", ".\n\n"])
        if rng.random() < 0.05:
            s += "%d %s-%04d " % (rng.randint(0, 99999), rng.choice(WORDS), rng.randint(0, 9999))
        out.append(s)
        length += len(s)
    return "".join(out).encode()[:size]


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_row(ftype, row, prev, bpp):
    if ftype == 0:
        return row
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        if ftype == 1:
            out[i] = (x - a) & 255
        elif ftype == 2:
            out[i] = (x - b) & 255
        elif ftype == 3:
            out[i] = (x - ((a + b) >> 1)) & 255
        else:
            c = prev[i - bpp] if i >= bpp else 0
            out[i] = (x - paeth(a, b, c)) & 255
    return bytes(out)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def write_png(path, width, height, color_type, depth, rows, filters, plte=None, trns=None, level=6, pass_starts=None):
    """rows: unfiltered rows of the image; for an interlaced image the rows of the passes in
    order, pass_starts holding the index of each pass's first row."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[color_type]
    bpp = max(1, channels * depth // 8)
    raw = bytearray()
    prev = None
    for y, row in enumerate(rows):
        if prev is None or (pass_starts and y in pass_starts):
            prev = bytes(len(row))
        f = filters(y)
        raw.append(f)
        raw += filter_row(f, row, prev, bpp)
        prev = row
    ihdr = struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, 1 if pass_starts else 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    if plte:
        png += chunk(b"PLTE", plte)
    if trns:
        png += chunk(b"tRNS", trns)
    z = zlib.compress(bytes(raw), level)
    for i in range(0, len(z), 65536):
        png += chunk(b"IDAT", z[i:i + 65536])
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)



def photo_pixel_rows(width, height, channels, rng, alpha=False):
    """Smooth colour fields with a little noise; alpha (if any) from opaque to clear."""
    rows = []
    fx = [rng.uniform(0.002, 0.01) for _ in range(4)]
    noise = [rng.randint(-3, 3) for _ in range(4096)]
    for y in range(height):
        row = bytearray(width * channels)
        base = [int(100 + 90 * math.sin(y * fx[c] + c)) for c in range(3)]
        k = (y * 131) % 4000
        for x in range(width):
            i = x * channels
            n = noise[(k + x) & 4095]
            for c in range(min(channels, 3)):
                row[i + c] = (base[c] + (x * (c + 1) >> 4) + n) & 255
            if alpha:
                d = (x - width // 2) ** 2 + (y - height // 2) ** 2
                a = 255 - min(255, d * 255 // (width * width // 4))
                row[i + channels - 1] = a
        rows.append(bytes(row))
    return rows


def adam7_rows(rows, width, height, bpp):
    passes = [(0, 0, 8, 8), (0, 4, 8, 8), (4, 0, 8, 4), (0, 2, 4, 4), (2, 0, 4, 2), (0, 1, 2, 2), (1, 0, 2, 1)]
    out, starts = [], set()
    for r0, c0, rs, cs in passes:
        if c0 >= width or r0 >= height:
            continue
        starts.add(len(out))
        for y in range(r0, height, rs):
            out.append(b"".join(rows[y][x * bpp:(x + 1) * bpp] for x in range(c0, width, cs)))
    return out, starts


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(2024)
    with open(os.path.join(folder, "corpus.txt"), "wb") as f:
        f.write(text_corpus(8 << 20, rng))

    big = 2048
    rgba = photo_pixel_rows(big, big, 4, rng, alpha=True)
    write_png(os.path.join(folder, "rgba8_2048.png"), big, big, 6, 8, rgba, lambda y: 4 if y % 3 else 1)
    rgb = [b"".join(r[i:i + 3] for i in range(0, len(r), 4)) for r in rgba]
    write_png(os.path.join(folder, "rgb8_2048.png"), big, big, 2, 8, rgb, lambda y: y % 5)
    grey = [bytes(r[i] for i in range(0, len(r), 3)) for r in rgb]
    write_png(os.path.join(folder, "grey8_2048.png"), big, big, 0, 8, grey, lambda y: 2)
    plte = bytes(c for i in range(256) for c in (i, (i * 7) & 255, 255 - i))
    trns = bytes(min(255, i * 4) for i in range(64))
    pal = [bytes((v >> 2) ^ (x & 3) for x, v in enumerate(r)) for r in grey]
    write_png(os.path.join(folder, "pal8_2048.png"), big, big, 3, 8, pal, lambda y: 0 if y % 2 else 2, plte, trns)

    mid = 1024
    rgba_mid = [r[:mid * 4] for r in rgba[:mid]]
    rgba16 = [bytes(b for v in r for b in (v, (v * 37) & 255)) for r in rgba_mid]
    write_png(os.path.join(folder, "rgba16_1024.png"), mid, mid, 6, 16, rgba16, lambda y: 1)
    path = os.path.join(folder, "rgba8_1024_interlaced.png")
    rows, starts = adam7_rows(rgba_mid, mid, mid, 4)
    write_png(path, mid, mid, 6, 8, rows, lambda y: 4, pass_starts=starts)


if __name__ == "__main__":
    main()
