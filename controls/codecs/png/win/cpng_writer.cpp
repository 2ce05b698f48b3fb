#include "png/win/cpng_writer.h"

#include <windows.h>

#include "imaging/cgdiplus.h"
#include "imaging/file_byte_source.h"
#include "win_handles.h"
#include "zlib/win/zlib_binding.h"

namespace lumio {

namespace {

cPNGwriter::ZlibLoader OrInstalled(const cPNGwriter::ZlibLoader &loadZlib) {
    return loadZlib ? loadZlib : cPNGwriter::ZlibLoader([] { return LoadZlib(); });
}

// The target must be replaceable: not a directory, not read-only, not held open.
bool TargetWritable(const std::wstring &target, DWORD &attributes) {
    attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
        return false;
    return static_cast<bool>(
        OwnedFile(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
}

std::wstring FolderOf(const std::wstring &path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
}

bool SaveToFile(const SurfaceCore &cHost, const std::wstring &target, cPNGwriter &writer) {
    DWORD attributes = 0;
    if (!TargetWritable(target, attributes))
        return false;
    wchar_t temp[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(FolderOf(target).c_str(), L"png", 0, temp))
        return false;
    OwnedFile file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DeleteFileW(temp);
        return false;
    }
    FileByteSink sink(file.get());
    bool ok = writer.WritePNG(cHost, sink);
    ok = file.close() && ok;
    ok = ok && MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(temp);
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(target.c_str(), attributes);
    return true;
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
    return SaveToFile(cHost, FileName, writer);
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
