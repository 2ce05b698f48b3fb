#!/usr/bin/env python3
"""Writes the seed corpora of the GIF, BMP and ICO reader fuzzers (fuzz/codecs/corpus/):
small well-formed files of each kind, built here byte by byte."""
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fuzz', 'codecs', 'corpus')


def write(fuzzer, name, data):
    folder = os.path.join(ROOT, fuzzer)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


# ---- GIF ----

def gif_table(colours):
    n = 0
    while (2 << n) < len(colours):
        n += 1
    padded = colours + [(0, 0, 0)] * ((2 << n) - len(colours))
    return n, b''.join(bytes(c) for c in padded)


def gif_lzw(indexes, min_code=8):
    clear, end, width = 1 << min_code, (1 << min_code) + 1, min_code + 1
    run = (1 << min_code) - 2
    acc = bits = 0
    out = bytearray()
    codes = []
    for i, v in enumerate(indexes):
        if i % run == 0:
            codes.append(clear)
        codes.append(v)
    codes.append(end)
    for c in codes:
        acc |= c << bits
        bits += width
        while bits >= 8:
            out.append(acc & 255)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 255)
    blocks = bytearray()
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes([min_code]) + bytes(blocks) + b'\0'


def gif(width, height, frames, global_colours, signature=b'GIF89a', extensions=b''):
    head = signature + struct.pack('<HH', width, height)
    if global_colours:
        n, table = gif_table(global_colours)
        head += bytes([0x80 | n, 0, 0]) + table
    else:
        head += b'\0\0\0'
    body = extensions
    for left, top, w, h, indexes, transparent, local in frames:
        if transparent is not None:
            body += bytes([0x21, 0xF9, 4, 1, 0, 0, transparent, 0])
        packed = 0
        table = b''
        if local:
            n, table = gif_table(local)
            packed = 0x80 | n
        body += b',' + struct.pack('<HHHHB', left, top, w, h, packed) + table + gif_lzw(indexes)
    return head + body + b';'


FOUR = [(10, 20, 30), (40, 50, 60), (70, 80, 90), (100, 110, 120)]
write('gif_reader_fuzzer', 'opaque', gif(2, 2, [(0, 0, 2, 2, [0, 1, 2, 3], None, None)], FOUR))
write('gif_reader_fuzzer', 'transparent', gif(3, 2, [(0, 0, 3, 2, [0, 1, 2, 3, 2, 1], 2, None)], FOUR))
write('gif_reader_fuzzer', 'local_table', gif(2, 1, [(0, 0, 2, 1, [0, 1], 0, [(1, 2, 3), (4, 5, 6)])], []))
write('gif_reader_fuzzer', 'animated', gif(8, 8, [(2, 3, 2, 2, [0, 1, 1, 0], None, None),
                                                  (0, 0, 8, 8, [3] * 64, 1, None)], FOUR,
                                           extensions=b'\x21\xff\x0bNETSCAPE2.0\x03\x01\0\0\0\x21\xfe\x02hi\0'))
write('gif_reader_fuzzer', 'gif87a', gif(4, 4, [(0, 0, 4, 4, list(range(4)) * 4, None, None)], FOUR, b'GIF87a'))


# ---- BMP ----

def bmp(width, height, bits, compression, rows, palette=b''):
    offset = 54 + len(palette)
    return (b'BM' + struct.pack('<IHHI', offset + len(rows), 0, 0, offset) +
            struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, len(rows), 2835, 2835,
                        len(palette) // 4, 0) + palette + rows)


rows32 = bytes([1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0])
alpha32 = bytes([200, 100, 50, 128, 0, 0, 0, 0, 10, 20, 30, 255, 90, 90, 90, 90])
write('bmp_reader_fuzzer', 'opaque32', bmp(2, 2, 32, 0, rows32))
write('bmp_reader_fuzzer', 'alpha32', bmp(2, 2, 32, 0, alpha32))
write('bmp_reader_fuzzer', 'topdown32', bmp(2, -2, 32, 0, alpha32))
write('bmp_reader_fuzzer', 'rgb24', bmp(2, 2, 24, 0, bytes(16)))
write('bmp_reader_fuzzer', 'pal8', bmp(2, 2, 8, 0, bytes(8), bytes(8)))


# ---- ICO / CUR ----

def row_bytes(bits, width):
    return (bits * width + 31) // 32 * 4


def icon_dib(width, height, bits, palette, colour_rows, mask_rows):
    return (struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bits, 0, len(colour_rows) + len(mask_rows),
                        0, 0, 0, 0) + palette + colour_rows + mask_rows)


