// The GIF reader on any bytes, decoding with the stand-in LZW decoder.
#include "gif/gif_reader.h"
#include "reader_checks.h"
#include "support/stand_in_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    StandInDecoder system;
    system.maxPixels = 1 << 20;
    lumio::MemorySurface s;
    lumio::GifReader reader(system);
    const bool recognised = reader.LoadStream({data, size}, s);
    CheckReason(reader, s);
    if (s.HasImage() && (!recognised || s.ImageType() != 9))
        std::abort();
    CheckImage(s);
    return 0;
}
