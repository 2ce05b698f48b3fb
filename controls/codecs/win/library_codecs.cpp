#include "win/library_codecs.h"

#include "imaging/codec_registry.h"
#include "png/win/cpng_parser.h"
#include "zlib/win/zlib_probe.h"

namespace lumio {

namespace {
template <class Reader>
std::unique_ptr<ImageDecoder> Make() {
    return std::make_unique<Reader>();
}

// Lumiokit.dll takes this file whole, so the registration runs as the library loads.
[[maybe_unused]] const bool g_registered = (RegisterLibraryCodecs(), true);
} // namespace

void RegisterLibraryCodecs() noexcept {
    RegisterDecoder(ImageFormat::kPng, &Make<cPNGparser>);
    RegisterZlibProbe(&ZlibDllPresent);
}

} // namespace lumio
