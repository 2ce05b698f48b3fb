"""What the skin scripts share: colour mixing and the writers of 24-bit
bitmaps and RGBA PNG images. A file whose bytes would not change is left as
it is, so that configuring again does not rebuild the resources."""
import struct
import zlib

MAGENTA = (255, 0, 255)


def mix(c1, c2, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c1, c2))


def _write(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def write_bmp(path, width, height, pixels, pixels_per_metre=2835):
    """pixels: rows of (r, g, b), top row first."""
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixels[y][x]
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), pixels_per_metre, pixels_per_metre, 0, 0)
    _write(path, header + info + data)


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a), straight alpha, or rows of (r, g, b)."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    raw = bytearray()
    for y in range(height):
        raw += b"\0"
        for x in range(width):
            raw += bytes(pixels[y][x])
    colour_type = 6 if len(pixels[0][0]) == 4 else 2
    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    _write(path, b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
           + chunk(b"IEND", b""))
