// The ICO/CUR reader on any bytes: validation alone, then decoding at two wanted sizes.
#include "ico/ico_reader.h"
#include "reader_checks.h"
#include "support/stand_in_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    lumio::IcoReader validator(nullptr);
    const bool valid = validator.LoadStream({data, size}, 0, 0, nullptr, 32);
    for (int32_t i = 1; i <= validator.IconCount(); ++i)
        (void)(validator.ColorCount(i) + validator.ColorByteOffset(i) + validator.MaskOffset(i));
    StandInDecoder system;
    for (const int32_t want : {32, 16}) {
        lumio::MemorySurface s;
        lumio::IcoReader reader(&system);
        const bool recognised = reader.LoadStream({data, size}, want, want, &s, want);
        CheckReason(reader, s);
        if (recognised != valid || (s.HasImage() && !recognised))
            std::abort();
        CheckImage(s);
    }
    return 0;
}
