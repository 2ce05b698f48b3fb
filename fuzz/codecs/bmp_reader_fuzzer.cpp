// The BMP reader on any bytes (the stand-in picture loader refuses everything).
#include "bmp/bmp_reader.h"
#include "reader_checks.h"
#include "support/stand_in_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    StandInDecoder system;
    lumio::MemorySurface s;
    lumio::BmpReader reader(system);
    reader.LoadStream({data, size}, s);
    CheckReason(reader, s);
    CheckImage(s);
    return 0;
}
