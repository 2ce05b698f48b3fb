#pragma once
// Runs a portable reader with the system decoder behind it. A throw from the
// system side leaves no half-made surface behind and counts as refused.
#include <cstdint>
#include <span>

#include "imaging/image_decoder.h"
#include "imaging/surface_core.h"
#include "system/win/win_system_decoder.h"

namespace lumio {

struct ReaderOutcome {
    bool recognised;
    DecodeFailure why;
};

template <class Reader>
ReaderOutcome RunSystemReader(std::span<const std::uint8_t> data, SurfaceCore &host, bool recognisedOnThrow) noexcept {
    try {
        WinSystemDecoder system;
        Reader reader(system);
        const bool recognised = reader.LoadStream(data, host);
        return {recognised, reader.Failure()};
    } catch (...) {
        host.DestroyDIB();
        return {recognisedOnThrow, DecodeFailure::kSystemRefused};
    }
}

} // namespace lumio
