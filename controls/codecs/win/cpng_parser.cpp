#include "cpng_parser.h"

#include "imaging/cgdiplus.h"
#include "imaging/mod_parsers_win.h"
#include "zlib_binding.h"

namespace {

// Reads the file chunk by chunk into one buffer, reused for every chunk.
class FilePngSource final : public PngSource {
public:
    explicit FilePngSource(HANDLE file) : file_(file) {
        LARGE_INTEGER size{};
        if (GetFileSizeEx(file, &size) && size.QuadPart > 0)
            size_ = uint64_t(size.QuadPart);
    }
    uint64_t Size() const override { return size_; }
    const uint8_t *Fetch(uint64_t offset, size_t n) override {
        if (offset > size_ || n > size_ - offset || n > 0x7FFFFFFF)
            return nullptr;
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(offset);
        if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN))
            return nullptr;
        if (buffer_.size() < n)
            buffer_.resize(n);
        DWORD read = 0;
        if (!ReadFile(file_, buffer_.data(), DWORD(n), &read, nullptr) || read != n)
            return nullptr;
        return buffer_.data();
    }
    bool IsFile() const override { return true; }

private:
    HANDLE file_;
    uint64_t size_ = 0;
    std::vector<uint8_t> buffer_;
};

}  // namespace

std::unique_ptr<ZlibApi> LoadZlib() {
    std::string name;
    int32_t index = 0;
    bool isCdecl = false, hasCompress2 = false;
    if (!lumio::FindZlibDll(name, index, isCdecl, hasCompress2, false))
        return nullptr;
    return BindZlib(name, index, isCdecl);
}

bool cPNGparser::LoadStream(const std::vector<uint8_t> &inStream, lumio::c32bppDIB &cHost, int32_t streamOffset,
                            int32_t streamLength, ULONG_PTR gdiToken) {
    if (streamOffset < 0 || streamLength < 0 || size_t(streamOffset) > inStream.size() ||
        size_t(streamLength) > inStream.size() - size_t(streamOffset))
        return false;
    const std::span<const uint8_t> view(inStream.data() + streamOffset, size_t(streamLength));
    MemoryPngSource source(view);
    return reader_.ParsePNG(source, cHost, [&] {
        lumio::cGDIPlus gdi;
        if (streamOffset == 0 && size_t(streamLength) == inStream.size())
            return gdi.LoadImageToDIB(std::wstring(), inStream, cHost, gdiToken);
        return gdi.LoadImageToDIB(std::wstring(), std::vector<uint8_t>(view.begin(), view.end()), cHost, gdiToken);
    });
}

bool cPNGparser::LoadFile(HANDLE FileHandle, const std::wstring &FileName, lumio::c32bppDIB &cHost,
                          ULONG_PTR gdiToken) {
    if (FileName.empty() || FileHandle == INVALID_HANDLE_VALUE || !FileHandle)
        return false;
    FilePngSource source(FileHandle);
    return reader_.ParsePNG(source, cHost, [&] {
        lumio::cGDIPlus gdi;
        return gdi.LoadImageToDIB(FileName, {}, cHost, gdiToken);
    });
}
