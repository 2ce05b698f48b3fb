// The PNG reader on any bytes, with and without zlib: no crash, no read out of bounds, and
// an image it builds is well formed; the reason it gives agrees with the result.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "imaging/surface_core.h"
#include "png/png_reader.h"
#include "zlib/native/system_zlib.h"

using namespace lumio;

namespace {

// Keeps single runs fast: headers of more than 2^22 pixels are skipped (the reader itself
// accepts up to 2^26).
bool DeclaresHugeImage(const uint8_t *data, size_t size) {
    for (size_t i = 4; i + 12 <= size; ++i) {
        if (std::memcmp(data + i, "IHDR", 4) != 0)
            continue;
        const uint8_t *d = data + i + 4;
        const uint64_t w = uint64_t(d[0]) << 24 | d[1] << 16 | d[2] << 8 | d[3];
        const uint64_t h = uint64_t(d[4]) << 24 | d[5] << 16 | d[6] << 8 | d[7];
        if (w * h > (uint64_t(1) << 22))
            return true;
    }
    return false;
}

void Check(const uint8_t *data, size_t size, bool withZlib) {
    PngReader reader(withZlib ? PngReader::ZlibLoader(SystemZlib) : PngReader::ZlibLoader());
    lumio::MemoryByteSource source({data, size});
    lumio::MemorySurface s;
    const bool recognised = reader.ParsePNG(source, s);
    // A reader that gives up says why; one that built an image reports nothing.
    if (s.HasImage() != (reader.Failure() == DecodeFailure::kNone))
        std::abort();
    if (recognised == (reader.Failure() == DecodeFailure::kNotThisFormat))
        std::abort();
    if (!s.HasImage())
        return;
    if (!recognised || s.ImageType() != 10 || s.Width() < 1 || s.Height() < 1)
        std::abort();
    const uint8_t *p = s.BitsPointer();
    for (size_t i = 0; i < s.ByteCount(); i += 4)
        if (p[i] > p[i + 3] || p[i + 1] > p[i + 3] || p[i + 2] > p[i + 3])
            std::abort();  // not premultiplied
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (DeclaresHugeImage(data, size))
        return 0;
    Check(data, size, false);
    Check(data, size, true);
    return 0;
}
