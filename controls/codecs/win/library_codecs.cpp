#include "win/library_codecs.h"

#include "imaging/codec_registry.h"
#include "bmp/win/cbmp_parser.h"
#include "gif/win/cgif_parser.h"
#include "ico/win/cico_parser.h"
#include "imaging/picture_chain.h"
#include "imaging/picture_loading.h"
#include "png/win/cpng_parser.h"
#include "zlib/win/zlib_probe.h"

namespace lumio {

namespace {
template <class Reader>
std::unique_ptr<ImageDecoder> Make() {
    return std::make_unique<Reader>();
}

bool ConvertBitmap(IPicture *picture, HBITMAP handle, c32bppDIB &surface, std::int16_t bitCount) {
    return cBMPparser().ConvertstdPicTo32bpp(picture, handle, surface, bitCount);
}
bool ConvertIcon(HANDLE handle, c32bppDIB &surface) { return cICOparser().ConvertstdPicTo32bpp(handle, surface); }

bool IconSizes(std::span<const std::uint8_t> bytes, std::vector<IconSize> &sizes) {
    IcoReader reader(nullptr);
    if (!reader.LoadStream(bytes, 32, 32, nullptr, 32)) return false;
    for (std::int32_t i = 1; i <= reader.IconCount(); ++i)
        sizes.push_back({reader.Width(i), reader.Height(i), reader.bitDepth(i)});
    return true;
}

// Lumiokit.dll takes this file whole, so the registration runs as the library loads.
[[maybe_unused]] const bool g_registered = (RegisterLibraryCodecs(), true);
} // namespace

void RegisterLibraryCodecs() noexcept {
    RegisterDecoder(ImageFormat::kPng, &Make<cPNGparser>);
    RegisterZlibProbe(&ZlibDllPresent);
    RegisterDecoder(ImageFormat::kGif, &Make<cGIFparser>);
    RegisterDecoder(ImageFormat::kIcon, &Make<cICOparser>);
    RegisterDecoder(ImageFormat::kBmp, &Make<cBMPparser>);
    RegisterIconDirectoryReader(&IconSizes);
    RegisterPictureConverters({&ConvertBitmap, &ConvertIcon});
}

} // namespace lumio
