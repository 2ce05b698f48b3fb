#pragma once
// Small GIF, BMP, ICO/CUR and PNG files for tests, built byte by byte without any library
// (GIF data is LZW with a clear code often enough that codes never grow; PNG data is
// stored, not compressed), so the same fixtures serve native and Windows tests.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

using Bytes = std::vector<uint8_t>;

// The bytes are stored into a resized vector: inserting a brace list here trips
// false bounds warnings of the 32-bit compiler at -O3.
inline void PutBytes(Bytes &b, uint32_t v, size_t n, bool bigEndian) {
    const size_t at = b.size();
    b.resize(at + n);
    for (size_t i = 0; i < n; ++i) b[at + (bigEndian ? n - 1 - i : i)] = uint8_t(v >> (8 * i));
}
inline void Put16(Bytes &b, uint32_t v) { PutBytes(b, v, 2, false); }
inline void Put32(Bytes &b, uint32_t v) { PutBytes(b, v, 4, false); }
inline void PutBig32(Bytes &b, uint32_t v) { PutBytes(b, v, 4, true); }
inline void Append(Bytes &b, const Bytes &more) { b.insert(b.end(), more.begin(), more.end()); }

struct Rgb {
    uint8_t r, g, b;
};

// ---- GIF ----

// Colour table bits n of a table of `colours` entries (2^(n+1) >= colours).
inline uint8_t GifTableBits(size_t colours) {
    uint8_t n = 0;
    while ((size_t{2} << n) < colours) ++n;
    return n;
}
inline void PutGifTable(Bytes &b, const std::vector<Rgb> &table) {
    const size_t size = size_t{2} << GifTableBits(table.size());
    for (size_t i = 0; i < size; ++i) {
        const Rgb c = i < table.size() ? table[i] : Rgb{0, 0, 0};
        b.insert(b.end(), {c.r, c.g, c.b});
    }
}
// Signature, logical screen and the global table (none when empty).
inline Bytes GifHeader(uint16_t width, uint16_t height, const std::vector<Rgb> &global,
                       const std::string &signature = "GIF89a") {
    Bytes b(signature.begin(), signature.end());
    Put16(b, width);
    Put16(b, height);
    b.push_back(global.empty() ? 0 : uint8_t(0x80 | GifTableBits(global.size())));
    b.insert(b.end(), {0, 0});
    if (!global.empty()) PutGifTable(b, global);
    return b;
}
inline Bytes GifControl(bool transparent, uint8_t index) {
    return {0x21, 0xF9, 4, uint8_t(transparent ? 1 : 0), 0, 0, index, 0};
}
// LZW codes for the indexes: a clear code before every run of codes short enough that the
// code size never grows.
inline Bytes GifLzw(uint8_t minCodeSize, const std::vector<uint8_t> &indexes) {
    const uint32_t clear = 1u << minCodeSize, end = clear + 1, width = minCodeSize + 1u;
    const size_t run = (size_t{1} << minCodeSize) - 2;
    Bytes out;
    uint32_t acc = 0, bits = 0;
    auto emit = [&](uint32_t code) {
        acc |= code << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (i % run == 0) emit(clear);
        emit(indexes[i]);
    }
    emit(end);
    if (bits > 0) out.push_back(uint8_t(acc));
    return out;
}
inline Bytes GifSubBlocks(const Bytes &data) {
    Bytes b;
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        b.push_back(uint8_t(n));
        b.insert(b.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    b.push_back(0);
    return b;
}
// Descriptor, local table (when given), LZW minimum code size and the data sub-blocks.
inline Bytes GifImage(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                      const std::vector<uint8_t> &indexes, const std::vector<Rgb> &local = {}) {
    Bytes b{0x2C};
    Put16(b, left);
    Put16(b, top);
    Put16(b, width);
    Put16(b, height);
    b.push_back(local.empty() ? 0 : uint8_t(0x80 | GifTableBits(local.size())));
    if (!local.empty()) PutGifTable(b, local);
    const uint8_t minCode = 8;
    b.push_back(minCode);
    Append(b, GifSubBlocks(GifLzw(minCode, indexes)));
    return b;
}

// ---- BMP ----

// File header and BITMAPINFOHEADER; `rows` as stored (padding included), after `gap` bytes.
inline Bytes BmpFile(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const Bytes &rows,
                     const Bytes &palette = {}, uint32_t gap = 0) {
    Bytes b{'B', 'M'};
    const uint32_t offset = 54 + uint32_t(palette.size()) + gap;
    Put32(b, offset + uint32_t(rows.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, compression);
    Put32(b, uint32_t(rows.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, uint32_t(palette.size() / 4));
    Put32(b, 0);
    Append(b, palette);
    b.insert(b.end(), gap, 0);
    Append(b, rows);
    return b;
}

// ---- ICO / CUR ----

inline uint32_t RowBytes(uint32_t bits, uint32_t width) { return (bits * width + 31) / 32 * 4; }

// A bitmap image of an icon: header (height doubled), palette, colour rows, AND mask.
inline Bytes IconDib(int32_t width, int32_t height, uint16_t bits, const Bytes &palette, const Bytes &colourRows,
                     const Bytes &maskRows) {
    Bytes b;
    Put32(b, 40);
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height * 2));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, 0);
    Put32(b, uint32_t(colourRows.size() + maskRows.size()));
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Append(b, palette);
    Append(b, colourRows);
    Append(b, maskRows);
    return b;
}

