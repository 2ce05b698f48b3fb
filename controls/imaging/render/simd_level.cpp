#include "simd_level.h"

#include <algorithm>
#include <atomic>

namespace lumio::render::simd {
namespace {

Level Detect() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(LUMIO_RENDER_AVX2)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return Level::Avx2;
#endif
#if defined(__SSE2__)
    return Level::Sse2;
#else
    return Level::Scalar;
#endif
}

const Level kBest = Detect();
std::atomic<Level> active{kBest};

}  // namespace

Level Active() { return active.load(std::memory_order_relaxed); }

bool Supported(Level level) { return static_cast<int>(level) <= static_cast<int>(kBest); }

void Force(Level level) { active.store(Supported(level) ? level : kBest, std::memory_order_relaxed); }

size_t PlaceInStrips(BilinearColumn *cols, int32_t width) {
    size_t most = 0;
    for (int32_t x0 = 0; x0 < width; x0 += kBilinearStrip) {
        const int32_t x1 = width - x0 < kBilinearStrip ? width : x0 + kBilinearStrip;
        for (int32_t x = x0; x < x1; ++x) cols[x].at = (cols[x].i0 - cols[x0].i0) * 8;
        most = std::max(most, static_cast<size_t>(cols[x1 - 1].at) + 16);
    }
    return most;
}

#if !defined(LUMIO_RENDER_AVX2)
void BilinearRowAvx2(const uint8_t *, const uint8_t *, double, double, const BilinearColumn *, int32_t, int32_t,
                     uint8_t *, double *) {}
void BlendRectAvx2(const uint8_t *, ptrdiff_t, uint8_t *, ptrdiff_t, int32_t, int32_t, int32_t, int32_t, bool,
                   const float *, bool) {}
#endif

}  // namespace lumio::render::simd
