// The loading chain on any bytes, with every reader registered (the stand-in decoder in
// place of the system's): first as a stream range, then again from the kept bytes.
#include <cstdint>
#include <cstdlib>

#include "imaging/picture_chain.h"
#include "reader_checks.h"
#include "stand_in_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static StandInDecoder &system = RegisterStandInCodecs();
    system.maxPixels = 1 << 20;
    if (size < 2)
        return 0;
    // The first byte picks the range's start, the second the wanted icon size.
    const std::span<const uint8_t> all(data + 2, size - 2);
    const auto range = lumio::StreamLoadRange(all, data[0] % 16, 0);
    if (!range)
        return 0;
    lumio::ChainHooks hooks;
    lumio::MemorySurface s;
    lumio::LoadRequest request;
    request.bytes = *range;
    request.iconCx = request.iconCy = data[1];
    request.saveFormat = true;
    const bool loaded = lumio::LoadPictureData(s, request, hooks);
    if (loaded != s.HasImage())
        std::abort();
    CheckImage(s);
    if (loaded && (s.OriginalFormat().size() != range->size()))
        std::abort();
    std::vector<std::array<int32_t, 4>> sizes;
    (void)lumio::SourceIconSizes(s, sizes);
    return 0;
}
