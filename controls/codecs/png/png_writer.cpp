#include "png/png_writer.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "imaging/byte_source.h"

namespace lumio {

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// colour * 255 / alpha, truncating; false when the colour exceeds its alpha (not premultiplied).
bool Unpremultiply(uint8_t colour, uint8_t alpha, uint8_t &out) {
    if (colour > alpha)
        return false;
    out = uint8_t(unsigned(colour) * 255u / alpha);
    return true;
}

int32_t PixelValue(const uint8_t *p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}

// A chunk buffer: 4 bytes of type, then the data.
std::vector<uint8_t> ChunkBuffer(const char type[4], size_t dataLength) {
    std::vector<uint8_t> buffer(4 + dataLength);
    std::memcpy(buffer.data(), type, 4);
    return buffer;
}

}  // namespace

int32_t cPNGwriter::BytesPerRow(int32_t width, uint8_t bitsPerPixel) {
    return int32_t((int64_t(width) * bitsPerPixel + 7) / 8);
}

cPNGwriter::Slot cPNGwriter::FindPaletteSlot(const int32_t *sorted, int32_t value, int32_t count) {
    if (count == 0)
        return {true, 1};
    int32_t low = 1, high = count, middle = 1;
    while (low <= high) {
        middle = low + (high - low) / 2;
        if (sorted[middle] == value)
            return {false, middle};
        if (value < sorted[middle])
            high = middle - 1;
        else
            low = middle + 1;
    }
    return {true, sorted[middle] < value ? middle + 1 : middle};
}

bool cPNGwriter::LoadZlib() {
    zlib_ = loadZlib_ ? loadZlib_() : nullptr;
    return zlib_ != nullptr;
}

void cPNGwriter::Clear() {
    m_Pixels = {};
    m_Palette = {};
    m_Alphas = {};
}

