#pragma once
// The loading chain's readers natively: our PNG reader (no zlib) and the GIF, ICO and BMP
// readers over the stand-in decoder, registered as the library registers its own.
#include "stand_in_decoder.h"

// Registers the four readers; they share one stand-in decoder, returned for inspection.
StandInDecoder &RegisterStandInCodecs();
