#include "gif/win/cgif_parser.h"

#include "gif/gif_reader.h"
#include "win/stream_range.h"
#include "win/system_reader.h"
#include "win/whole_source.h"

namespace lumio {

// A GIF the system refuses is still recognised: the chain goes on to GDI+.
constexpr bool kRecognisedWhenRefused = true;

bool cGIFparser::Decode(const DecodeRequest &request, SurfaceCore &host) {
    const auto data = WholeSource(request.source);
    SetFailure(DecodeFailure::kNotThisFormat);
    if (!data) return false;
    const ReaderOutcome outcome = RunSystemReader<GifReader>(*data, host, kRecognisedWhenRefused);
    SetFailure(outcome.why);
    return outcome.recognised;
}

bool cGIFparser::LoadStream(const std::vector<std::uint8_t> &inStream, c32bppDIB &cHost, std::int32_t streamOffset,
                            std::int32_t streamLength) noexcept {
    const auto data = StreamRange(inStream, streamOffset, streamLength);
    return data && RunSystemReader<GifReader>(*data, cHost, kRecognisedWhenRefused).recognised;
}

} // namespace lumio
