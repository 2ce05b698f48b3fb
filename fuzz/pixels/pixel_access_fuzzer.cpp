// GetDIBbits and SetDIBbits with any rectangle, layout and input length:
// no access outside the surface or the input, a refused call changes
// nothing, and a surface of valid premultiplied pixels stays valid.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/pixel_access.h"

namespace {

struct Reader {
    const std::uint8_t *p;
    std::size_t n;
    std::uint8_t Byte() {
        if (n == 0) return 0;
        --n;
        return *p++;
    }
    // Mostly small values around the surface's size, sometimes extreme ones.
    std::int32_t Coordinate() {
        const std::uint8_t kind = Byte();
        switch (kind % 8) {
        case 0: return INT32_MAX - Byte();
        case 1: return INT32_MIN + Byte();
        case 2: return -static_cast<std::int32_t>(Byte() % 4);
        default: return Byte() % 24;
        }
    }
};

bool ValidPremultiplied(const lumio::SurfaceCore &s) {
    const std::uint8_t *p = s.BitsPointer();
    for (std::size_t i = 0; i < s.ByteCount(); i += 4)
        if (p[i] > p[i + 3] || p[i + 1] > p[i + 3] || p[i + 2] > p[i + 3]) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Reader in{data, size};
    const std::int32_t width = 1 + in.Byte() % 16, height = 1 + in.Byte() % 16;
    lumio::MemorySurface s;
    if (!s.InitializeDIB(width, height)) std::abort();
    // Valid premultiplied pixels to start from.
    for (std::size_t i = 0; i < s.ByteCount(); i += 4) {
        std::uint8_t *px = s.BitsPointer() + i;
        px[3] = in.Byte();
        for (int k = 0; k < 3; ++k) px[k] = px[3] == 0 ? 0 : in.Byte() % (px[3] + 1);
    }
    const std::uint8_t flags = in.Byte();
    const std::int32_t x = in.Coordinate(), y = in.Coordinate(), w = in.Coordinate(), h = in.Coordinate();

    lumio::ByteArray out{{7}, 1, 0, 0};
    const bool got = lumio::GetDIBbits(s, out, flags & 1, flags & 2, flags & 4, flags & 8, flags & 16, x, y, w, h,
                                       flags & 32);
    if (!got && (out.bytes != std::vector<std::uint8_t>{7} || out.dimensions != 1)) std::abort();
    if (got && (out.bytes.empty() || ((flags & 1) && out.rowBytes * std::size_t(out.rows) != out.bytes.size())))
        std::abort();

    // The rest of the input is the pixel data, exactly as long as given.
    const std::vector<std::uint8_t> input(in.p, in.p + in.n);
    const std::vector<std::uint8_t> before(s.BitsPointer(), s.BitsPointer() + s.ByteCount());
    const std::int32_t type = s.ImageType();
    const bool set = lumio::SetDIBbits(s, input, flags & 2, flags & 4, flags & 8, flags & 16, x, y, w, h);
    if (!set && std::memcmp(before.data(), s.BitsPointer(), before.size()) != 0) std::abort();
    if (set && !ValidPremultiplied(s)) std::abort();
    if (s.ImageType() != type) std::abort();
    return 0;
}
