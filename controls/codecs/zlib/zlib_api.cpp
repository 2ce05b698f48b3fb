#include "zlib/zlib_api.h"

namespace lumio {

bool CheckChunkCRC(ZlibApi &zlib, const uint8_t *typeAndData, uint32_t length, uint32_t storedCrc) {
    const uint32_t crc = zlib.Crc32(typeAndData, length);
    return crc != 0 && crc == storedCrc;
}

bool ZlibUncompress(ZlibApi &zlib, uint8_t *dest, uint32_t &destLength, const uint8_t *src, uint32_t srcLength) {
    return zlib.Uncompress(dest, destLength, src, srcLength) == 0;
}

}  // namespace lumio