bool cPNGwriter::PreparePalette(const SurfaceCore &host, bool hasAlpha) {
    const int32_t width = host.Width(), height = host.Height();
    const int32_t scan = host.scanWidth();
    const uint8_t *bits = host.BitsPointer();

    int32_t values[257];  // 1-based, ascending as signed values
    int32_t count = 0;
    int32_t last = 0;
    bool haveLast = false;
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t *p = bits + size_t(row) * size_t(scan);
        for (int32_t x = 0; x < width; ++x, p += 4) {
            const int32_t v = PixelValue(p);
            if (haveLast && v == last)
                continue;
            last = v;
            haveLast = true;
            const Slot slot = FindPaletteSlot(values, v, count);
            if (!slot.isNew)
                continue;
            if (count == 256)
                return false;
            std::memmove(values + slot.position + 1, values + slot.position, size_t(count - slot.position + 1) * 4);
            values[slot.position] = v;
            ++count;
        }
    }

    uint8_t alpha[257];
    int32_t nonOpaque = 0, lastNonOpaque = 0;
    for (int32_t k = 1; k <= count; ++k) {
        alpha[k] = hasAlpha ? uint8_t(uint32_t(values[k]) >> 24) : 255;
        if (alpha[k] != 255) {
            ++nonOpaque;
            lastNonOpaque = k;
        }
    }
    m_TransKey = nonOpaque == 0 ? -1 : nonOpaque == 1 ? lastNonOpaque : 0;
    m_ColorType = 3;

    if (nonOpaque <= 1) {
        bool grey = true;
        for (int32_t k = 1; k <= count && grey; ++k) {
            const uint32_t v = uint32_t(values[k]);
            grey = (v & 0xFF) == ((v >> 8) & 0xFF) && (v & 0xFF) == ((v >> 16) & 0xFF);
        }
        // A grey with partial alpha would lose it as type 0: it stays indexed with tRNS.
        if (grey && nonOpaque == 1 && alpha[lastNonOpaque] != 0)
            grey = false;
        if (grey) {
            m_ColorType = 0;
            if (hasAlpha) {
                bool marked[256] = {};
                for (int32_t k = 1; k <= count; ++k)
                    if (!(alpha[k] == 0 && (uint32_t(values[k]) & 0xFFFFFF) == 0))
                        marked[uint32_t(values[k]) & 0xFF] = true;
                if (!marked[0]) {
                    m_TransKey = 0;
                } else {
                    for (int32_t level = 1; level <= count - 1; ++level)
                        if (!marked[level]) {
                            m_TransKey = level;
                            break;
                        }
                }
            }
        }
    }

    rowLength_ = width;
    bytesPerPixel_ = 1;
    m_Pixels.assign(size_t(width) * size_t(height), 0);

    if (m_ColorType == 0) {
        uint8_t *out = m_Pixels.data();
        for (int32_t row = 0; row < height; ++row) {
            const uint8_t *p = bits + size_t(row) * size_t(scan);
            for (int32_t x = 0; x < width; ++x, p += 4)
                *out++ = p[3] != 0 ? p[0] : uint8_t(m_TransKey);
        }
        return true;
    }

    uint8_t position[257];
    if (m_TransKey != -1) {
        int32_t next = 0;
        for (int32_t k = 1; k <= count; ++k)
            if (alpha[k] != 255)
                position[k] = uint8_t(next++);
        next = count - 1;
        for (int32_t k = 1; k <= count; ++k)
            if (alpha[k] == 255)
                position[k] = uint8_t(next--);
    } else {
        for (int32_t k = 1; k <= count; ++k)
            position[k] = uint8_t(k - 1);
    }

    uint8_t *out = m_Pixels.data();
    haveLast = false;
    uint8_t lastPosition = 0;
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t *p = bits + size_t(row) * size_t(scan);
        for (int32_t x = 0; x < width; ++x, p += 4) {
            const int32_t v = PixelValue(p);
            if (!haveLast || v != last) {
                last = v;
                haveLast = true;
                lastPosition = position[FindPaletteSlot(values, v, count).position];
            }
            *out++ = lastPosition;
        }
    }

    m_Palette.assign(size_t(count) * 3, 0);
    m_Alphas.assign(size_t(nonOpaque), 0);
    for (int32_t k = 1; k <= count; ++k) {
        const uint32_t v = uint32_t(values[k]);
        uint8_t *rgb = &m_Palette[size_t(position[k]) * 3];
        const uint8_t r = uint8_t(v >> 16), g = uint8_t(v >> 8), b = uint8_t(v);
        if (alpha[k] == 255) {
            rgb[0] = r, rgb[1] = g, rgb[2] = b;
        } else if (alpha[k] != 0) {
            if (!Unpremultiply(r, alpha[k], rgb[0]) || !Unpremultiply(g, alpha[k], rgb[1]) ||
                !Unpremultiply(b, alpha[k], rgb[2]))
                return false;
        }
        if (m_TransKey != -1 && alpha[k] != 255)
            m_Alphas[position[k]] = alpha[k];
    }
    if (m_TransKey == -1)
        m_Alphas.clear();
    return true;
}