def icon_file(kind, images):
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for w, h, bits, data in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b''.join(d for _, _, _, d in images)


def png_rgba(width, height, rgba):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = b''.join(b'\0' + rgba[y * width * 4:(y + 1) * width * 4] for y in range(height))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def dib32(w, h, alpha):
    return icon_dib(w, h, 32, b'', bytes([40, 80, 120, alpha]) * (w * h), bytes(row_bytes(1, w) * h))


pal8 = bytearray(1024)
pal8[2] = 255
pal8[5] = 255
dib8 = icon_dib(2, 2, 8, bytes(pal8), bytes([0, 1, 0, 0, 0, 1, 0, 0]), bytes([0, 0, 0, 0, 0x80, 0, 0, 0]))
dib4 = icon_dib(3, 3, 4, bytes(range(64)), bytes(12), bytes([0x40, 0, 0, 0] * 3))
dib1 = icon_dib(8, 2, 1, bytes([0, 0, 0, 0, 255, 255, 255, 0]), bytes([0x5A, 0, 0, 0] * 2), bytes([0x0F, 0, 0, 0] * 2))
write('ico_reader_fuzzer', 'three_sizes', icon_file(1, [(16, 16, 32, dib32(16, 16, 200)), (2, 2, 8, dib8),
                                                        (3, 3, 4, dib4)]))
write('ico_reader_fuzzer', 'mono', icon_file(1, [(8, 2, 1, dib1)]))
write('ico_reader_fuzzer', 'cursor', icon_file(2, [(2, 2, 8, dib8)]))
write('ico_reader_fuzzer', 'png_entry', icon_file(1, [(2, 2, 0, png_rgba(2, 2, bytes([255, 0, 0, 128]) * 4)),
                                                      (2, 2, 32, dib32(2, 2, 0))]))


def bit_field_dib(width, height, bits, masks, pixels, mask_rows):
    fmt = '<H' if bits == 16 else '<I'
    stride = row_bytes(bits, width)
    rows = b''.join((b''.join(struct.pack(fmt, p) for p in pixels[y * width:(y + 1) * width])).ljust(stride, b'\0')
                    for y in range(height))
    dib = icon_dib(width, height, bits, struct.pack('<III', *masks), rows, mask_rows)
    return dib[:16] + struct.pack('<I', 3) + dib[20:]


write('ico_reader_fuzzer', 'with_bit_fields', icon_file(1, [
    (3, 2, 16, bit_field_dib(3, 2, 16, (0xF800, 0x07E0, 0x001F), [0x001F, 0xFFFF, 0, 0xF800, 0x07E0, 0x8410],
                             bytes([0, 0, 0, 0, 0x80, 0, 0, 0]))),
    (2, 2, 32, bit_field_dib(2, 2, 32, (0xFF0000, 0xFF00, 0xFF), [0xFF102030, 0x80402010, 0, 0x00FFFFFF],
                             bytes(8)))]))

# ---- Resources of the Windows loading tests (tests/codecs/win/res/) ----

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'codecs', 'win', 'res')
os.makedirs(RES, exist_ok=True)


def write_res(name, data):
    with open(os.path.join(RES, name), 'wb') as f:
        f.write(data)


# A 3 x 2 PNG: top row red, green, blue at half alpha; bottom row opaque white.
write_res('chain.png', png_rgba(3, 2, bytes([255, 0, 0, 128, 0, 255, 0, 128, 0, 0, 255, 128]) + bytes([255] * 12)))
# A 24-bit 2 x 2 bitmap: bottom row blue, blue; top row red, red (rows bottom-up).
write_res('chain.bmp', bmp(2, 2, 24, 0, bytes([255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0])))
# Icon and cursor resources: one 16 x 16 32-bit image with alpha 255.
write_res('chain.ico', icon_file(1, [(16, 16, 32, dib32(16, 16, 255))]))
write_res('chain.cur', struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', 16, 16, 0, 0, 1, 1,
                                                                  len(dib32(16, 16, 255)), 22) + dib32(16, 16, 255))


# ---- The loading chain: a start offset byte and a wanted icon size byte, then the bytes ----

for fuzzer in ('gif_reader_fuzzer', 'bmp_reader_fuzzer', 'ico_reader_fuzzer', 'png_reader_fuzzer'):
    folder = os.path.join(ROOT, fuzzer)
    for name in sorted(os.listdir(folder))[:4]:
        with open(os.path.join(folder, name), 'rb') as f:
            data = f.read()
        if len(data) > 56:
            write('picture_chain_fuzzer', fuzzer.split('_')[0] + '_' + name, bytes([0, 16]) + data)
