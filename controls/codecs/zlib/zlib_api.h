#pragma once
// The zlib library as the PNG reader and writer see it: found at run time, or absent.
// On Windows a zlib DLL found by name stands behind it; natively, the system zlib.
#include <cstdint>
#include <memory>
#include <span>

namespace lumio {

// zlib's status codes as the reader tells them apart.
constexpr int kZlibOk = 0;
constexpr int kZlibStreamEnd = 1;
constexpr int kZlibBufError = -5;

// One zlib stream being inflated (inflateInit_, then inflate, then inflateEnd at destruction).
class ZlibInflater {
public:
    virtual ~ZlibInflater() = default;
    // One inflate call, with Z_FINISH or Z_NO_FLUSH: takes from `in` and writes to `out`,
    // leaving each as what is left of it; returns zlib's status.
    virtual int Inflate(std::span<const uint8_t> &in, std::span<uint8_t> &out, bool finish) = 0;
};

class ZlibApi {
public:
    virtual ~ZlibApi() = default;
    // zlib's crc32(0, data, length).
    virtual uint32_t Crc32(const uint8_t *data, uint32_t length) = 0;
    // zlib's uncompress; returns its status (0 = Z_OK) and updates destLength.
    virtual int Uncompress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) = 0;
    // zlib's compress2 and compress; their status (0 = Z_OK), destLength updated. A binding
    // without them answers Z_STREAM_ERROR (-2).
    virtual bool HasCompress2() { return false; }
    virtual int Compress2(uint8_t *, uint32_t &, const uint8_t *, uint32_t, int) { return -2; }
    virtual int Compress(uint8_t *, uint32_t &, const uint8_t *, uint32_t) { return -2; }
    // A stream begun with inflateInit_; null when the library lacks the exports or refuses.
    virtual std::unique_ptr<ZlibInflater> BeginInflate() { return nullptr; }
};

// True when the CRC over a chunk's type and data equals the stored one (read big-endian).
// A computed CRC of 0 never matches.
bool CheckChunkCRC(ZlibApi &zlib, const uint8_t *typeAndData, uint32_t length, uint32_t storedCrc);

// True exactly when zlib reports Z_OK.
bool ZlibUncompress(ZlibApi &zlib, uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength);

}  // namespace lumio
