#include "zlib/native/system_zlib.h"

#include <zlib.h>

namespace lumio {

namespace {

class SystemZlibApi final : public ZlibApi {
public:
    uint32_t Crc32(const uint8_t *data, uint32_t length) override { return uint32_t(crc32(0, data, length)); }
    int Uncompress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        uLongf len = destLength;
        const int status = uncompress(dest, &len, src, srcLength);
        destLength = uint32_t(len);
        return status;
    }
    bool HasCompress2() override { return true; }
    int Compress2(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength, int level) override {
        uLongf len = destLength;
        const int status = compress2(dest, &len, src, srcLength, level);
        destLength = uint32_t(len);
        return status;
    }
    int Compress(uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) override {
        uLongf len = destLength;
        const int status = compress(dest, &len, src, srcLength);
        destLength = uint32_t(len);
        return status;
    }
};

}  // namespace

std::unique_ptr<ZlibApi> SystemZlib() { return std::make_unique<SystemZlibApi>(); }

}  // namespace lumio