bool cPNGwriter::PrepareTrueColor(const SurfaceCore &host, bool hasAlpha) {
    const int32_t width = host.Width(), height = host.Height();
    const int32_t scan = host.scanWidth();
    const uint8_t *bits = host.BitsPointer();
    const size_t pixels = size_t(width) * size_t(height);

    m_TransKey = -1;
    m_ColorType = hasAlpha ? 6 : 2;
    Clear();
    if (hasAlpha) {
        bool needsAlpha = false;
        for (size_t i = 0; i < pixels && !needsAlpha; ++i) {
            const uint8_t *p = bits + (i / size_t(width)) * size_t(scan) + (i % size_t(width)) * 4;
            needsAlpha = (p[3] != 0 && p[3] != 255) || (p[3] == 0 && (p[0] | p[1] | p[2]) != 0);
        }
        for (int channel = 0; channel < 3 && !needsAlpha; ++channel) {
            bool used[256] = {};
            int distinct = 0;
            for (int32_t row = 0; row < height && distinct < 256; ++row) {
                const uint8_t *p = bits + size_t(row) * size_t(scan);
                for (int32_t x = 0; x < width && distinct < 256; ++x, p += 4)
                    if (p[3] != 0 && !used[p[channel]]) {
                        used[p[channel]] = true;
                        ++distinct;
                    }
            }
            if (distinct == 256)
                continue;
            int32_t v = 0;
            while (used[v])
                ++v;
            m_TransKey = v + v * 256 + v * 65536;
            m_ColorType = 2;
            break;
        }
    }

    bytesPerPixel_ = m_ColorType == 6 ? 4 : 3;
    rowLength_ = BytesPerRow(width, uint8_t(bytesPerPixel_ * 8));
    m_Pixels.assign(size_t(rowLength_) * size_t(height), 0);
    uint8_t *out = m_Pixels.data();
    const uint8_t key[3] = {uint8_t(m_TransKey), uint8_t(m_TransKey >> 8), uint8_t(m_TransKey >> 16)};
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t *p = bits + size_t(row) * size_t(scan);
        for (int32_t x = 0; x < width; ++x, p += 4) {
            const uint8_t a = p[3];
            if (a == 255) {
                out[0] = p[2], out[1] = p[1], out[2] = p[0];
            } else if (a == 0) {
                if (m_ColorType == 2)
                    out[0] = key[0], out[1] = key[1], out[2] = key[2];
                else
                    out[0] = out[1] = out[2] = 0;
            } else if (!Unpremultiply(p[2], a, out[0]) || !Unpremultiply(p[1], a, out[1]) ||
                       !Unpremultiply(p[0], a, out[2])) {
                return false;
            }
            if (m_ColorType == 6)
                out[3] = a;
            out += bytesPerPixel_;
        }
    }
    return true;
}

bool cPNGwriter::WriteChunk(ByteSink &out, const char type[4], const uint8_t *typeAndData, uint32_t length) {
    uint8_t head[8];
    WriteBigEndian32(head, length);
    std::memcpy(head + 4, type, 4);
    uint8_t crc[4];
    WriteBigEndian32(crc, zlib_->Crc32(typeAndData, length + 4));
    return out.Write(head) && (length == 0 || out.Write({typeAndData + 4, length})) && out.Write(crc);
}

bool cPNGwriter::WriteHeader(const SurfaceCore &host, ByteSink &out) {
    static const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> ihdr = ChunkBuffer("IHDR", 13);
    WriteBigEndian32(&ihdr[4], uint32_t(host.Width()));
    WriteBigEndian32(&ihdr[8], uint32_t(host.Height()));
    ihdr[12] = 8;
    ihdr[13] = uint8_t(m_ColorType);
    return out.Write(kSignature) && WriteChunk(out, "IHDR", ihdr.data(), 13);
}

bool cPNGwriter::WritePLTE(ByteSink &out) {
    if (m_ColorType != 3)
        return true;
    std::vector<uint8_t> chunk = ChunkBuffer("PLTE", m_Palette.size());
    std::memcpy(chunk.data() + 4, m_Palette.data(), m_Palette.size());
    m_Palette = {};
    return WriteChunk(out, "PLTE", chunk.data(), uint32_t(chunk.size() - 4));
}

bool cPNGwriter::WritetRNS(ByteSink &out) {
    if (m_TransKey == -1 || m_ColorType == 6)
        return true;
    std::vector<uint8_t> chunk;
    if (m_ColorType == 0) {
        chunk = ChunkBuffer("tRNS", 2);
        chunk[5] = uint8_t(m_TransKey);
    } else if (m_ColorType == 2) {
        chunk = ChunkBuffer("tRNS", 6);
        chunk[5] = uint8_t(m_TransKey);
        chunk[7] = uint8_t(m_TransKey >> 8);
        chunk[9] = uint8_t(m_TransKey >> 16);
    } else {
        chunk = ChunkBuffer("tRNS", m_Alphas.size());
        std::memcpy(chunk.data() + 4, m_Alphas.data(), m_Alphas.size());
        m_Alphas = {};
    }
    return WriteChunk(out, "tRNS", chunk.data(), uint32_t(chunk.size() - 4));
}

