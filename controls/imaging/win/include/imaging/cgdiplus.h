#pragma once
// The library's door to GDI+: probing, decoding any format GDI+ reads into a
// surface, and encoding a surface as PNG.
//
// Token rule: an operation given a non-zero GDI+ token (one the host lent to
// the surface) uses it and never shuts it down; given 0, it starts GDI+ for
// itself and shuts it down again before it returns.
#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "com_ptr.h"
#include "imaging/c32bpp_dib.h"
#include "imaging/gdiplus_api.h"

namespace lumio {

// GDI+ running for one operation, by the token rule.
class GdiplusSession {
public:
    GdiplusSession(const GdiplusApi &api, ULONG_PTR lentToken) noexcept;
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession &) = delete;
    GdiplusSession &operator=(const GdiplusSession &) = delete;
    explicit operator bool() const noexcept { return token_ != 0; }
    ULONG_PTR token() const noexcept { return token_; }

private:
    const GdiplusApi &api_;
    ULONG_PTR token_ = 0;
    bool own_ = false;
};

class cGDIPlus {
public:
    // Whether GDI+ exists and starts. KeepToken False shuts it down at once;
    // True leaves it running with the token in gdiToken (the caller's to shut down).
    bool isGDIplusOk(ULONG_PTR &gdiToken, bool KeepToken);
    // Encodes the surface as PNG, to FileName or, when that is empty, into outStream.
    bool SaveToPNG(const std::wstring &FileName, std::vector<std::uint8_t> &outStream, const SurfaceCore &cHost,
                   ULONG_PTR GlobalToken);
    // Decodes a file (name not empty) or bytes into the surface: ImageType 10,
    // Alpha when GDI+ reports an alpha pixel format.
    bool LoadImageToDIB(const std::wstring &fileName, const std::vector<std::uint8_t> &bytes, c32bppDIB &surface,
                        ULONG_PTR token);
    // Start into token (False and token 0 on failure), or shut token down.
    bool StartupShutdown(ULONG_PTR &token, bool shutDown);

    // 1-based index of the encoder for the MIME type (compared ignoring case), or -1.
    std::int32_t EncoderClsidForMime(const std::wstring &mime, CLSID &clsid);

    const GdiplusApi &Api() const noexcept { return api_; }

private:

    GdiplusApi api_;
};

// Bytes written to a memory stream (only the stream's length, not the whole block).
bool StreamToArray(IStream *stream, std::vector<std::uint8_t> &bytes);
// A memory stream holding bytes[start..]; an empty growable stream for an
// empty array; null when start lies beyond the array or memory runs out.
ComPtr<IStream> ArrayToStream(const std::vector<std::uint8_t> &bytes, std::size_t start);

// Wide text at a NUL-terminated address (empty for null).
std::wstring PointerToString(const wchar_t *text);

} // namespace lumio
