#include "gif/win/cgif_parser.h"

#include "gif/gif_reader.h"
#include "win/stream_range.h"
#include "win/whole_source.h"
#include "system/win/win_system_decoder.h"

namespace lumio {

bool cGIFparser::Decode(const DecodeRequest &request, SurfaceCore &host) {
    const auto data = WholeSource(request.source);
    SetFailure(DecodeFailure::kNotThisFormat);
    if (!data) return false;
    try {
        WinSystemDecoder system;
        GifReader reader(system);
        const bool recognised = reader.LoadStream(*data, host);
        SetFailure(reader.Failure());
        return recognised;
    } catch (...) {
        SetFailure(DecodeFailure::kSystemRefused);
        host.DestroyDIB();
        return true;
    }
}

bool cGIFparser::LoadStream(const std::vector<std::uint8_t> &inStream, c32bppDIB &cHost, std::int32_t streamOffset,
                            std::int32_t streamLength) noexcept {
    const auto data = StreamRange(inStream, streamOffset, streamLength);
    if (!data) return false;
    try {
        WinSystemDecoder system;
        return GifReader(system).LoadStream(*data, cHost);
    } catch (...) {
        // Recognised but not decoded: the chain goes on to GDI+.
        cHost.DestroyDIB();
        return true;
    }
}

} // namespace lumio
