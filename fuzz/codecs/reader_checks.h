#pragma once
// What every reader's image must be: a real size and premultiplied pixels; and a reader
// that gives up says why.
#include <cstdlib>

#include "imaging/image_decoder.h"
#include "imaging/surface_core.h"

inline void CheckImage(const lumio::SurfaceCore &s) {
    if (!s.HasImage())
        return;
    if (s.Width() < 1 || s.Height() < 1)
        std::abort();
    const uint8_t *p = s.BitsPointer();
    for (size_t i = 0; i < s.ByteCount(); i += 4)
        if (p[i] > p[i + 3] || p[i + 1] > p[i + 3] || p[i + 2] > p[i + 3])
            std::abort();
}

// An image and no reason, or no image and a reason.
template <class Reader>
void CheckReason(const Reader &reader, const lumio::SurfaceCore &s) {
    if (s.HasImage() != (reader.Failure() == lumio::DecodeFailure::kNone))
        std::abort();
}
