#pragma once
// Builds small PNG files chunk by chunk for tests (zlib compresses, CRCs are correct unless
// a test breaks them on purpose).
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

class PngBuilder {
public:
    using Bytes = std::vector<uint8_t>;

    PngBuilder() : bytes_{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A} {}

    static Bytes Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, uint8_t interlace = 0) {
        Bytes d;
        Put32(d, width);
        Put32(d, height);
        d.insert(d.end(), {depth, colorType, 0, 0, interlace});
        return d;
    }
    static Bytes Compress(const Bytes &raw) {
        uLongf n = compressBound(uLong(raw.size()));
        Bytes z(n);
        compress2(z.data(), &n, raw.data(), uLong(raw.size()), 9);
        z.resize(n);
        return z;
    }

    // A chunk; crc: the stored CRC, or the right one when omitted.
    PngBuilder &Chunk(const std::string &type, const Bytes &data) { return Chunk(type, data, Crc(type, data)); }
    PngBuilder &Chunk(const std::string &type, const Bytes &data, uint32_t crc) {
        Put32(bytes_, uint32_t(data.size()));
        bytes_.insert(bytes_.end(), type.begin(), type.end());
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        Put32(bytes_, crc);
        return *this;
    }
    PngBuilder &IHDR(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, uint8_t interlace = 0) {
        return Chunk("IHDR", Header(width, height, depth, colorType, interlace));
    }
    // Filtered rows (filter byte first in each), compressed into one IDAT chunk.
    PngBuilder &IDAT(const Bytes &rawRows) { return Chunk("IDAT", Compress(rawRows)); }
    PngBuilder &IEND() { return Chunk("IEND", {}); }
    PngBuilder &Raw(const Bytes &b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    const Bytes &Bytes_() const { return bytes_; }
    operator const Bytes &() const { return bytes_; }

    static uint32_t Crc(const std::string &type, const Bytes &data) {
        uLong c = crc32(0, reinterpret_cast<const Bytef *>(type.data()), uInt(type.size()));
        return uint32_t(crc32(c, data.data(), uInt(data.size())));
    }

private:
    static void Put32(Bytes &b, uint32_t v) { b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}); }
    Bytes bytes_;
};
