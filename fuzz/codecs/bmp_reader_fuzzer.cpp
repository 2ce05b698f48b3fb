// The BMP reader on any bytes (the stand-in picture loader refuses everything).
#include "bmp/bmp_reader.h"
#include "reader_checks.h"
#include "support/stand_in_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    StandInDecoder system;
    lumio::MemorySurface s;
    lumio::BmpReader(system).LoadStream({data, size}, s);
    CheckImage(s);
    return 0;
}
