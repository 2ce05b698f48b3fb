#pragma once
// The PNG writer: colour analysis (grey, indexed, RGB with a key colour, RGBA), then signature,
// IHDR, PLTE, tRNS, one IDAT (Paeth rows for RGB/RGBA, None for grey/indexed) and IEND.
// Bit depth 8, no interlacing, no other ancillary chunk. The surface is read, never changed.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "imaging/byte_sink.h"
#include "imaging/surface_core.h"
#include "zlib/zlib_api.h"

namespace lumio {

class cPNGwriter {
public:
    // Finds zlib for one save; null when none is installed.
    using ZlibLoader = std::function<std::unique_ptr<ZlibApi>()>;

    explicit cPNGwriter(ZlibLoader loadZlib) : loadZlib_(std::move(loadZlib)) {}

    // Binds zlib for this writer; false when none is found.
    bool LoadZlib();
    // Analyses host and writes the whole file into out, each piece with one Write. Needs
    // LoadZlib first. False on any failure (overflow, memory, a short write, zlib's refusal);
    // what was already written stays in out for the caller to discard.
    bool WritePNG(const SurfaceCore &host, ByteSink &out);

    // (width * bits + 7) / 8.
    static int32_t BytesPerRow(int32_t width, uint8_t bitsPerPixel);

    // Binary search over a list sorted as signed values: where value is, or where it goes.
    struct Slot {
        bool isNew;
        int32_t position;  // 1-based
    };
    static Slot FindPaletteSlot(const int32_t *sorted1Based, int32_t value, int32_t count);

private:
    bool PreparePalette(const SurfaceCore &host, bool hasAlpha);
    bool PrepareTrueColor(const SurfaceCore &host, bool hasAlpha);
    bool WriteHeader(const SurfaceCore &host, ByteSink &out);
    bool WritePLTE(ByteSink &out);
    bool WritetRNS(ByteSink &out);
    bool WriteImageData(const SurfaceCore &host, ByteSink &out);
    bool WriteIEND(ByteSink &out);
    bool WriteChunk(ByteSink &out, const char type[4], const uint8_t *data, uint32_t length);
    bool ZlibCompress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength);
    void Clear();

    ZlibLoader loadZlib_;
    std::unique_ptr<ZlibApi> zlib_;

    int32_t m_ColorType = 0;
    int32_t m_TransKey = -1;
    // Converted rows in memory order (bottom row first), rowLength_ bytes each, no padding.
    std::vector<uint8_t> m_Pixels;
    int32_t rowLength_ = 0;
    uint8_t bytesPerPixel_ = 1;
    std::vector<uint8_t> m_Palette;  // R, G, B per position
    std::vector<uint8_t> m_Alphas;   // alpha per position up to the first opaque one
};

// Writes host as PNG into outStream. No image or no zlib: false, outStream untouched; any
// later failure: false, outStream emptied.
bool SavePNG(const SurfaceCore &host, const cPNGwriter::ZlibLoader &loadZlib, std::vector<uint8_t> &outStream);

}  // namespace lumio