bool cPNGwriter::ZlibCompress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) {
    const int status = zlib_->HasCompress2() ? zlib_->Compress2(dest, destLength, src, srcLength, 9)
                                             : zlib_->Compress(dest, destLength, src, srcLength);
    return status == 0;
}

bool cPNGwriter::WriteImageData(const SurfaceCore &host, ByteSink &out) {
    const int32_t height = host.Height();
    const int64_t rowLength = rowLength_;
    const int64_t n = int64_t(height) * (rowLength + 1);
    if (n > kInt32Max)
        return false;
    const int64_t room = n + int64_t(std::nearbyint(double(n) * 0.01)) + 12;
    if (room > kInt32Max)
        return false;

    std::vector<uint8_t> filtered(static_cast<size_t>(n));
    const bool paeth = m_ColorType == 2 || m_ColorType == 6;
    const int bpp = bytesPerPixel_;
    for (int32_t i = 0; i < height; ++i) {
        uint8_t *dst = filtered.data() + size_t(i) * size_t(rowLength + 1);
        const uint8_t *src = m_Pixels.data() + size_t(height - 1 - i) * size_t(rowLength);
        if (!paeth) {
            dst[0] = 0;
            std::memcpy(dst + 1, src, size_t(rowLength));
            continue;
        }
        dst[0] = 4;
        const uint8_t *up = i == 0 ? nullptr : src + size_t(rowLength);
        for (int64_t j = 0; j < rowLength; ++j) {
            const int a = j >= bpp ? src[j - bpp] : 0;
            const int b = up ? up[j] : 0;
            const int c = up && j >= bpp ? up[j - bpp] : 0;
            dst[1 + j] = uint8_t(src[j] - Paeth(a, b, c));
        }
    }
    m_Pixels = {};

    std::vector<uint8_t> chunk = ChunkBuffer("IDAT", size_t(room));
    uint32_t length = uint32_t(room);
    if (!ZlibCompress(chunk.data() + 4, length, filtered.data(), uint32_t(n)))
        return false;
    return WriteChunk(out, "IDAT", chunk.data(), length);
}

bool cPNGwriter::WriteIEND(ByteSink &out) {
    const std::vector<uint8_t> chunk = ChunkBuffer("IEND", 0);
    return WriteChunk(out, "IEND", chunk.data(), 0);
}

bool cPNGwriter::WritePNG(const SurfaceCore &host, ByteSink &out) {
    if (!host.HasImage() || !zlib_)
        return false;
    bool ok = false;
    try {
        m_TransKey = -1;
        const bool hasAlpha = host.Alpha();
        bool prepared = false;
        try {
            prepared = PreparePalette(host, hasAlpha);
        } catch (...) {
            prepared = false;
        }
        if (!prepared) {
            Clear();
            prepared = PrepareTrueColor(host, hasAlpha);
        }
        ok = prepared && WriteHeader(host, out) && WritePLTE(out) && WritetRNS(out) && WriteImageData(host, out) &&
             WriteIEND(out);
    } catch (...) {
        ok = false;
    }
    Clear();
    return ok;
}

bool SavePNG(const SurfaceCore &host, const cPNGwriter::ZlibLoader &loadZlib, std::vector<uint8_t> &outStream) {
    if (!host.HasImage())
        return false;
    cPNGwriter writer(loadZlib);
    if (!writer.LoadZlib())
        return false;
    std::vector<uint8_t> bytes;
    MemoryByteSink sink(bytes);
    if (!writer.WritePNG(host, sink)) {
        outStream.clear();
        return false;
    }
    outStream = std::move(bytes);
    return true;
}

}  // namespace lumio
