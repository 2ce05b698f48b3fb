#include "png/win/cpng_writer.h"

#include <windows.h>

#include "imaging/byte_sink.h"
#include "imaging/cgdiplus.h"
#include "png/win/file_replacement.h"
#include "zlib/win/zlib_binding.h"

namespace lumio {

namespace {

cPNGwriter::ZlibLoader OrInstalled(const cPNGwriter::ZlibLoader &loadZlib) {
    return loadZlib ? loadZlib : cPNGwriter::ZlibLoader([] { return LoadZlib(); });
}

}  // namespace

bool SavePNG(const SurfaceCore &cHost, const std::wstring &FileName, std::vector<std::uint8_t> &outStream,
             const cPNGwriter::ZlibLoader &loadZlib) {
    if (FileName.empty())
        return SavePNG(cHost, OrInstalled(loadZlib), outStream);
    if (!cHost.HasImage())
        return false;
    cPNGwriter writer(OrInstalled(loadZlib));
    if (!writer.LoadZlib())
        return false;
    // The whole file is made before the target is touched.
    std::vector<std::uint8_t> bytes;
    MemoryByteSink sink(bytes);
    return writer.WritePNG(cHost, sink) && ReplaceFileWith(FileName, bytes);
}

bool SaveToStream_PNG(c32bppDIB &self, std::vector<std::uint8_t> &outStream, const cPNGwriter::ZlibLoader &loadZlib) {
    if (!self.HasImage())
        return false;
    // Both encoders empty the array they are given before they know they will succeed.
    std::vector<std::uint8_t> bytes;
    bool ok = false;
    if (self.isGDIplusEnabled()) {
        cGDIPlus gdiplus;
        ok = gdiplus.SaveToPNG(L"", bytes, self, self.gdiToken());
    }
    if (!ok)
        ok = SavePNG(self, std::wstring(), bytes, loadZlib);
    if (ok)
        outStream = std::move(bytes);
    return ok;
}

}  // namespace lumio
