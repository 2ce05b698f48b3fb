#pragma once
// cPNGparser: reads a PNG from a caller's bytes or from an open file into a surface,
// offering it to GDI+ first, then decoding it ourselves with zlib when installed.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/c32bpp_dib.h"
#include "imaging/image_decoder.h"
#include "png/png_reader.h"
#include "zlib/win/zlib_binding.h"

namespace lumio {

class cPNGparser final : public ImageDecoder {
public:
    explicit cPNGparser(PngReader::ZlibLoader loadZlib = LoadZlib) : reader_(std::move(loadZlib)) {}

    // The loader's entry: bytes or an open file (request.fileName names it). GDI+ is offered
    // the image first when the host is a DIB section.
    bool Decode(const DecodeRequest &request, SurfaceCore &host) override;

    // The PNG in inStream[streamOffset, streamOffset + streamLength), read in place.
    // True when those bytes begin with the PNG signature; whether an image was built is
    // told by the surface's Handle.
    bool LoadStream(const std::vector<uint8_t> &inStream, c32bppDIB &cHost, int32_t streamOffset,
                    int32_t streamLength, ULONG_PTR gdiToken);
    // The PNG in an open file (the caller opened it for reading and closes it). FileName must
    // not be empty; it is used only to offer the file to GDI+.
    bool LoadFile(HANDLE FileHandle, const std::wstring &FileName, c32bppDIB &cHost, ULONG_PTR gdiToken);

private:
    bool Parse(ByteSource &source, SurfaceCore &host, const PngReader::FirstDecoder &tryFirst);

    PngReader reader_;
};

}  // namespace lumio
