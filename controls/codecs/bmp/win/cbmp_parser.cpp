#include "bmp/win/cbmp_parser.h"

#include <cstring>

#include "bmp/bmp_reader.h"
#include <olectl.h>

#include "imaging/image_type.h"
#include "imaging/mod_parsers.h"
#include "win_handles.h"
#include "win/stream_range.h"
#include "win/system_reader.h"
#include "win/whole_source.h"

namespace lumio {

double ScreenTwipsPerPixel(bool horizontal) {
    ScreenDC screen;
    const int dpi = GetDeviceCaps(screen.get(), horizontal ? LOGPIXELSX : LOGPIXELSY);
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

bool cBMPparser::Decode(const DecodeRequest &request, SurfaceCore &host) {
    const auto data = WholeSource(request.source);
    SetFailure(DecodeFailure::kNotThisFormat);
    if (!data) return false;
    const ReaderOutcome outcome = RunSystemReader<BmpReader>(*data, host, false);
    SetFailure(outcome.why);
    return outcome.recognised;
}

bool cBMPparser::LoadStream(const std::vector<std::uint8_t> &inStream, c32bppDIB &cHost, std::int32_t streamOffset,
                            std::int32_t streamLength) noexcept {
    const auto data = StreamRange(inStream, streamOffset, streamLength);
    return data && RunSystemReader<BmpReader>(*data, cHost, false).recognised;
}

namespace {

// Metafiles leave the pixels they do not paint at alpha 255 over a 255 fill.
void TakeAlphaFromMetafileFill(c32bppDIB &cHost) {
    bool transparent = false;
    std::uint8_t *p = cHost.BitsPointer();
    for (std::size_t i = 0; i < cHost.ByteCount(); i += 4) {
        if (p[i + 3] == 255) {
            std::memset(p + i, 0, 4);
            transparent = true;
        } else {
            p[i + 3] = 255;
        }
    }
    cHost.SetAlpha(transparent);
}

void ForceOpaque(c32bppDIB &cHost) {
    bool alpha = false;
    std::int32_t type = image_type::kNone;
    ClassifyAlpha(cHost.BitsPointer(), cHost.Width(), cHost.Height(), true, alpha, type);
    cHost.SetAlpha(false);
}

} // namespace

bool cBMPparser::ConvertstdPicTo32bpp(IPicture *stdPic, HBITMAP Handle, c32bppDIB &cHost,
                                      std::int16_t /*bitCount*/) noexcept {
    try {
        std::int32_t width = 0, height = 0;
        SHORT type = PICTYPE_NONE;
        OLE_XSIZE_HIMETRIC hmWidth = 0;
        OLE_YSIZE_HIMETRIC hmHeight = 0;
        BITMAP bm{};
        if (stdPic == nullptr) {
            // GetObject fills a BITMAP from the start of a font's LOGFONT too.
            if (Handle == nullptr || GetObjectType(Handle) != OBJ_BITMAP || GetObjectW(Handle, sizeof bm, &bm) != sizeof bm)
                return false;
            width = bm.bmWidth;
            height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
        } else {
            if (FAILED(stdPic->get_Type(&type)) || type == PICTYPE_NONE || type == PICTYPE_UNINITIALIZED) return false;
            stdPic->get_Width(&hmWidth);
            stdPic->get_Height(&hmHeight);
            width = HimetricToPixels(hmWidth, ScreenTwipsPerPixel(true));
            height = HimetricToPixels(hmHeight, ScreenTwipsPerPixel(false));
        }
        if (!cHost.InitializeDIB(width, height)) return false;

        if (stdPic == nullptr) {
            // GetDIBits gives bottom-up rows whatever the bitmap's own order.
            bool copied = false;
            if (bm.bmBitsPixel == 32) {
                std::int32_t w = 0, h = 0;
                const auto rows = BitmapRows32(Handle, w, h);
                if (!rows.empty()) {
                    CopyRowsInto(cHost, rows, w, h);
                    copied = true;
                }
            }
            if (copied) {
                cHost.SetImageType(image_type::kBlank);
                ClassifyAlpha(cHost, true);
            } else {
                HDC target = cHost.LoadDIBinDC(true);
                bool drawn = false;
                {
                    // A bitmap selected in another context cannot be selected here: the copy
                    // would come from the empty context's own bitmap.
                    gdi::OwnedDC source(CreateCompatibleDC(target));
                    gdi::Selection selected(source.get(), Handle);
                    drawn = selected && BitBlt(target, 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
                }
                cHost.LoadDIBinDC(false);
                if (!drawn) {
                    cHost.DestroyDIB();
                    return false;
                }
                ForceOpaque(cHost);
                cHost.SetImageType(image_type::kNoAlpha);
            }
            return true;
        }

        const bool metafile = type == PICTYPE_METAFILE || type == PICTYPE_ENHMETAFILE;
        if (metafile) std::memset(cHost.BitsPointer(), 255, cHost.ByteCount());
        HDC target = cHost.LoadDIBinDC(true);
        stdPic->Render(target, 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
        cHost.LoadDIBinDC(false);
        if (metafile) {
            TakeAlphaFromMetafileFill(cHost);
        } else {
            ForceOpaque(cHost);
        }
        cHost.SetImageType(type);
        return true;
    } catch (...) {
        cHost.DestroyDIB();
        return false;
    }
}

} // namespace lumio
