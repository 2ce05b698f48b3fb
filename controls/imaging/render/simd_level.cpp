#include "simd_level.h"

#include <atomic>

namespace lumio::render::simd {
namespace {

Level Detect() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(LUMIO_RENDER_AVX2)
    __builtin_cpu_init();
#if defined(LUMIO_RENDER_AVX512)
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq") &&
        __builtin_cpu_supports("avx512vbmi"))
        return Level::Avx512;
#endif
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

#if !defined(LUMIO_RENDER_AVX512)
void WeighRowPairAvx512(const uint8_t *, const uint8_t *, double, double, double *, int32_t) {}
void BilinearRowPairAvx512(const double *, const double *, const BilinearColumn *, int32_t, uint8_t *, uint8_t *) {}
#endif
#if !defined(LUMIO_RENDER_AVX2)
void BilinearRowAvx2(const double *, const double *, const BilinearColumn *, int32_t, uint8_t *) {}
void WeighRowAvx2(const uint8_t *, double, double *, int32_t) {}
void BlendRectAvx2(const uint8_t *, ptrdiff_t, uint8_t *, ptrdiff_t, int32_t, int32_t, int32_t, int32_t, bool,
                   const float *, bool) {}
#endif

}  // namespace lumio::render::simd
