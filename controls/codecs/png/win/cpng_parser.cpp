#include "png/win/cpng_parser.h"

#include "imaging/cgdiplus.h"
#include "imaging/file_byte_source.h"

namespace lumio {

bool cPNGparser::Parse(ByteSource &source, SurfaceCore &host, const PngReader::FirstDecoder &tryFirst) {
    const bool recognised = reader_.ParsePNG(source, host, tryFirst);
    SetFailure(reader_.Failure());
    return recognised;
}

bool cPNGparser::Decode(const DecodeRequest &request, SurfaceCore &host) {
    auto *dib = dynamic_cast<c32bppDIB *>(&host);
    if (!dib)
        return Parse(request.source, host, {});
    const ULONG_PTR token = ULONG_PTR(request.gdiToken);
    if (request.source.IsFile()) {
        if (request.fileName.empty()) {
            SetFailure(DecodeFailure::kNotThisFormat);
            return false;
        }
        const std::wstring name(request.fileName);
        return Parse(request.source, host, [&] { return cGDIPlus().LoadImageToDIB(name, {}, *dib, token); });
    }
    return Parse(request.source, host, [&] {
        const uint64_t size = request.source.Size();
        const uint8_t *bytes = request.source.Fetch(0, size_t(size));
        return bytes && cGDIPlus().LoadImageToDIB(std::wstring(), std::vector<uint8_t>(bytes, bytes + size), *dib, token);
    });
}

bool cPNGparser::LoadStream(const std::vector<uint8_t> &inStream, c32bppDIB &cHost, int32_t streamOffset,
                            int32_t streamLength, ULONG_PTR gdiToken) {
    const auto view = ByteWindow(inStream, streamOffset, streamLength);
    if (!view) {
        SetFailure(DecodeFailure::kNotThisFormat);
        return false;
    }
    MemoryByteSource source(*view);
    return Parse(source, cHost, [&] {
        cGDIPlus gdi;
        if (view->size() == inStream.size())
            return gdi.LoadImageToDIB(std::wstring(), inStream, cHost, gdiToken);
        return gdi.LoadImageToDIB(std::wstring(), std::vector<uint8_t>(view->begin(), view->end()), cHost, gdiToken);
    });
}

bool cPNGparser::LoadFile(HANDLE FileHandle, const std::wstring &FileName, c32bppDIB &cHost, ULONG_PTR gdiToken) {
    if (FileName.empty() || FileHandle == INVALID_HANDLE_VALUE || !FileHandle) {
        SetFailure(DecodeFailure::kNotThisFormat);
        return false;
    }
    FileByteSource source(FileHandle);
    return Parse(source, cHost, [&] { return cGDIPlus().LoadImageToDIB(FileName, {}, cHost, gdiToken); });
}

}  // namespace lumio