// A bitmap image of an icon with bit fields (16 or 32 bits): red, green and blue masks
// after a 40-byte header, or inside a header of `headerSize` bytes; one row per entry of
// `rows`, pixels left to right; `maskRows` one 4-byte AND-mask row each, bottom-up.
inline Bytes BitFieldIconDib(uint16_t bits, const std::vector<uint32_t> &masks,
                             const std::vector<std::vector<uint32_t>> &rows, const Bytes &maskRows,
                             uint32_t headerSize = 40) {
    const auto width = int32_t(rows.empty() ? 0 : rows[0].size());
    Bytes extra;
    for (uint32_t m : masks) Put32(extra, m);
    if (headerSize > 40) extra.resize(headerSize - 40, 0);
    Bytes colour;
    for (const auto &row : rows) {
        for (uint32_t v : row) bits == 16 ? Put16(colour, v) : Put32(colour, v);
        colour.resize((colour.size() + 3) / 4 * 4, 0);
    }
    Bytes b = IconDib(width, int32_t(rows.size()), bits, extra, colour, maskRows);
    b[0] = uint8_t(headerSize);
    b[16] = 3; // BI_BITFIELDS
    return b;
}

struct IconImage {
    uint8_t width, height;
    uint16_t bitCount; // the directory's
    Bytes data;
};
// type 1 icon, 2 cursor; images follow the directory in order.
inline Bytes IconFile(uint16_t type, const std::vector<IconImage> &images) {
    Bytes b;
    Put16(b, 0);
    Put16(b, type);
    Put16(b, uint16_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (const IconImage &i : images) {
        b.insert(b.end(), {i.width, i.height, 0, 0});
        Put16(b, 1);
        Put16(b, i.bitCount);
        Put32(b, uint32_t(i.data.size()));
        Put32(b, offset);
        offset += uint32_t(i.data.size());
    }
    for (const IconImage &i : images) Append(b, i.data);
    return b;
}

// ---- PNG (stored DEFLATE blocks) ----

inline uint32_t Crc32(const uint8_t *p, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}
inline void PngChunk(Bytes &b, const char *type, const Bytes &data) {
    PutBig32(b, uint32_t(data.size()));
    Bytes typed(type, type + 4);
    Append(typed, data);
    Append(b, typed);
    PutBig32(b, Crc32(typed.data(), typed.size()));
}
// An 8-bit RGBA PNG of straight-alpha pixels given top row first as R, G, B, A.
inline Bytes PngRgba(uint32_t width, uint32_t height, const Bytes &rgba) {
    Bytes b{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    PutBig32(ihdr, width);
    PutBig32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    PngChunk(b, "IHDR", ihdr);
    // Each row is its filter byte (0: none) and its pixels.
    const size_t stride = size_t(width) * 4;
    Bytes raw(height * (stride + 1));
    for (uint32_t y = 0; y < height; ++y)
        std::copy_n(rgba.begin() + long(y * stride), stride, raw.begin() + long(y * (stride + 1) + 1));
    Bytes z{0x78, 0x01};
    for (size_t i = 0; i < raw.size() || i == 0; i += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - i);
        z.push_back(i + n >= raw.size() ? 1 : 0);
        Put16(z, uint32_t(n));
        Put16(z, uint32_t(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + long(i), raw.begin() + long(i + n));
    }
    uint32_t a = 1, s = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        s = (s + a) % 65521;
    }
    PutBig32(z, (s << 16) | a);
    PngChunk(b, "IDAT", z);
    PngChunk(b, "IEND", {});
    return b;
}

} // namespace fixtures
