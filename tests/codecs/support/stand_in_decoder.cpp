#include "stand_in_decoder.h"

#include <algorithm>
#include <cstring>

#include "png/png_reader.h"
#include "imaging/byte_source.h"

namespace {

uint16_t Le16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// Decodes the image of a one-image GIF into indexes, top row first; false when malformed.
bool DecodeLzw(std::span<const uint8_t> gif, int32_t &width, int32_t &height, std::vector<uint8_t> &indexes,
               std::vector<uint8_t> &table, int64_t maxPixels) {
    if (gif.size() < 13) return false;
    size_t pos = 13;
    std::vector<uint8_t> global;
    if (gif[10] & 0x80) {
        const size_t n = 3 * (size_t{2} << (gif[10] & 7));
        if (gif.size() < pos + n) return false;
        global.assign(gif.begin() + long(pos), gif.begin() + long(pos + n));
        pos += n;
    }
    while (pos < gif.size() && gif[pos] == 0x21) {
        if (pos + 2 > gif.size()) return false;
        pos += 2;
        while (pos < gif.size() && gif[pos] != 0) pos += gif[pos] + 1u;
        ++pos;
    }
    if (pos + 11 > gif.size() || gif[pos] != 0x2C) return false;
    width = Le16(&gif[pos + 5]);
    height = Le16(&gif[pos + 7]);
    const uint8_t packed = gif[pos + 9];
    pos += 10;
    table = global;
    if (packed & 0x80) {
        const size_t n = 3 * (size_t{2} << (packed & 7));
        if (gif.size() < pos + n) return false;
        table.assign(gif.begin() + long(pos), gif.begin() + long(pos + n));
        pos += n;
    }
    if (width < 1 || height < 1 || int64_t{width} * height > maxPixels || pos >= gif.size()) return false;
    const uint32_t minCode = gif[pos++];
    if (minCode < 2 || minCode > 8) return false;
    std::vector<uint8_t> data;
    while (pos < gif.size() && gif[pos] != 0) {
        const size_t n = gif[pos];
        if (pos + 1 + n > gif.size()) return false;
        data.insert(data.end(), gif.begin() + long(pos + 1), gif.begin() + long(pos + 1 + n));
        pos += n + 1;
    }

    const uint32_t clear = 1u << minCode, end = clear + 1;
    std::vector<std::vector<uint8_t>> dict;
    auto reset = [&] {
        dict.assign(clear + 2, {});
        for (uint32_t i = 0; i < clear; ++i) dict[i] = {uint8_t(i)};
    };
    reset();
    uint32_t size = minCode + 1, acc = 0, bits = 0;
    int64_t prev = -1;
    const size_t wanted = size_t(width) * size_t(height);
    for (uint8_t byte : data) {
        acc |= uint32_t(byte) << bits;
        bits += 8;
        while (bits >= size) {
            const uint32_t code = acc & ((1u << size) - 1);
            acc >>= size;
            bits -= size;
            if (code == clear) {
                reset();
                size = minCode + 1;
                prev = -1;
                continue;
            }
            if (code == end) goto done;
            std::vector<uint8_t> entry;
            if (code < dict.size() && (code < clear || !dict[code].empty())) {
                entry = dict[code];
                if (prev >= 0) {
                    auto added = dict[size_t(prev)];
                    added.push_back(entry[0]);
                    dict.push_back(added);
                }
            } else if (code == dict.size() && prev >= 0) {
                entry = dict[size_t(prev)];
                entry.push_back(entry[0]);
                dict.push_back(entry);
            } else {
                return false;
            }
            indexes.insert(indexes.end(), entry.begin(), entry.end());
            if (indexes.size() >= wanted) goto done;
            prev = code;
            if (dict.size() == (1u << size) && size < 12) ++size;
        }
    }
done:
    indexes.resize(wanted, 0);
    return true;
}

} // namespace

lumio::DecodeResult StandInDecoder::DecodeGif(std::span<const uint8_t> gif, lumio::SurfaceCore &host) {
    lastGif.assign(gif.begin(), gif.end());
    int32_t width = 0, height = 0;
    std::vector<uint8_t> indexes, table;
    if (!DecodeLzw(gif, width, height, indexes, table, maxPixels)) return lumio::DecodeResult::kNoPicture;
    if (!host.InitializeDIB(width, height)) return lumio::DecodeResult::kNoSurface;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t *row = host.RowFromTop(y);
        for (int32_t x = 0; x < width; ++x) {
            const size_t i = indexes[size_t(y) * size_t(width) + size_t(x)];
            uint8_t *p = row + 4 * x;
            if (3 * i + 2 < table.size()) {
                p[0] = table[3 * i + 2];
                p[1] = table[3 * i + 1];
                p[2] = table[3 * i];
            }
            p[3] = 0;
        }
    }
    return lumio::DecodeResult::kFilled;
}

bool StandInDecoder::LoadPicture(std::span<const uint8_t>, lumio::SurfaceCore &, int16_t bitCount) {
    ++pictureLoaderCalls;
    lastBitCount = bitCount;
    return false;
}

bool StandInDecoder::DecodeDib(std::span<const uint8_t> info, std::span<const uint8_t> bits,
                               lumio::SurfaceCore &host) {
    lastInfo.assign(info.begin(), info.end());
    if (info.size() < 40 || Le32(&info[0]) != 40) return false;
    const auto width = int32_t(Le32(&info[4]));
    const auto height = int32_t(Le32(&info[8]));
    const uint16_t bpp = Le16(&info[14]);
    const uint32_t used = Le32(&info[32]);
    if (width < 1 || height < 1 || info.size() != 40 + 4 * size_t(used)) return false;
    const size_t stride = (size_t(bpp) * size_t(width) + 31) / 32 * 4;
    if (bits.size() < stride * size_t(height)) return false;
    const int32_t w = std::min(width, host.Width()), h = std::min(height, host.Height());
    for (int32_t r = 0; r < h; ++r) {
        const uint8_t *src = bits.data() + size_t(r) * stride;
        uint8_t *dst = host.BitsPointer() + size_t(r) * size_t(host.scanWidth());
        for (int32_t x = 0; x < w; ++x) {
            uint8_t *p = dst + 4 * x;
            if (bpp <= 8) {
                const uint32_t shift = 8 - bpp - (uint32_t(x) * bpp) % 8;
                const uint32_t index = (src[size_t(x) * bpp / 8] >> shift) & ((1u << bpp) - 1);
                if (index < used) std::memcpy(p, &info[40 + 4 * index], 3);
            } else if (bpp == 16) {
                const uint16_t v = Le16(src + 2 * x);
                p[0] = uint8_t((v & 31) << 3);
                p[1] = uint8_t(((v >> 5) & 31) << 3);
                p[2] = uint8_t(((v >> 10) & 31) << 3);
            } else {
                std::memcpy(p, src + size_t(x) * (bpp / 8), 3);
            }
            p[3] = 0;
        }
    }
    return true;
}

bool StandInDecoder::LoadPng(std::span<const uint8_t> png, lumio::SurfaceCore &host) {
    // Huge declared pictures only cost time here; the PNG reader has its own fuzzer.
    if (png.size() >= 24) {
        const auto big = [&](size_t at) { return uint64_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
        if (big(16) * big(20) > uint64_t(maxPixels)) return true;
    }
    lumio::PngReader reader{lumio::PngReader::ZlibLoader()};
    lumio::MemoryByteSource source(png);
    return reader.ParsePNG(source, host);
}
