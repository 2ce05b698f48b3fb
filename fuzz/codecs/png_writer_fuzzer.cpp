// The PNG writer over surfaces made from the input: whatever it writes, our reader decodes
// to the source un-premultiplied then premultiplied again (alpha-0 pixels all zero).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "png/png_reader.h"
#include "png/png_writer.h"
#include "zlib/native/system_zlib.h"

using namespace lumio;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3)
        return 0;
    const int32_t width = 1 + data[0] % 64, height = 1 + data[1] % 64;
    const bool alpha = data[2] & 1;
    // Few distinct inputs give palettes; the low bits of byte 2 choose how few.
    const unsigned mask = (data[2] & 2) ? 0x03 : 0xFF;
    data += 3;
    size -= 3;
    MemorySurface src;
    if (!src.InitializeDIB(width, height))
        return 0;
    src.SetAlpha(alpha);
    uint8_t *bits = src.BitsPointer();
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
        uint8_t *p = bits + i * 4;
        for (int c = 0; c < 4; ++c)
            p[c] = size ? uint8_t((data[(i * 4 + c) % size] & mask) * (mask == 3 ? 85 : 1)) : 0;
        if (!alpha)
            p[3] = 255;
        for (int c = 0; c < 3; ++c)  // premultiplied: colour never above alpha
            p[c] = uint8_t(p[c] * p[3] / 255);
    }
    const std::vector<uint8_t> before(bits, bits + src.ByteCount());

    std::vector<uint8_t> png;
    if (!SavePNG(src, SystemZlib, png))
        abort();
    if (std::memcmp(before.data(), bits, before.size()) != 0)
        abort();

    PngReader reader(SystemZlib);
    MemorySurface back;
    MemoryByteSource source(png);
    if (!reader.ParsePNG(source, back) || !back.HasImage() || back.Width() != width || back.Height() != height)
        abort();
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
        const uint8_t *s = bits + i * 4, *d = back.BitsPointer() + i * 4;
        const uint8_t a = s[3];
        uint8_t want[4] = {0, 0, 0, 0};
        if (a != 0) {
            for (int c = 0; c < 3; ++c)
                want[c] = uint8_t((a == 255 ? s[c] : s[c] * 255 / a) * a / 255);
            want[3] = a;
        }
        if (std::memcmp(want, d, 4) != 0)
            abort();
    }
    return 0;
}
